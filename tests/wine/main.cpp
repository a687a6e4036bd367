// The Windows tests of the control module, the stand-ins and the COM frame, run under Wine.

#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (FAILED(OleInitialize(nullptr))) return 1;
  const int result = RUN_ALL_TESTS();
  OleUninitialize();
  return result;
}
