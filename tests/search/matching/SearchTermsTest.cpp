#include "search/matching/SearchTerms.h"

#include "rtl/StrUtils.h"
#include "support/RandomText.h"
#include "support/StringLists.h"

#include <gtest/gtest.h>
#include <random>

using namespace search;

namespace {

bool Matches(std::initializer_list<std::string> texts, const char* expression,
             bool caseSensitive = false) {
    rtl::TStringList lines = testing_support::StringListOf(texts);
    return MatchText(lines, SplitTerms(expression, caseSensitive), caseSensitive);
}

} // namespace

TEST(SplitTerms, OperatorsNeedABlankOnEachSide) {
    EXPECT_EQ(SplitTerms("x + y - z", true),
              (std::vector<SearchTerm>{
                  {"x", TermOperator::And}, {"y", TermOperator::Or}, {"z", TermOperator::And}}));
    EXPECT_EQ(SplitTerms("a-b", true).size(), 1u);
    EXPECT_EQ(SplitTerms("a -b", true).front().text, "a -b");
    EXPECT_EQ(SplitTerms("a+b", true).front().text, "a+b");
    EXPECT_EQ(SplitTerms("grafik komponente", true).front().text, "grafik komponente");
}

TEST(SplitTerms, WithoutCaseTheExpressionIsUpperCased) {
    EXPECT_EQ(SplitTerms("datenbank - tabelle + drucker", false),
              (std::vector<SearchTerm>{{"DATENBANK", TermOperator::Or},
                                       {"TABELLE", TermOperator::And},
                                       {"DRUCKER", TermOperator::And}}));
}

TEST(SplitTerms, ATrailingOperatorLeavesAnEmptyLastTerm) {
    const auto terms = SplitTerms("drucker + ", false);
    ASSERT_EQ(terms.size(), 2u);
    EXPECT_EQ(terms[1].text, "");
    EXPECT_FALSE(Matches({"Drucker"}, "drucker + "));
    EXPECT_TRUE(Matches({"Drucker"}, "drucker - "));
}

TEST(MatchText, FoldsLeftToRightWithoutPrecedence) {
    const char* expression = "datenbank - tabelle + drucker";
    EXPECT_TRUE(Matches({"Eine Datenbank", "mit Drucker"}, expression));
    EXPECT_TRUE(Matches({"Tabelle und Drucker"}, expression));
    EXPECT_FALSE(Matches({"Datenbank und Tabelle"}, expression));
    // (a AND b) OR c, not a AND (b OR c):
    EXPECT_TRUE(Matches({"nur c"}, "a + b - c"));
    EXPECT_FALSE(Matches({"nur a"}, "a + b - c"));
}

TEST(MatchText, ATermNeverSpansTwoLines) {
    EXPECT_FALSE(Matches({"grafik", "komponente"}, "grafik komponente"));
    EXPECT_TRUE(Matches({"eine grafik komponente"}, "grafik komponente"));
}

TEST(MatchText, UpperCasingLeavesUmlautsAlone) {
    EXPECT_TRUE(Matches({"Gr\xF6\xDF"
                         "e"},
                        "GR\xF6\xDF"
                        "E"));
    EXPECT_FALSE(Matches({"Gr\xF6\xDF"
                          "e"},
                         "GR\xD6SSE"));
    EXPECT_FALSE(Matches({"Gr\xF6\xDF"
                          "e"},
                         "GR\xD6\xDF"
                         "E"));
}

// Without case the rule is simple to state whole: the upper-cased term in an upper-cased line.
TEST(MatchText, WithoutCaseATermIsFoundInTheUpperCasedLine) {
    std::mt19937 random(11);
    const std::string letters = "aAbB \xE4\xC4";
    for (int i = 0; i < 20000; ++i) {
        const std::string line = testing_support::RandomText(random, letters, random() % 9);
        const std::string term = testing_support::RandomText(random, letters, 1 + random() % 3);
        const bool expected =
            rtl::UpperCaseAscii(line).find(rtl::UpperCaseAscii(term)) != std::string::npos;
        ASSERT_EQ(Matches({line}, term.c_str()), expected) << line << " / " << term;
    }
}

TEST(MatchText, CaseSensitiveComparesAsTyped) {
    EXPECT_FALSE(Matches({"Drucker"}, "drucker", true));
    EXPECT_TRUE(Matches({"Drucker"}, "Drucker", true));
}

TEST(MatchText, NoLinesOrAnEmptyExpressionNeverMatch) {
    EXPECT_FALSE(Matches({}, "x"));
    EXPECT_FALSE(Matches({"x"}, ""));
}

TEST(HitName, ZipFirstLineOfAShortTextNamesTheHit) {
    const TextLines lines{"demo.Zip  Ein Archiv", "Inhalt"};
    EXPECT_EQ(HitName(true, lines, "Eintrag"), "demo.Zip  Ein Archiv");
    EXPECT_EQ(HitName(false, lines, "Eintrag"), "Eintrag");
    EXPECT_EQ(HitName(true, {"readme.txt"}, "Eintrag"), "Eintrag");
    EXPECT_EQ(HitName(true, {"a.zip"}, "Eintrag"), "a.zip");
    EXPECT_EQ(HitName(true, {}, "Eintrag"), "Eintrag");
}
