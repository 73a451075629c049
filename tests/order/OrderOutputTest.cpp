#include "OrderTestSupport.h"
#include "entryfields/PictureField.h"
#include "order/BestellForm.h"
#include "order/CreditForm.h"
#include "order/HintForm.h"
#include "order/OrderSinks.h"
#include "order/RadioGroup.h"
#include "support/ModalDialogs.h"
#include "support/QtPrinting.h"
#include "support/RunTool.h"
#include "support/TempDir.h"
#include "util/widgets/Printing.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <filesystem>
#include <gtest/gtest.h>

using namespace order;
using order_test::ClipboardLines;
using order_test::Row;

namespace {

class OrderOutput : public testing::Test {
protected:
    OrderOutput() { order_test::FillCustomer(form); }

    // Copies the order; the message that follows is answered.
    QStringList Copied() {
        answers.ThenOk();
        form.ClipBrdBtnClick();
        EXPECT_EQ(answers.Shown().back().title, "Meldung");
        EXPECT_EQ(answers.Shown().back().text,
                  "Das Bestellformular wurde in die Zwischenablage kopiert");
        return ClipboardLines();
    }

    void ChooseCountry(TOrderCountry country) {
        if (country == ocNichtEUAusland)
            answers.ThenOk();
        form.CountryBox->setCurrentIndex(country);
    }

    testing_support::ModalAnswers answers;
    TBestellForm form;
};

const QStringList kMakerBlock = {
    Row("Kestrova Software", 32, "Tel: 089 99998-100"),
    Row("Jonas Kestrov", 32, "FAX: 089 99998-101"),
    Row("Am Kiesgrund 7", 32, "KestrovaNet: 74112,3301"),
    Row("80997 München", 32, "FIDO: 2:2480/901"),
    Row("Deutschland", 32, "Internet: bestellung@kestrova.example"),
    "",
    "",
    "",
};

const QStringList kDeliveryAddress = {
    Row("Lieferadresse:", 40, "Kundennummer: 4711A"),
    "",
    "  Firma:      Muster & Co",
    "  Name:       Eva Muster",
    "  Straße:     Hauptstraße 1",
    "  Ort:        10115 Berlin",
    "  Telefon:    030 23125-400",
    "  Fax:        030 23125-401",
    "  EMail:      eva@muster.example",
    "",
};

TEST_F(OrderOutput, ACompleteOrderForGermanyOnTheClipboard) {
    form.FAQSel->setChecked(true);
    QStringList expected = kMakerBlock;
    expected << "Bestellung innerhalb Deutschlands"
             << ""
             << "Ich bestelle von Kestrova Software folgende Artikel:"
             << "" << Row("  [X] Kestrova Pandex CD-ROM", 56, "DM 39.80")
             << Row("  [ ] Abonnement Kestrova Pandex CD-ROM", 56, "DM 99.00")
             << Row("  [X] Kestrova Pandex FAQ auf Diskette", 56, "DM  9.95") << ""
             << ""
             << "";
    expected << kDeliveryAddress;
    expected << "  Ich zahle per Verrechnungsscheck"
             << ""
             << ""
             << ""
             << ""
             << "";
    EXPECT_EQ(Copied(), expected);
}

TEST_F(OrderOutput, SwitzerlandGetsTheSwissBlockAndTheCdRowThenOneEmptyLine) {
    ChooseCountry(ocSchweiz);
    const QStringList lines = Copied();
    const QStringList expected = {
        Row("Alpfirn Datentechnik", 32, "Tel: 0049 40 66969-310"),
        Row("Urs Brändli", 32, "FAX: 0049 40 66969-311"),
        Row("Seeweg 12", 32, "FIDO: 2:301/901"),
        Row("8002 Zürich", 32, "BBS: 0049 40 66969-312"),
        Row("Schweiz", 32, "Internet: kestrova@vertrieb-ch.example"),
        "",
        "",
        "",
        "Bestellung innerhalb der Schweiz",
        "",
        "Ich bestelle von Kestrova Software folgende Artikel:",
        "",
        Row("  [X] Kestrova Pandex CD-ROM", 56, "Fr  39.80"),
        "",
        "",
        "",
        "",
        Row("Lieferadresse:", 40, "Kundennummer: 4711A"),
    };
    EXPECT_EQ(lines.mid(0, expected.size()), expected);
}

TEST_F(OrderOutput, AustriaGetsTheDistributorsBlockAndOneMoreEmptyLine) {
    ChooseCountry(ocOesterreich);
    const QStringList lines = Copied();
    const QStringList expected = {
        Row("Lena Hofbauer", 32, "Tel: 0049 69 90009-210"),
        Row("Weidengasse 3", 32, "FAX: 0049 69 90009-211"),
        Row("4020 Linz", 32, "FIDO: 2:313/901"),
        Row("Österreich", 32, "Internet: kestrova@vertrieb-at.example"),
        "",
        "",
        "",
        "",
        "Bestellung innerhalb Östereich",
        "",
        "Ich bestelle von Kestrova Software folgende Artikel:",
        "",
        Row("  [X] Kestrova Pandex CD-ROM", 56, "340.00 öS"),
        Row("  [ ] Abonnement Kestrova Pandex CD-ROM", 56, "990.00 öS"),
        "",
    };
    EXPECT_EQ(lines.mid(0, expected.size()), expected);
}

TEST_F(OrderOutput, OutsideTheEuTheWarningFollowsTheCountryLine) {
    ChooseCountry(ocNichtEUAusland);
    const QStringList lines = Copied();
    const QStringList expected = {
        "Bestellung außerhalb der EU",
        "  Achtung: Beim Verschicken in Nicht-EU-Länder trägt der",
        "           Empfänger die Zollkosten in voller Höhe!",
        "",
        "Ich bestelle von Kestrova Software folgende Artikel:",
        "",
        Row("  [X] Kestrova Pandex CD-ROM", 56, "DM 49.80"),
        Row("  [ ] Kestrova Pandex FAQ auf Diskette", 56, "DM  9.95"),
        "",
    };
    EXPECT_EQ(lines.mid(kMakerBlock.size(), expected.size()), expected);
}

TEST_F(OrderOutput, ACardPaymentAndRemarksEndTheOrder) {
    answers.Then([this](QWidget&) {
        form.CreditForm->KreditkartenBox->Button(1)->click();
        form.CreditForm->KartNrField->SetAsString("4929123412341234");
        form.CreditForm->KartDateField->SetAsString("12/99");
        form.CreditForm->BitBtn1->click();
    });
    form.Kreditkarte->click();
    form.HintForm->HintMemo->setPlainText("Bitte mit Rechnung.\n  Danke!\n");
    const QStringList lines = Copied();
    const QStringList expected = {
        "    Ich zahle per Kreditkarte [Visa / Diners]",
        "    Kartendaten:  Nummer: 4929123412341234   gültig bis: 12/99",
        "",
        "",
        "Bemerkungen und Tips an Kestrova Software:",
        "Bitte mit Rechnung.",
        "  Danke!",
    };
    EXPECT_EQ(lines.mid(lines.size() - expected.size()), expected);
}

TEST_F(OrderOutput, AnOrderOfNothingWithoutCustomerNumberOrRemarksIsStillComposed) {
    form.PandexCDSel->click();
    ASSERT_FALSE(form.PandexCDSel->isChecked());
    form.KdNrField->SetAsString("");
    const QStringList lines = Copied();
    EXPECT_TRUE(lines.contains(Row("  [ ] Kestrova Pandex CD-ROM", 56, "DM 39.80")));
    EXPECT_TRUE(lines.contains("Lieferadresse:"));
    EXPECT_FALSE(lines.join("").contains("Kundennummer"));
    EXPECT_FALSE(lines.join("").contains("Bemerkungen"));
    EXPECT_EQ(lines.back(), "");
}

TEST(ClipboardSink, ARightHandTextKeepsItsPlaceWhileTheLeftOneIsShorter) {
    TClipboardSink sink;
    for (int length : {31, 32, 33}) {
        sink.WriteAt(16, "Tel");
        sink.StepBack();
        sink.WriteAt(0, QString(length, u'L'));
    }
    EXPECT_EQ(sink.Lines(), (QStringList{QString(31, u'L') + " Tel", QString(32, u'L') + "Tel",
                                         QString(33, u'L') + "el"}));
}

// Prints into a PDF file chosen in the printer selection.
class OrderPrinting : public OrderOutput {
protected:
    OrderPrinting() { util::ProgramPrinter().setOutputFileName(QString()); }
    ~OrderPrinting() override { util::ProgramPrinter().setOutputFileName(QString()); }

    // Answers the printer selection with the PDF output and the file dialog with the file.
    void ChoosePdfFile() {
        answers.Then([](QWidget& dialog) {
            auto* printers = dialog.findChild<QComboBox*>("PrinterComboBox");
            printers->setCurrentIndex(printers->findText("PDF-Datei"));
            dialog.findChild<QPushButton*>("BitBtn1")->click();
        });
        answers.Then([this](QWidget& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            ASSERT_NE(files, nullptr);
            files->selectFile(Pdf());
            static_cast<QDialog*>(files)->accept();
        });
    }

    QString Pdf() const { return QString::fromStdString(dir.File("bestellung.pdf")); }

    testing_support::TempDir dir;
};

// The column at which text starts on the line of the PDF text that contains it; -1 if none.
int ColumnOf(const QStringList& lines, const QString& text) {
    for (const QString& line : lines)
        if (const qsizetype at = line.indexOf(text); at >= 0)
            return static_cast<int>(at);
    return -1;
}

TEST_F(OrderPrinting, ThePrintedOrderIsOnePageWithItsRowsAndColumnsInPlace) {
    form.FAQSel->setChecked(true);
    form.HintForm->HintMemo->setPlainText("Weiter so!");
    ChoosePdfFile();
    answers.ThenOk();
    form.show();
    form.PrintBtnClick();
    EXPECT_EQ(answers.Pending(), 0);
    ASSERT_EQ(answers.Shown().size(), 3u);
    EXPECT_EQ(answers.Shown()[2].text, "Das Bestellformular wurde zum Drucker gesendet");
    EXPECT_EQ(form.result(), QDialog::Accepted);

    const QString info = QString::fromStdString(testing_support::RunTool("pdfinfo", {Pdf()}));
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    const QString text = QString::fromStdString(
        testing_support::RunTool("pdftotext", {"-layout", "-enc", "UTF-8", Pdf(), "-"}));
    QStringList lines = text.split('\n');
    lines.removeAll(QString());
    lines.removeAll(QStringLiteral("\f"));

    // Rows: left and right texts on one line, in the order of the letter.
    const QStringList rowStarts = {"Kestrova Software",
                                   "Jonas Kestrov",
                                   "Am Kiesgrund 7",
                                   "Bestellung innerhalb Deutschlands",
                                   "Ich bestelle",
                                   "[X] Kestrova Pandex CD-ROM",
                                   "Lieferadresse:",
                                   "Firma:",
                                   "Ich zahle per Verrechnungsscheck",
                                   "Bemerkungen und Tips",
                                   "Weiter so!"};
    int previous = -1;
    for (const QString& start : rowStarts) {
        const auto found = std::find_if(lines.begin(), lines.end(),
                                        [&](const QString& line) { return line.contains(start); });
        ASSERT_NE(found, lines.end()) << start.toStdString() << "\n" << text.toStdString();
        const int index = static_cast<int>(found - lines.begin());
        EXPECT_GT(index, previous) << start.toStdString();
        previous = index;
    }
    EXPECT_TRUE(lines.filter("Kestrova Software").first().contains("Tel: 089 99998-100"));
    EXPECT_TRUE(lines.filter("[X] Kestrova Pandex CD-ROM").first().contains("DM 39.80"));
    EXPECT_TRUE(lines.filter("Lieferadresse:").first().contains("Kundennummer: 4711A"));
    EXPECT_TRUE(lines.filter("Firma:").first().contains("Muster & Co"));

    // Columns: what is written at one column starts at one place.
    for (const QStringList& column :
         {QStringList{"Tel:", "FAX:", "KestrovaNet:", "FIDO:", "Internet:"},
          QStringList{"Muster & Co", "Eva Muster", "Hauptstraße 1", "10115 Berlin"},
          QStringList{"Firma:", "Name:", "Straße:", "Telefon:", "Ich zahle"}}) {
        for (const QString& item : column)
            EXPECT_EQ(ColumnOf(lines, item), ColumnOf(lines, column.first())) << item.toStdString();
    }
    const auto priceColumn = [&lines](const QString& row) {
        return static_cast<int>(lines.filter(row).first().indexOf("DM"));
    };
    EXPECT_EQ(priceColumn("Abonnement"), priceColumn("CD-ROM"));
    EXPECT_EQ(priceColumn("FAQ auf Diskette"), priceColumn("CD-ROM"));
    EXPECT_LT(ColumnOf(lines, "Bestellung innerhalb"), ColumnOf(lines, "Firma:"));
    EXPECT_LT(ColumnOf(lines, "Firma:"), ColumnOf(lines, "Eva Muster"));
    EXPECT_LT(ColumnOf(lines, "Bemerkungen"), ColumnOf(lines, "Weiter so!"));
    EXPECT_GT(ColumnOf(lines, "Kundennummer:"), ColumnOf(lines, "Lieferadresse:") + 14);
}

TEST_F(OrderPrinting, TheFoldMarksAreLeftOfTheTextAtTheThirdsOfThePage) {
    ChoosePdfFile();
    answers.ThenOk();
    form.show();
    form.PrintBtnClick();
    ASSERT_TRUE(std::filesystem::exists(Pdf().toStdString()));
    // The marks are 4 dots of the 1200-dpi PDF printer wide: two pixels at 600 dpi. Only the
    // strip left of the text is rendered.
    constexpr int kDpi = 600;
    const QRect paper = util::ProgramPrinter().pageLayout().paintRectPixels(kDpi);
    const QString image = QString::fromStdString(dir.File("page"));
    testing_support::RunTool("pdftoppm",
                             {"-r", QString::number(kDpi), "-gray", "-png", "-singlefile", "-x",
                              "0", "-y", "0", "-W", QString::number(paper.left() + kDpi * 8 / 10),
                              "-H", QString::number(paper.bottom()), Pdf(), image});
    const QImage page(image + ".png");
    ASSERT_FALSE(page.isNull());
    const auto dark = [&page](int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            if (qGray(page.pixel(x, y + dy)) < 128)
                return true;
        return false;
    };
    // The marks run from half an inch to six tenths of an inch right of the printable area's
    // corner: the first a tenth of an inch above its first third, the second a tenth of an
    // inch below its second third (the text grid starts an inch and a half down).
    const int x = paper.left() + kDpi * 55 / 100;
    for (const int y : {paper.top() + paper.height() / 3 - kDpi / 10,
                        paper.top() + 2 * paper.height() / 3 + kDpi / 10}) {
        EXPECT_TRUE(dark(x, y)) << y;
        EXPECT_FALSE(dark(x, y + kDpi / 8)) << y;
        EXPECT_FALSE(dark(paper.left() + kDpi * 45 / 100, y)) << y;
        EXPECT_FALSE(dark(paper.left() + kDpi * 65 / 100, y)) << y;
    }
}

TEST_F(OrderPrinting, CancellingThePrinterSelectionPrintsNothingAndTheFormStaysOpen) {
    answers.ThenPress("BitBtn2");
    form.show();
    form.PrintBtnClick();
    EXPECT_EQ(answers.Pending(), 0);
    EXPECT_EQ(answers.Shown().size(), 1u);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(std::filesystem::exists(Pdf().toStdString()));
}

} // namespace
