#include "browser/EntryOutput.h"

#include "browser/EntryDetails.h"
#include "browser/MainWindow.h"
#include "browser/Outline.h"
#include "browser/TestCatalogue.h"
#include "browser/TextView.h"
#include "browser/WideInfoForm.h"
#include "support/RunTool.h"
#include "util/AppSettings.h"
#include "util/widgets/Printing.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

using browser::TPandexCDMain;
using testing_support::RunTool;

namespace {

class EntryOutputTest : public testing::Test {
protected:
    EntryOutputTest() {
        util::Settings() = util::AppSettings{};
        browser::TMainWindowSetup setup;
        setup.programFolder =
            browser_test::BuildCatalogue(dir_, browser_test::SmallCatalogueSource());
        setup.showMessage = [](const QString&, const QString&) {};
        setup.watchSelection = false;
        window_ = std::make_unique<TPandexCDMain>(setup);
        window_->SetWideInfoForm(new browser::TWideInfoForm(window_.get()));
        browser::ConnectEntryOutput(*window_);
        util::SelectPrinter(util::PdfPrinterName());
        util::ProgramPrinter().setOutputFileName(Pdf());
    }
    ~EntryOutputTest() override { util::ProgramPrinter().setOutputFileName(QString()); }

    void Select(const std::string& name) {
        ASSERT_NE(window_->OverviewOL->SelectIndex(
                      browser_test::NodeNamed(window_->OverviewOL->TreeData(), name)),
                  nullptr);
        window_->CheckSelection();
    }

    QString Pdf() const { return QString::fromStdString(dir_.File("entry.pdf")); }
    // The printed lines as pdftotext reads them back, blanks simplified, empty lines left out.
    std::string PrintedLines() const {
        return Simplified(
            QString::fromStdString(RunTool("pdftotext", {"-enc", "UTF-8", Pdf(), "-"}))
                .split(u'\n'));
    }
    static std::string Simplified(const QStringList& lines) {
        QStringList simple;
        for (const QString& line : lines)
            if (!line.simplified().isEmpty())
                simple << line.simplified();
        return simple.join(u'|').toStdString();
    }

    testing_support::TempDir dir_;
    std::unique_ptr<TPandexCDMain> window_;
};

} // namespace

TEST(TextLines, AreTheLinesOfAMemo) {
    EXPECT_EQ(browser::TextLines(""), QStringList());
    EXPECT_EQ(browser::TextLines("a\nb\n"), (QStringList{"a", "b"}));
    EXPECT_EQ(browser::TextLines("a\n\nb"), (QStringList{"a", "", "b"}));
}

TEST_F(EntryOutputTest, AComponentIsPrintedAsHeadingSummaryAndLongDescriptionLineByLine) {
    Select("Component");
    const QStringList text = browser::ComponentText(*window_);
    ASSERT_GE(text.size(), 5);
    EXPECT_EQ(text[0], "Komponente: Tabello & Co   Version 2.1");
    EXPECT_EQ(text[1], "");
    EXPECT_EQ(text[2], window_->ComponentPage->StuffView->toPlainText().split(u'\n')[0]);
    EXPECT_EQ(text[text.size() - 2], "Ausführliche Beschreibung:");
    EXPECT_EQ(text.back(), "Long text.");
    // The wide window was filled on the way, but not shown.
    EXPECT_FALSE(window_->WideInfoForm()->isVisible());

    window_->SBPrintText->click();
    EXPECT_EQ(PrintedLines(), Simplified(text));
    EXPECT_NE(RunTool("pdfinfo", {Pdf()}).find("Kestrova Pandex CD\n"), std::string::npos);
}

TEST_F(EntryOutputTest, TheMenuItemPrintsTheShortDescription) {
    Select("File");
    ASSERT_TRUE(window_->MIPrint->isEnabled());
    window_->MIPrint->trigger();
    EXPECT_EQ(PrintedLines(), "╔══╗");
}

TEST_F(EntryOutputTest, AnEmptyShortDescriptionPrintsNothing) {
    Select("File");
    window_->ShortDescPage->ShortMemo->clear();
    window_->SBPrintText->click();
    EXPECT_FALSE(std::filesystem::exists(Pdf().toStdString()));
}

TEST_F(EntryOutputTest, AnInfoTextIsPrintedByItsView) {
    Select("Welcome");
    window_->SBPrintText->click();
    EXPECT_NE(PrintedLines().find("Some text"), std::string::npos) << PrintedLines();
    EXPECT_NE(RunTool("pdfinfo", {Pdf()}).find("Kestrova Pandex CD-ROM"), std::string::npos);
}

TEST_F(EntryOutputTest, CopyingAShortDescriptionTakesTheSelectionOrEveryLine) {
    Select("File");
    window_->SBCopy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "╔══╗\r\n");

    QTextCursor cursor = window_->ShortDescPage->ShortMemo->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    window_->ShortDescPage->ShortMemo->setTextCursor(cursor);
    window_->SBCopy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "══");
}

TEST_F(EntryOutputTest, CopyingAComponentPutsItsTextWithCrLfOnTheClipboard) {
    Select("Component");
    window_->SBCopy->click();
    EXPECT_EQ(QApplication::clipboard()->text(),
              browser::ComponentText(*window_).join("\r\n") + "\r\n");
}

TEST_F(EntryOutputTest, CopyingAnInfoTextCopiesTheView) {
    Select("Welcome");
    window_->SBCopy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), window_->TextView->toPlainText());
}

TEST_F(EntryOutputTest, ThePrinterSetUpOffersTheInstalledPrintersAndThePdfOutput) {
    QStringList offered;
    QTimer::singleShot(0, [&offered] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        const auto* printers = dialog->findChild<QComboBox*>("printers");
        ASSERT_NE(printers, nullptr);
        for (int i = 0; i < printers->count(); ++i)
            offered << printers->itemText(i);
        dialog->reject();
    });
    window_->MIPrinterSetup->trigger();
    EXPECT_EQ(offered.size(), QPrinterInfo::availablePrinterNames().size() + 1);
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        EXPECT_TRUE(offered.contains(name)) << name.toStdString();
    EXPECT_TRUE(offered.back().contains("PDF")) << offered.join(", ").toStdString();
}
