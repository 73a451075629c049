#include "OrderTestSupport.h"
#include "browser/MainWindow.h"
#include "entryfields/PictureField.h"
#include "order/BestellForm.h"
#include "order/CreditForm.h"
#include "order/HintForm.h"
#include "order/OrderCommand.h"
#include "order/RadioGroup.h"
#include "support/ModalDialogs.h"
#include "support/QtPrinting.h"
#include "support/TempDir.h"
#include "util/widgets/ApplicationHints.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace order;

namespace {

class OrderForm : public testing::Test {
protected:
    testing_support::ModalAnswers answers;
    TBestellForm form;
};

TEST_F(OrderForm, ACountryChangeSetsItsOffersAndCardKindsAndFallsBackToTheCheque) {
    form.Nachnahme->click();
    form.CountryBox->setCurrentIndex(ocOesterreich);
    EXPECT_TRUE(form.VScheck->isChecked());
    EXPECT_TRUE(form.FAQSel->isHidden());
    EXPECT_EQ(form.CreditForm->KreditkartenBox->Items(), AustrianCardKinds());
    form.CountryBox->setCurrentIndex(ocSchweiz);
    EXPECT_EQ(form.CreditForm->KreditkartenBox->Items(), CardKinds());
    EXPECT_EQ(answers.Shown().size(), 0u);
}

TEST_F(OrderForm, OutsideTheEuTheCustomsMessageShowsOncePerChange) {
    answers.ThenOk();
    form.CountryBox->setCurrentIndex(ocNichtEUAusland);
    ASSERT_EQ(answers.Shown().size(), 1u);
    EXPECT_EQ(answers.Shown()[0].text, "Achtung: Beim Verschicken in Nicht-EU-Länder trägt der "
                                       "Empfänger die Zollkosten in voller Höhe!");
    form.UpdateCountry(ocNichtEUAusland);
    EXPECT_EQ(answers.Shown().size(), 1u);
    form.CountryBox->setCurrentIndex(ocDeutschland);
    answers.ThenOk();
    form.CountryBox->setCurrentIndex(ocNichtEUAusland);
    EXPECT_EQ(answers.Shown().size(), 2u);
}

TEST_F(OrderForm, CdAndSubscriptionExcludeEachOtherButMayBothBeOff) {
    form.AboSel->click();
    EXPECT_TRUE(form.AboSel->isChecked());
    EXPECT_FALSE(form.PandexCDSel->isChecked());
    form.PandexCDSel->click();
    EXPECT_TRUE(form.PandexCDSel->isChecked());
    EXPECT_FALSE(form.AboSel->isChecked());
    form.PandexCDSel->click();
    EXPECT_FALSE(form.PandexCDSel->isChecked());
    EXPECT_FALSE(form.AboSel->isChecked());
}

// The tooltip the form shows for a control, as the mouse resting on it asks for it.
QString ToolTipOf(QWidget* control) {
    QToolTip::hideText();
    QHelpEvent request(QEvent::ToolTip, QPoint(2, 2), control->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(control, &request);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "qtooltip_label" && widget->isVisible())
            return qobject_cast<QLabel*>(widget)->text();
    return {};
}

TEST(OrderFormHints, TheFormsTooltipsShowOnTwoAndThreeLinesWhileItExists) {
    EXPECT_FALSE(util::ApplicationOnShowHint());
    {
        TBestellForm form;
        form.show();
        EXPECT_EQ(ToolTipOf(form.PrintBtn), "Drucken des Formulars\n(Faxen mit Faxdruckertreiber)");
        EXPECT_EQ(ToolTipOf(form.Rechnung),
                  "Sie bezahlen die Rechnung spätestens\n14 Tage nach Erhalt ohne Abzüge\nauf "
                  "unser Konto.");
        EXPECT_EQ(ToolTipOf(form.KdNrField), "Bei Neukunden frei lassen");
        EXPECT_EQ(ToolTipOf(form.OpenHintBtn), "Vorschläge an Kestrova Software");
    }
    EXPECT_FALSE(util::ApplicationOnShowHint());
}

TEST_F(OrderForm, AFieldThatFailsGetsTheFocusAndNothingIsCopied) {
    QApplication::clipboard()->setText("vorher");
    form.show();
    form.PLZField->SetAsString("12a45");
    answers.ThenOk();
    form.ClipBrdBtnClick();
    ASSERT_EQ(answers.Shown().size(), 1u);
    EXPECT_EQ(answers.Shown()[0].title, "Fehler");
    EXPECT_EQ(form.focusWidget(), form.PLZField);
    EXPECT_EQ(QApplication::clipboard()->text(), "vorher");
}

TEST_F(OrderForm, ACardPaymentWithoutACardKindAsksForOneAndComposesNothing) {
    QApplication::clipboard()->setText("vorher");
    answers.Then([this](QWidget& dialog) {
        EXPECT_EQ(&dialog, form.CreditForm);
        form.CreditForm->BitBtn2->click();
    });
    form.Kreditkarte->click();
    // Cancelling the card dialog leaves the card payment chosen.
    EXPECT_TRUE(form.Kreditkarte->isChecked());
    answers.ThenOk();
    answers.ThenPress("BitBtn2");
    form.ClipBrdBtnClick();
    ASSERT_EQ(answers.Shown().size(), 3u);
    EXPECT_EQ(answers.Shown()[1].title, "Fehler");
    EXPECT_EQ(answers.Shown()[1].text, "Bitte wählen Sie die Kreditkarte aus.");
    EXPECT_EQ(answers.Shown()[2].title, "Creditkarten");
    EXPECT_EQ(QApplication::clipboard()->text(), "vorher");
}

TEST_F(OrderForm, ReopeningTheCardDialogShowsTheDataEnteredBefore) {
    answers.Then([this](QWidget&) {
        form.CreditForm->KreditkartenBox->Button(2)->click();
        QTest::keyClicks(form.CreditForm->KartNrField, "371449635398431");
        form.CreditForm->BitBtn1->click();
    });
    form.Kreditkarte->click();
    answers.Then([this](QWidget&) {
        EXPECT_EQ(form.CreditForm->CardKind(), "&American Express");
        EXPECT_EQ(form.CreditForm->CardNumber(), "371449635398431");
        form.CreditForm->BitBtn2->click();
    });
    form.Kreditkarte->click();
    EXPECT_EQ(answers.Pending(), 0);
    // A new country replaces the kinds; none is chosen, and the number takes 16 digits again.
    form.CountryBox->setCurrentIndex(ocSchweiz);
    EXPECT_EQ(form.CreditForm->CardKind(), "");
    EXPECT_EQ(form.CreditForm->KartNrField->maxLength(), 16);
}

TEST_F(OrderForm, EnterMovesToTheNextControlAndShiftEnterBack) {
    form.show();
    QApplication::setActiveWindow(&form);
    form.NameField->setFocus();
    QTest::keyClick(form.NameField, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(form.focusWidget(), form.Streetfield);
    QTest::keyClick(form.Streetfield, Qt::Key_Return, Qt::ShiftModifier);
    QApplication::processEvents();
    EXPECT_EQ(form.focusWidget(), form.NameField);
    // On a button Enter presses it.
    answers.ThenOk();
    QTest::keyClick(form.OpenHintBtn, Qt::Key_Return);
    ASSERT_EQ(answers.Shown().size(), 1u);
    EXPECT_EQ(answers.Shown()[0].title, "Vorschläge an Kestrova Software");
    EXPECT_TRUE(form.isVisible());
}

TEST(OrderCommand, TheOrderButtonAndMenuItemOpenAFreshFormEachTime) {
    testing_support::TempDir folder;
    browser::TMainWindowSetup setup;
    setup.programFolder = folder.Path().string();
    setup.showMessage = [](const QString&, const QString&) {};
    setup.watchSelection = false;
    browser::TPandexCDMain window(setup);
    ConnectOrderCommand(window);
    testing_support::ModalAnswers answers;
    answers.Then([](QWidget& form) {
        auto* order = qobject_cast<TBestellForm*>(&form);
        ASSERT_NE(order, nullptr);
        order->NameField->SetAsString("Eingegeben");
        order->CancelBtn->click();
    });
    window.SBOrderBtn->click();
    answers.Then([](QWidget& form) {
        auto* order = qobject_cast<TBestellForm*>(&form);
        ASSERT_NE(order, nullptr);
        EXPECT_NE(order->NameField->AsString(), "Eingegeben");
        order->CancelBtn->click();
    });
    window.MIOrder->trigger();
    EXPECT_EQ(answers.Pending(), 0);
    EXPECT_EQ(window.findChild<TBestellForm*>(), nullptr);
}

} // namespace
