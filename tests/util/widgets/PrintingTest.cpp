#include "util/widgets/Printing.h"

#include "support/RunTool.h"
#include "support/TempDir.h"
#include "util/widgets/ProgressForm.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPrinter>
#include <QProgressBar>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

using testing_support::RunTool;
using testing_support::TempDir;
using util::ProgramPrinter;

namespace {

// Prints into a PDF file of the test's own folder.
class PrintingTest : public testing::Test {
protected:
    PrintingTest() {
        util::SelectPrinter(util::PdfPrinterName());
        ProgramPrinter().setOutputFileName(Pdf());
    }
    ~PrintingTest() override { ProgramPrinter().setOutputFileName(QString()); }

    QString Pdf() const { return QString::fromStdString(dir_.File("lines.pdf")); }
    std::string PdfText() const {
        return RunTool("pdftotext", {"-layout", "-enc", "UTF-8", Pdf(), "-"});
    }
    std::string PdfInfo() const { return RunTool("pdfinfo", {Pdf()}); }

    TempDir dir_;
};

// Records the values the progress window's bar takes while it is shown.
class ProgressRecorder : public QObject {
public:
    ProgressRecorder() { qApp->installEventFilter(this); }
    ~ProgressRecorder() override { qApp->removeEventFilter(this); }

    std::vector<int> values;
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched == util::ProgressForm()) {
            ++shown;
            EXPECT_EQ(util::ProgressForm()->InfoLabel->text(), "Drucke Text...");
            connect(util::ProgressForm()->Gauge, &QProgressBar::valueChanged, this,
                    [this](int value) { values.push_back(value); });
        }
        return false;
    }
};

QStringList NumberedLines(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("Zeile %1").arg(i);
    return lines;
}

} // namespace

TEST_F(PrintingTest, EachLineIsOnePrintedLineUnderTheJobTitleInArial) {
    ProgressRecorder progress;
    util::PrintLines({"Erste Zeile", "", "\tEingerückt mit Tab", "Letzte Zeile äöü"},
                     util::NewFont("Arial"));

    const QStringList printed = QString::fromStdString(PdfText()).split(u'\n');
    ASSERT_GE(printed.size(), 4);
    EXPECT_EQ(printed[0], "Erste Zeile");
    EXPECT_EQ(printed[1], "");
    EXPECT_TRUE(printed[2].startsWith("  ")) << printed[2].toStdString();
    EXPECT_EQ(printed[2].trimmed(), "Eingerückt mit Tab");
    EXPECT_EQ(printed[3], "Letzte Zeile äöü");
    EXPECT_NE(PdfInfo().find("Title:           Kestrova Pandex CD\n"), std::string::npos)
        << PdfInfo();
    EXPECT_NE(PdfInfo().find("Pages:           1\n"), std::string::npos);
    // Arial is served by its metric twin.
    const std::string fonts = RunTool("pdffonts", {Pdf()});
    EXPECT_TRUE(fonts.find("Arial") != std::string::npos ||
                fonts.find("LiberationSans") != std::string::npos)
        << fonts;
    EXPECT_EQ(progress.shown, 1);
    EXPECT_EQ(util::ProgressForm(), nullptr);
}

TEST_F(PrintingTest, TheProgressBarFollowsEachLineWithHalvesToEven) {
    ProgressRecorder progress;
    util::PrintLines(NumberedLines(8), util::NewFont("Arial"));
    EXPECT_EQ(progress.values, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
}

TEST_F(PrintingTest, LinesThatDoNotFitStartANewPageAndNoneIsLost) {
    util::PrintLines(NumberedLines(300), util::NewFont("Arial"));
    const std::string info = PdfInfo();
    const auto pages = info.find("Pages:");
    ASSERT_NE(pages, std::string::npos);
    EXPECT_GT(std::stoi(info.substr(pages + 6)), 1) << info;
    const std::string text = PdfText();
    std::size_t at = 0;
    for (int i = 1; i <= 300; ++i) {
        at = text.find("Zeile " + std::to_string(i) + "\n", at);
        ASSERT_NE(at, std::string::npos) << "line " << i;
    }
}

TEST_F(PrintingTest, NoLinesPrintNothingAndShowNoProgressWindow) {
    ProgressRecorder progress;
    util::PrintLines({}, util::NewFont("Arial"));
    EXPECT_EQ(progress.shown, 0);
    EXPECT_FALSE(std::filesystem::exists(Pdf().toStdString()));
}

TEST_F(PrintingTest, AJobThatCannotStartRaisesAndFreesTheProgressWindow) {
    ProgramPrinter().setOutputFileName(
        QString::fromStdString(dir_.File("missing-folder/lines.pdf")));
    EXPECT_THROW(util::PrintLines({"Zeile"}, util::NewFont("Arial")), util::EPrinter);
    EXPECT_EQ(util::ProgressForm(), nullptr);
}

TEST(PrinterChoice, ThePdfOutputIsAlwaysOfferedAfterTheInstalledPrinters) {
    const QStringList names = util::PrinterNames();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.back(), "PDF-Datei");
    util::SelectPrinter("PDF-Datei");
    EXPECT_EQ(ProgramPrinter().outputFormat(), QPrinter::PdfFormat);
    util::SelectPrinter("Kein solcher Drucker");
    EXPECT_EQ(ProgramPrinter().outputFormat(), QPrinter::PdfFormat);
}

TEST(CopyLinesToClipboard, NoLinesLeaveTheClipboardAsItWas) {
    QApplication::clipboard()->setText("vorher");
    util::CopyLinesToClipboard({});
    EXPECT_EQ(QApplication::clipboard()->text(), "vorher");
}
