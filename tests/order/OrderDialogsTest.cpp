#include "entryfields/PictureField.h"
#include "order/CreditForm.h"
#include "order/PrinterSelForm.h"
#include "order/RadioGroup.h"
#include "rtl/DateUtils.h"
#include "support/ModalDialogs.h"
#include "support/QtPrinting.h"
#include "support/TempDir.h"
#include "util/widgets/MsgBox.h"
#include "util/widgets/Printing.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace order;

namespace {

class CardDialog : public testing::Test {
protected:
    // The expiry field set to the month of a date and OK pressed in the shown dialog; a refusal
    // is answered, and then the dialog cancelled.
    int ConfirmExpiry(rtl::TDateTime date, bool refused) {
        answers.Then([this, date](QWidget&) {
            dialog.KartDateField->SetAsDateTime(date);
            dialog.BitBtn1->click();
            if (dialog.isVisible())
                dialog.BitBtn2->click();
        });
        if (refused)
            answers.ThenOk();
        return dialog.Execute();
    }

    testing_support::ModalAnswers answers;
    TCreditForm dialog;
};

TEST_F(CardDialog, TheExpiryStartsAtTodaysMonth) {
    const rtl::DateParts today = rtl::DecodeDate(rtl::Date());
    EXPECT_EQ(dialog.CardExpiry(), QString::asprintf("%02d/%02d", today.month, today.year % 100));
}

TEST_F(CardDialog, AmericanExpressTakesFifteenDigitsAndTheOthersSixteen) {
    dialog.KreditkartenBox->Button(2)->click();
    EXPECT_EQ(dialog.KartNrField->PictureMask(), "999999999999999");
    EXPECT_EQ(dialog.KartNrField->maxLength(), 15);
    dialog.KreditkartenBox->Button(1)->click();
    EXPECT_EQ(dialog.KartNrField->PictureMask(), "9999999999999999");
    EXPECT_EQ(dialog.KartNrField->maxLength(), 16);
}

TEST_F(CardDialog, APassedMonthIsRefusedAndTheCurrentOneHoldsToItsLastDay) {
    const rtl::DateParts today = rtl::DecodeDate(rtl::Date());
    const rtl::TDateTime firstOfMonth = rtl::EncodeDate(today.year, today.month, 1);
    EXPECT_EQ(ConfirmExpiry(firstOfMonth - 1, true), util::mrCancel);
    ASSERT_EQ(answers.Shown().size(), 2u);
    EXPECT_EQ(answers.Shown()[1].title, "Fehler");
    EXPECT_EQ(answers.Shown()[1].text, "Die Karte ist nicht mehr gültig!");
    EXPECT_EQ(dialog.focusWidget(), dialog.KartDateField);

    EXPECT_EQ(ConfirmExpiry(firstOfMonth, false), util::mrOk);
    EXPECT_EQ(ConfirmExpiry(firstOfMonth + 40, false), util::mrOk);
    EXPECT_EQ(answers.Shown().size(), 4u);
}

TEST_F(CardDialog, AnIncompleteMonthIsNoDate) {
    answers.Then([this](QWidget&) {
        dialog.KartDateField->SetAsString("13/  ");
        dialog.BitBtn1->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.BitBtn2->click();
    });
    answers.ThenOk();
    EXPECT_EQ(dialog.Execute(), util::mrCancel);
    ASSERT_EQ(answers.Shown().size(), 2u);
    EXPECT_EQ(answers.Shown()[1].text, "Ungültiges Datum.");
}

TEST(PrinterSelection, ThePdfOutputAsksForTheFileAndStaysOpenWithoutOne) {
    testing_support::TempDir dir;
    const QString pdf = QString::fromStdString(dir.File("auftrag.pdf"));
    TPrinterSelForm dialog;
    testing_support::ModalAnswers answers;
    answers.Then([&dialog](QWidget&) {
        dialog.PrinterComboBox->setCurrentText("pdf-datei");
        dialog.BitBtn1->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.BitBtn1->click();
    });
    answers.Then([](QWidget& files) { qobject_cast<QFileDialog*>(&files)->reject(); });
    answers.Then([&pdf](QWidget& files) {
        qobject_cast<QFileDialog*>(&files)->selectFile(pdf);
        static_cast<QDialog&>(files).accept();
    });
    EXPECT_EQ(dialog.Execute(), util::mrOk);
    EXPECT_EQ(util::ProgramPrinter().outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(util::ProgramPrinter().outputFileName(), pdf);
    util::ProgramPrinter().setOutputFileName(QString());
}

TEST(PrinterSelection, ANameThatIsNoPrinterIsRefused) {
    TPrinterSelForm dialog;
    testing_support::ModalAnswers answers;
    answers.Then([&dialog](QWidget&) {
        dialog.PrinterComboBox->setCurrentText("Kein Drucker");
        dialog.BitBtn1->click();
        dialog.BitBtn2->click();
    });
    answers.ThenOk();
    EXPECT_EQ(dialog.Execute(), util::mrCancel);
    ASSERT_EQ(answers.Shown().size(), 2u);
    EXPECT_EQ(answers.Shown()[1].text, "Der Drucker \"Kein Drucker\" ist nicht eingerichtet.");
}

} // namespace
