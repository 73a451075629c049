#include "platform/Wildcard.h"

#include <gtest/gtest.h>

using platform::MatchesWildcard;

TEST(Wildcard, StarDotStarMatchesEveryNameEvenWithoutADot) {
    EXPECT_TRUE(MatchesWildcard("readme.txt", "*.*"));
    EXPECT_TRUE(MatchesWildcard("README", "*.*"));
    EXPECT_TRUE(MatchesWildcard("a.b.c", "*.*"));
    EXPECT_TRUE(MatchesWildcard("..", "*.*"));
    EXPECT_TRUE(MatchesWildcard("makefile", "*"));
}

TEST(Wildcard, ExtensionPatternsIgnoreCase) {
    EXPECT_TRUE(MatchesWildcard("UNIT1.PAS", "*.pas"));
    EXPECT_TRUE(MatchesWildcard("unit1.pas", "*.PAS"));
    EXPECT_FALSE(MatchesWildcard("unit1.pasx", "*.pas"));
    EXPECT_FALSE(MatchesWildcard("unit1", "*.pas"));
    EXPECT_TRUE(MatchesWildcard("Demo.Zip", "DEMO.*"));
    EXPECT_TRUE(MatchesWildcard("demo", "demo.*"));
    EXPECT_FALSE(MatchesWildcard("demos", "demo.*"));
}

TEST(Wildcard, QuestionMarkStandsForExactlyOneCharacter) {
    EXPECT_TRUE(MatchesWildcard("vitrine1.dat", "vitrine?.dat"));
    EXPECT_FALSE(MatchesWildcard("vitrine.dat", "vitrine?.dat"));
    EXPECT_FALSE(MatchesWildcard("vitrine12.dat", "vitrine?.dat"));
}

TEST(Wildcard, StarsBacktrackAcrossRepeatedText) {
    EXPECT_TRUE(MatchesWildcard("abcabcabd", "*abd"));
    EXPECT_TRUE(MatchesWildcard("a-b-c", "a*b*c"));
    EXPECT_FALSE(MatchesWildcard("a-b-", "a*b*c"));
    EXPECT_FALSE(MatchesWildcard("", "?"));
    EXPECT_TRUE(MatchesWildcard("", "*"));
}
