// TKVTextView::ShowText against a small catalogue built from source.
#include "browser/TextView.h"
#include "catalog/CatalogBuilder.h"
#include "catalog/Container.h"
#include "rtl/Exceptions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>

using browser::TKVTextView;

namespace {

constexpr const char* kSource = "INFOTEXT [INFO] 01.06.96 {\r\n"
                                "<F1>Titel\r\n"
                                "<F0>\r\n"
                                "Erste Zeile\r\n"
                                "zweite Zeile\r\n"
                                "}\r\n"
                                "INFOTEXT [ROH] 01.06.96 {\r\n"
                                "<NOWRAP>\r\n"
                                "Zeile eins\r\n"
                                "Zeile zwei\r\n"
                                "}\r\n"
                                "SHORTTEXT [KURZ] 01.06.96 {\r\n"
                                "DATEI.ZIP\r\n"
                                "Kurztext\r\n"
                                "}\r\n"
                                "COMPONENT [KOMP] 01.06.96 {\r\n"
                                "[ShortName]\r\n"
                                "Komp\r\n"
                                "[LongName]\r\n"
                                "Komponente\r\n"
                                "}\r\n"
                                "OUTLINE [UEBERSICHT] 01.06.96 {\r\n"
                                "[INFO]Info\r\n"
                                "[ROH]Roh\r\n"
                                "[KURZ]Kurz\r\n"
                                "[KOMP]Komp\r\n"
                                "Ordner\r\n"
                                "}\r\n";

class TextViewShowTextTest : public testing::Test {
protected:
    void SetUp() override {
        catalog::BuildCatalogue(dir_.Write("katalog.src", kSource), dir_.Path().string());
        container_.DataFileName = dir_.File(catalog::kDefaultDataFileName);
        container_.IndexFileName = dir_.File(catalog::kDefaultIndexFileName);
        container_.SetActive(true);
        container_.LoadTree(tree_);
    }

    int Node(const std::string& name) const {
        const int node = tree_.Names.IndexOf(name);
        EXPECT_GE(node, 0) << name;
        return node;
    }

    // Shows a known text first, so that an unchanged view can be told apart from a cleared one.
    void ShowInfo() { ASSERT_TRUE(view_.ShowText(container_, Node("Info"))); }

    void ExpectInfoStillShown() const {
        EXPECT_EQ(view_.toPlainText(), "Titel \n \nErste Zeile zweite Zeile ");
        EXPECT_EQ(view_.LastRtf(), infoRtf_);
        EXPECT_EQ(view_.lineWrapMode(), QTextEdit::WidgetWidth);
    }

    testing_support::TempDir dir_;
    catalog::TBrowzerContainer container_{nullptr};
    catalog::TTreeViewData tree_;
    TKVTextView view_;
    std::string infoRtf_;
};

} // namespace

TEST_F(TextViewShowTextTest, ShowsAnInfoTextWithWrappingAndMakesTheViewVisible) {
    view_.hide();
    ShowInfo();
    infoRtf_ = view_.LastRtf();
    ExpectInfoStillShown();
    EXPECT_EQ(infoRtf_.substr(0, view_.RtfHeader.size()), view_.RtfHeader);
    EXPECT_NE(infoRtf_.find("\\sbys \\F1\\b0\\fs34 Titel \\par\r\n"), std::string::npos);
    EXPECT_FALSE(view_.isHidden());
}

TEST_F(TextViewShowTextTest, ATextMarkedNowrapIsShownWithoutWrapping) {
    ShowInfo();
    ASSERT_TRUE(view_.ShowText(container_, Node("Roh")));
    EXPECT_EQ(view_.toPlainText(), "Zeile eins \nZeile zwei ");
    EXPECT_EQ(view_.lineWrapMode(), QTextEdit::NoWrap);
}

TEST_F(TextViewShowTextTest, EntriesOfOtherKindsAreDeclinedAndLeaveTheViewUnchanged) {
    ShowInfo();
    infoRtf_ = view_.LastRtf();
    EXPECT_FALSE(view_.ShowText(container_, Node("Kurz")));
    EXPECT_FALSE(view_.ShowText(container_, Node("Komp")));
    EXPECT_FALSE(view_.ShowText(container_, Node("Ordner")));
    EXPECT_FALSE(view_.ShowText(container_, -1));
    EXPECT_FALSE(view_.ShowText(container_, tree_.Count()));
    ExpectInfoStillShown();
}

TEST_F(TextViewShowTextTest, AReadErrorPropagatesAndLeavesTheViewUnchanged) {
    ShowInfo();
    infoRtf_ = view_.LastRtf();
    tree_.SetRecordRef(Node("Roh"), 0x0FFFFF00); // far behind the end of the data file
    EXPECT_THROW(view_.ShowText(container_, Node("Roh")), rtl::EReadError);
    ExpectInfoStillShown();
}
