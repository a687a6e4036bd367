// The pane's dialogs as real windows, run under Wine (see windialogs.sh).
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include "support/TestEnv.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  pel::test::InitTestEnvironment();
  if (FAILED(OleInitialize(nullptr))) return 1;
  const int result = RUN_ALL_TESTS();
  OleUninitialize();
  return result;
}
