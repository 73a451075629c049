// Test entry for the installer's windows: the program's own application object (so that errors
// nothing caught reach the install dialog's handler, as in the program), offscreen, and a fresh
// configuration folder. It takes the place of the widget tests' usual entry.
#include "support/TempDir.h"
#include "util/widgets/VitrineApplication.h"

#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing_support::UseTemporaryConfigDir();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    util::VitrineApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
