#include "dunzip/MemberPath.h"

#include <gtest/gtest.h>

using unzip::LastNamePart;
using unzip::SplitMemberName;

TEST(MemberPath, BackslashesAndDotsAreTakenApart) {
    const auto path = SplitMemberName("SRC\\.\\UNITS//A.PAS");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->parts, (std::vector<std::string>{"SRC", "UNITS", "A.PAS"}));
    EXPECT_FALSE(path->isFolder);
    const auto folder = SplitMemberName("DOC\\");
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->isFolder);
    EXPECT_EQ(folder->parts, std::vector<std::string>{"DOC"});
    // Dots inside a name are a name.
    EXPECT_TRUE(SplitMemberName("...TXT"));
    EXPECT_TRUE(SplitMemberName("A..B/..C"));
}

TEST(MemberPath, NamesThatCouldLeaveTheDestinationAreRefused) {
    for (const char* name : {"", "/", "\\", "./", "/etc/passwd", "\\x", "c:x", "Z:\\x", "..",
                             "../x", "a/../../x", "a\\..", "a/..\\b"})
        EXPECT_FALSE(SplitMemberName(name)) << name;
}

TEST(MemberPath, LastPartIgnoresTrailingSeparators) {
    EXPECT_EQ(LastNamePart("DOC\\README.TXT"), "README.TXT");
    EXPECT_EQ(LastNamePart("a/b/"), "b");
    EXPECT_EQ(LastNamePart("plain"), "plain");
}
