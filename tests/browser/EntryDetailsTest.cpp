#include "browser/EntryDetails.h"

#include "browser/TextView.h"
#include "browser/WideInfoForm.h"
#include "catalog/Records.h"
#include "rtl/Exceptions.h"
#include "support/StringLists.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <gtest/gtest.h>
#include <vector>

namespace {

using browser::ComponentSummary;
using browser::KeywordLines;

TEST(EntryTextRules, DoubleAmpersandsDoublesEveryAmpersand) {
    EXPECT_EQ(browser::DoubleAmpersands("A&B && C&"), "A&&B &&&& C&&");
    EXPECT_EQ(browser::DoubleAmpersands("none"), "none");
}

TEST(EntryTextRules, InfoLineJoinsThePresentPartsWithTwoBlanks) {
    EXPECT_EQ(browser::ComponentInfoLine("Win 95", 44, 3),
              QStringLiteral("OS: Win 95  Sprache: Englisch  Compiler: Pandex 1.0X, Pandex 2"));
    EXPECT_EQ(browser::ComponentInfoLine("", 49, 0), QStringLiteral("Sprache: Deutsch"));
    EXPECT_EQ(browser::ComponentInfoLine("", 0, 4), QStringLiteral("Compiler: BPascal"));
    EXPECT_TRUE(browser::ComponentInfoLine("", 12, 0).isEmpty());
}

TEST(ComponentSummaryLines, BlocksInOrderWithFontMarksAndAnEmptyLineAfterThePrice) {
    catalog::TCompoText compo(nullptr);
    compo.ShortInfo = testing_support::StringListOf({"Short one", "Short two"});
    compo.Order = testing_support::StringListOf({"Order here"});
    compo.Price = "DM 10";
    compo.Contact = testing_support::StringListOf({"Street 1", "Town"});
    compo.KeyWords = testing_support::StringListOf({"GRID", "TABLE"});
    EXPECT_EQ(testing_support::ItemsOf(ComponentSummary(compo)),
              (std::vector<std::string>{"<F1>KurzInfo:", "<F0>Short one", "Short two",
                                        "<F1>Order:", "<F0>Order here", "<F1>Preis:", "<F0>DM 10",
                                        "", "<F1>Kontaktadresse:", "<F0>Street 1", "Town",
                                        "<F1>Schl\xFCsselw\xF6rter:", "<F0> GRID TABLE"}));
}

TEST(ComponentSummaryLines, WithoutPriceNoEmptyLineSeparatesOrderAndContact) {
    catalog::TCompoText compo(nullptr);
    compo.Order = testing_support::StringListOf({"Order here"});
    compo.Contact = testing_support::StringListOf({"Street 1"});
    EXPECT_EQ(testing_support::ItemsOf(ComponentSummary(compo)),
              (std::vector<std::string>{"<F1>Order:", "<F0>Order here",
                                        "<F1>Kontaktadresse:", "<F0>Street 1"}));
    EXPECT_TRUE(ComponentSummary(catalog::TCompoText(nullptr)).Empty());
}

TEST(ComponentSummaryLines, KeywordsArePackedIntoLinesOfAtMost256Characters) {
    const std::string k100(100, 'A');
    const std::string k54(54, 'B');
    // " " + 100 + " " + 100 + " " + 54 = 257 > 256: the third keyword starts a new line.
    const auto lines = testing_support::ItemsOf(
        KeywordLines(testing_support::StringListOf({k100, k100, k54, "C"})));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], " " + k100 + " " + k100);
    EXPECT_EQ(lines[1], k54 + " C");

    const std::string k53(53, 'B');
    // 53 + 202 = 255 still fits: the line is 256 characters long.
    const auto fitting =
        testing_support::ItemsOf(KeywordLines(testing_support::StringListOf({k100, k100, k53})));
    ASSERT_EQ(fitting.size(), 1u);
    EXPECT_EQ(fitting[0].size(), 256u);
}

TEST(ComponentSummaryLines, AKeywordOver255CharactersStandsAlone) {
    const std::string huge(300, 'X');
    EXPECT_EQ(testing_support::ItemsOf(KeywordLines(testing_support::StringListOf({huge, "NEXT"}))),
              (std::vector<std::string>{"", huge, "NEXT"}));
    EXPECT_EQ(testing_support::ItemsOf(KeywordLines(testing_support::StringListOf({"A", huge}))),
              (std::vector<std::string>{" A", huge}));
}

class ComponentPageTest : public testing::Test {
protected:
    ComponentPageTest() {
        page_.resize(420, 360);
        page_.ResizeBox(420, 360);
        page_.show();
    }

    browser::TComponentPage page_;
};

TEST_F(ComponentPageTest, FillsTheControlsAndTheRatingBar) {
    catalog::TCompoText compo(nullptr);
    compo.Copyright = "ACME";
    compo.Distribution = "Shareware";
    compo.Limitations = "none";
    compo.OS = "Win";
    compo.Rating = 7;
    compo.ShortInfo = testing_support::StringListOf({"Quick."});
    page_.ShowCompo(compo);

    EXPECT_EQ(page_.CompoCopyright->text(), QStringLiteral("ACME"));
    EXPECT_EQ(page_.CompoDistribution->text(), QStringLiteral("Shareware"));
    EXPECT_EQ(page_.CompoLimitations->text(), QStringLiteral("none"));
    EXPECT_TRUE(page_.RatingGauge->isVisible());
    EXPECT_TRUE(page_.LangCompInfo->isVisible());
    EXPECT_EQ(page_.CompoLimitations->y(), page_.LangCompInfo->y() + page_.LangCompInfo->height());
    EXPECT_TRUE(page_.StuffView->toPlainText().contains(QStringLiteral("KurzInfo:")));
}

TEST_F(ComponentPageTest, NoRatingShowsKeineAndAnEmptyInfoLineMovesLimitationsUp) {
    catalog::TCompoText compo(nullptr);
    compo.Language = 12;
    page_.ShowCompo(compo);

    EXPECT_FALSE(page_.RatingGauge->isVisible());
    EXPECT_TRUE(page_.RatingLabel->isVisible());
    EXPECT_EQ(page_.RatingLabel->text(), QStringLiteral("keine"));
    EXPECT_FALSE(page_.LangCompInfo->isVisible());
    EXPECT_EQ(page_.CompoLimitations->y(), page_.LangCompInfo->y());
    EXPECT_EQ(page_.CompolimitLabel->y(), page_.LangCompInfo->y() + 4);
}

TEST_F(ComponentPageTest, ASummaryThatCannotBeConvertedLeavesTheWholePageAsItWas) {
    catalog::TCompoText shown(nullptr);
    shown.LongName = "Alt";
    shown.ShortInfo = testing_support::StringListOf({"Fax <Fax 0123>"});
    page_.ShowCompo(shown);
    EXPECT_TRUE(page_.StuffView->toPlainText().contains(QStringLiteral("Fax <Fax 0123>")));

    catalog::TCompoText damaged(nullptr);
    damaged.LongName = "Neu";
    damaged.ShortInfo = testing_support::StringListOf({"<F7>Fehler"});
    EXPECT_THROW(page_.ShowCompo(damaged), rtl::EListError);
    EXPECT_EQ(page_.CompoDescBox->title(), QStringLiteral(" Alt   Version  "));
    EXPECT_TRUE(page_.StuffView->toPlainText().contains(QStringLiteral("Fax <Fax 0123>")));
}

TEST(WideInfoForm, ResizingBackAndForthReturnsEveryControlToItsPlace) {
    browser::TWideInfoForm form;
    form.show();
    const auto geometries = [&form] {
        std::vector<QRect> all;
        for (const QWidget* control :
             form.WideScrollContent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            all.push_back(control->geometry());
        return all;
    };
    const std::vector<QRect> before = geometries();
    for (int i = 0; i < 5; ++i) {
        form.resize(700, 520);
        form.resize(590, 443);
    }
    EXPECT_EQ(geometries(), before);
    EXPECT_EQ(form.InstallMemo->y() + form.InstallMemo->height(), form.LowerSplitter->y());
}

TEST(ShortDescPage, DecodesCodePage437AfterTheFileNameLine) {
    browser::TShortDescPage page;
    catalog::TShortText record(nullptr);
    record.Lines = testing_support::StringListOf({"DATEIEN\\A.ZIP", "\xC9\xCD\xBB",
                                                  "\x84"
                                                  "ber"});
    page.ShowShort(record);
    EXPECT_EQ(page.ShortMemo->toPlainText(), QStringLiteral("╔═╗\näber\n"));
    EXPECT_EQ(browser::ShortTextFileName(record), "DATEIEN\\A.ZIP");
    EXPECT_EQ(page.ShortMemo->textCursor().position(), 0);

    record.Lines = testing_support::StringListOf({"ONLY.TXT"});
    page.ShowShort(record);
    EXPECT_TRUE(page.ShortMemo->toPlainText().isEmpty());
    EXPECT_EQ(browser::ShortTextFileName(catalog::TShortText(nullptr)), "");
}

} // namespace
