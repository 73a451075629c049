#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(CodePage, EveryAnsiByteSurvivesARoundTripThroughUnicode) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const auto back = Utf8ToAnsi1252(Ansi1252ToUtf8(one));
        ASSERT_TRUE(back.has_value()) << "byte " << byte;
        EXPECT_EQ(*back, one) << "byte " << byte;
        all += one;
    }
    EXPECT_EQ(Utf8ToAnsi1252(Ansi1252ToUtf8(all)), all);
}

TEST(CodePage, CharacterWithoutAnAnsiByteFailsTheCheckedConversion) {
    EXPECT_EQ(Utf8ToAnsi1252("Ärger"), "\xC4rger");
    EXPECT_FALSE(Utf8ToAnsi1252("Ω-Wert").has_value());
    EXPECT_EQ(Utf8ToAnsi1252Lossy("Ω-Wert"), "?-Wert");
    EXPECT_EQ(Utf8ToAnsi1252Lossy("a😀b"), "a?b");
}

TEST(CodePage, MalformedUtf8IsRefusedOrReplacedBytewise) {
    EXPECT_FALSE(Utf8ToAnsi1252("\xC3").has_value());         // cut short
    EXPECT_FALSE(Utf8ToAnsi1252("\xC0\xAF").has_value());     // overlong "/"
    EXPECT_FALSE(Utf8ToAnsi1252("\xED\xA0\x80").has_value()); // surrogate
    EXPECT_EQ(Utf8ToAnsi1252Lossy("a\xFF"
                                  "b\xC3"),
              "a?b?");
}

TEST(CodePage, Oem437KeepsBoxDrawingAndLineBreaks) {
    EXPECT_EQ(Oem437ToUtf8("\xC9\xCD\xBB\r\n\xBA\t\xBA\r\n\xC8\xCD\xBC"), "╔═╗\r\n║\t║\r\n╚═╝");
    EXPECT_EQ(Oem437ToUtf8("\xDA\xC4\xC2\xBF\xB3\xC5\xB0\xB1\xB2\xDB"), "┌─┬┐│┼░▒▓█");
    EXPECT_EQ(Oem437ToUtf8("\x84\x94\x81\x8E\x99\x9A\xE1"), "äöüÄÖÜß");
    EXPECT_EQ(Oem437ToUtf8("\xFF"), "\xC2\xA0");
}
