// Test entry for core tests: a fresh configuration folder, never the user's own.
#include "support/TempDir.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing_support::UseTemporaryConfigDir();
    return RUN_ALL_TESTS();
}
