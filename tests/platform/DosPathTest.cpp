#include "platform/DosPath.h"

#include "platform/ScopedConfigFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace platform;
using testing_support::TempDir;

namespace {

// A CD-ROM drive e: labelled KSTRV02 over a temporary folder with mixed-case names, and c: over
// another one.
class DosPathTest : public testing::Test {
protected:
    DosPathTest()
        : table_({{'c', home_.Path().string(), DriveType::Fixed, ""},
                  {'e', cd_.Path().string(), DriveType::CdRom, "KSTRV02"}}) {
        cd_.Write("Komp/Demo.zip", "zip");
        cd_.Write("Komp/Sub/readme.TXT", "text");
        cd_.Write("\xC3\x9C"
                  "bersicht/a.txt",
                  "umlaut folder"); // "Übersicht" in UTF-8
        ChangeDirectory(table_, "c:\\");
    }
    std::string Cd(const std::string& relative) const { return (cd_.Path() / relative).string(); }

    TempDir home_;
    TempDir cd_;
    DriveTable table_;
};

} // namespace

TEST_F(DosPathTest, EachPartIsMatchedWithoutRegardToCase) {
    EXPECT_EQ(DosToNative(table_, "e:\\KOMP\\DEMO.ZIP"), Cd("Komp/Demo.zip"));
    EXPECT_EQ(DosToNative(table_, "E:/komp/sub/README.txt"), Cd("Komp/Sub/readme.TXT"));
    EXPECT_EQ(DosToNative(table_, "e:\\"), cd_.Path().string());
    EXPECT_EQ(DosToNative(table_, "e:\\\xDC"
                                  "BERSICHT\\A.TXT"),
              Cd("\xC3\x9C"
                 "bersicht/a.txt"));
}

TEST_F(DosPathTest, NamesWithoutAMatchAreKeptAsGiven) {
    EXPECT_EQ(DosToNative(table_, "e:\\KOMP\\NEW.ZIP"), Cd("Komp/NEW.ZIP"));
    EXPECT_EQ(DosToNative(table_, "e:\\New\\Komp\\x"), Cd("New/Komp/x"))
        << "below a missing folder nothing is matched";
    EXPECT_EQ(DosToNative(table_, "e:\\KOMP\\*.ZIP"), Cd("Komp/*.ZIP"));
}

TEST_F(DosPathTest, DotPartsAreResolvedWithinTheDrive) {
    EXPECT_EQ(DosToNative(table_, "e:\\komp\\sub\\..\\.\\demo.zip"), Cd("Komp/Demo.zip"));
    EXPECT_EQ(DosToNative(table_, "e:\\..\\..\\komp"), Cd("Komp")) << "never above the root";
}

TEST_F(DosPathTest, RelativePathsUseTheCurrentFolderOfTheirDrive) {
    ASSERT_TRUE(ChangeDirectory(table_, "e:\\komp\\SUB"));
    EXPECT_EQ(CurrentDrive(), 'e');
    EXPECT_EQ(CurrentDirectory(), "e:\\Komp\\Sub");
    EXPECT_EQ(CurrentDirectory('c'), "c:\\");
    EXPECT_EQ(DosToNative(table_, "readme.txt"), Cd("Komp/Sub/readme.TXT"));
    EXPECT_EQ(DosToNative(table_, "..\\demo.zip"), Cd("Komp/Demo.zip"));
    EXPECT_EQ(DosToNative(table_, "\\komp"), Cd("Komp"));
    EXPECT_EQ(ExpandDosPath("..\\Demo.zip"), "e:\\Komp\\Demo.zip");

    ASSERT_TRUE(ChangeDirectory(table_, "c:"));
    EXPECT_EQ(CurrentDrive(), 'c');
    EXPECT_EQ(DosToNative(table_, "e:readme.txt"), Cd("Komp/Sub/readme.TXT"))
        << "e: keeps its own current folder";
}

TEST_F(DosPathTest, ChangingToAMissingFolderChangesNothing) {
    ASSERT_TRUE(ChangeDirectory(table_, "e:\\Komp"));
    EXPECT_FALSE(ChangeDirectory(table_, "e:\\Nowhere"));
    EXPECT_FALSE(ChangeDirectory(table_, "e:\\Komp\\Demo.zip"));
    EXPECT_FALSE(ChangeDirectory(table_, "q:\\"));
    EXPECT_EQ(CurrentDirectory(), "e:\\Komp");
}

TEST_F(DosPathTest, UnknownDriveHasNoNativePath) {
    EXPECT_EQ(DosToNative(table_, "q:\\x"), std::nullopt);
}

TEST_F(DosPathTest, NativePathsAreShownAsDosPaths) {
    EXPECT_EQ(NativeToDos(table_, Cd("Komp/Demo.zip")), "e:\\Komp\\Demo.zip");
    EXPECT_EQ(NativeToDos(table_, cd_.Path().string() + "/"), "e:\\");
    EXPECT_EQ(NativeToDos(table_, Cd("Komp/Sub/../Demo.zip")), "e:\\Komp\\Demo.zip");
    EXPECT_EQ(NativeToDos(table_, Cd("\xC3\x9C"
                                     "bersicht")),
              "e:\\\xDC"
              "bersicht");
    EXPECT_EQ(NativeToDos(table_, "/proc/version"), std::nullopt);
}

TEST_F(DosPathTest, DrivesFileInTheConfigFolderIsUsedByDefault) {
    const testing_support::ScopedConfigFolder config;
    config.Write("drives", "e: = " + cd_.Path().string() + " cdrom KSTRV02\n");
    EXPECT_EQ(DosToNative("e:\\komp\\demo.zip"), Cd("Komp/Demo.zip"));
    EXPECT_EQ(NativeToDos(Cd("Komp")), "e:\\Komp");
    EXPECT_TRUE(ChangeDirectory("E:\\KOMP"));
    EXPECT_EQ(CurrentDirectory(), "e:\\Komp");
}
