#include "rtl/StrUtils.h"

#include "support/RandomText.h"

#include <gtest/gtest.h>
#include <random>

using namespace rtl;

TEST(StrUtils, CaseChangesTouchOnlyAsciiLetters) {
    EXPECT_EQ(UpperCaseAscii("Gr\xF6\xDF"
                             "e abc-z"),
              "GR\xF6\xDF"
              "E ABC-Z");
    EXPECT_EQ(LowerCaseAscii("DUNZIP32.DLL \xC4"), "dunzip32.dll \xC4");
}

TEST(StrUtils, SameTextIgnoresAsciiCaseButNotLengthOrUmlauts) {
    EXPECT_TRUE(SameTextAscii("Software\\Kestrova", "SOFTWARE\\kestrova"));
    EXPECT_TRUE(SameTextAscii("", ""));
    EXPECT_FALSE(SameTextAscii("abc", "abcd"));
    EXPECT_FALSE(SameTextAscii("\xE4", "\xC4"));
}

// The rule is simple enough to state whole: find on both sides upper-cased.
TEST(StrUtils, FindNoCaseIsFindOnUpperCasedText) {
    std::mt19937 random(7);
    const std::string letters = "aAbB.\xE4\xC4";
    for (int i = 0; i < 20000; ++i) {
        const std::string haystack = testing_support::RandomText(random, letters, random() % 8);
        const std::string needle = testing_support::RandomText(random, letters, 1 + random() % 3);
        const std::size_t from = random() % 4;
        ASSERT_EQ(FindNoCase(haystack, needle, from),
                  UpperCaseAscii(haystack).find(UpperCaseAscii(needle), from))
            << haystack << " / " << needle << " from " << from;
    }
}

TEST(StrUtils, TrimmingBlanksKeepsTabsWhileTrimmingWhiteSpaceDropsThem) {
    EXPECT_EQ(TrimBlanks("  a b\t "), "a b\t");
    EXPECT_EQ(TrimBlanks("  \t1.2.96 "), "\t1.2.96");
    EXPECT_EQ(TrimWhiteSpace(" \t e: = /media \r"), "e: = /media");
    EXPECT_EQ(TrimWhiteSpace(" \t "), "");
}

TEST(StrUtils, IntegersAreAnOptionalSignAndDigits) {
    long long v = 0;
    EXPECT_TRUE(TryStrToInt("-12", v));
    EXPECT_EQ(v, -12);
    EXPECT_TRUE(TryStrToInt("+7", v));
    EXPECT_EQ(v, 7);
    for (const char* bad : {"", "-", "x", "1 ", " 1", "1.5", "99999999999999999999999"})
        EXPECT_FALSE(TryStrToInt(bad, v)) << bad;
}

TEST(StrUtils, HexDigitsOfEitherCaseHaveTheirValueAndEveryOtherByteNone) {
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const std::string digits = "0123456789abcdef";
        const std::size_t value = digits.find(LowerCaseAscii(c));
        EXPECT_EQ(HexDigitValue(c), value == std::string::npos ? -1 : static_cast<int>(value))
            << byte;
    }
}
