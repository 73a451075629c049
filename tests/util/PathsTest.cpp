#include "util/Paths.h"

#include <gtest/gtest.h>

using namespace util;

TEST(Paths, AddBackslashLeavesBareDrivesAndFinishedPathsAlone) {
    EXPECT_EQ(AddBackslash("c:"), "c:");
    EXPECT_EQ(AddBackslash("c:\\tools"), "c:\\tools\\");
    EXPECT_EQ(AddBackslash("c:\\"), "c:\\");
    EXPECT_EQ(AddBackslash(""), "\\");
    EXPECT_EQ(AddBackslash("tools"), "tools\\");
    EXPECT_EQ(AddBackslash("c"), "c\\");
}

TEST(Paths, FileBaseNameDropsTheFirstDotAndUpToThreeCharacters) {
    EXPECT_EQ(FileBaseName("readme.txt"), "readme");
    EXPECT_EQ(FileBaseName("a.b.c"), "a");
    EXPECT_EQ(FileBaseName("e:\\KOMP\\DEMO.ZIP"), "DEMO");
    EXPECT_EQ(FileBaseName("e:DEMO.ZIP"), "DEMO");
    EXPECT_EQ(FileBaseName("/media/cdrom/Demo.zip"), "Demo");
    EXPECT_EQ(FileBaseName("archive.tar.gz"), "archive.gz");
    EXPECT_EQ(FileBaseName("name."), "name");
    EXPECT_EQ(FileBaseName("makefile"), "makefile");
    EXPECT_EQ(FileBaseName("c:\\dir.ext\\"), "");
}

TEST(Paths, ProgramAndDataFoldersEndInTheSeparator) {
    const std::string program = ProgramDir();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.back(), '/');
    EXPECT_EQ(DataDir(), program + "Data/");
    EXPECT_FALSE(SystemDir().empty());
}
