#include <gtest/gtest.h>

#include "support/TestEnv.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  pel::test::InitTestEnvironment();
  return RUN_ALL_TESTS();
}
