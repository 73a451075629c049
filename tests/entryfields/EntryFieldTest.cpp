#include "entryfields/EntryField.h"

#include "entryfields/EntryController.h"
#include "entryfields/PictureField.h"
#include "support/ModalDialogs.h"
#include "support/QtPrinting.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>

using namespace entryfields;

namespace {

const QString kDateMask = QString("99") + QChar(0xF1) + "99" + QChar(0xF1) + "99";

class EntryFields : public testing::Test {
protected:
    EntryFields() { userData.SetSubstChar(QChar(0xF1), u'.'); }

    TPictureField* DateTextField() {
        auto* field = new TPictureField(&controller, &form, kDateMask);
        field->SetUserData(&userData);
        field->SetBlanksKept(true);
        return field;
    }

    QDialog form;
    TEntryController controller{&form};
    TUserData userData;
};

TEST_F(EntryFields, TypingFollowsTheMask) {
    TPictureField* field = DateTextField();
    EXPECT_EQ(field->AsString(), "  .  .  ");
    // Literals are skipped over, a letter is refused, a typed literal moves past its place.
    QTest::keyClicks(field, "02x05.96");
    EXPECT_EQ(field->AsString(), "02.05.96");
    EXPECT_EQ(field->cursorPosition(), 8);
    QTest::keyClick(field, '7');
    EXPECT_EQ(field->AsString(), "02.05.96");

    // Backspace and Delete blank positions; nothing shifts.
    field->setCursorPosition(6);
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->AsString(), "02.0 .96");
    EXPECT_EQ(field->cursorPosition(), 4);
    field->setCursorPosition(0);
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(field->AsString(), " 2.0 .96");
    EXPECT_EQ(field->cursorPosition(), 0);

    // Typing over a selection blanks it first.
    field->setSelection(0, 8);
    QTest::keyClicks(field, "3112");
    EXPECT_EQ(field->AsString(), "31.12.  ");
}

TEST_F(EntryFields, PastingTypesEachCharacterByTheMask) {
    auto* postalCode = new TPictureField(&controller, &form, "99999");
    QApplication::clipboard()->setText("A-12 34");
    QTest::keySequence(postalCode, QKeySequence::Paste);
    EXPECT_EQ(postalCode->text(), "12 34");
    EXPECT_EQ(postalCode->Validate(), oeNoError);
}

TEST_F(EntryFields, ABlankOrShortDigitFieldIsValidAndAForbiddenCharacterFails) {
    auto* postalCode = new TPictureField(&controller, &form, "99999");
    EXPECT_EQ(postalCode->Validate(), oeNoError);
    postalCode->SetAsString("1010");
    EXPECT_EQ(postalCode->AsString(), "1010");
    EXPECT_EQ(postalCode->text(), "1010 ");
    EXPECT_EQ(postalCode->Validate(), oeNoError);
    postalCode->SetAsString("12a45");
    EXPECT_EQ(postalCode->Validate(), oeInvalidCharacter);
}

TEST_F(EntryFields, TextIsTrimmedUnlessBlanksAreKept) {
    auto* name = new TSimpleField(&controller, &form, 50);
    EXPECT_EQ(name->maxLength(), 50);
    name->SetAsString("  Eva Muster ");
    EXPECT_EQ(name->AsString(), "Eva Muster");
    name->SetBlanksKept(true);
    EXPECT_EQ(name->AsString(), "  Eva Muster ");
}

TEST_F(EntryFields, AShorterMaskCutsTheTextAndTheMaximumLength) {
    auto* number = new TPictureField(&controller, &form, "9999999999999999");
    number->SetAsString("1234567890123456");
    number->SetPictureMask("999999999999999");
    EXPECT_EQ(number->maxLength(), 15);
    EXPECT_EQ(number->AsString(), "123456789012345");
    number->SetPictureMask("9999999999999999");
    EXPECT_EQ(number->maxLength(), 16);
    EXPECT_EQ(number->AsString(), "123456789012345");
}

TEST_F(EntryFields, AMonthFieldDatesTheLastDayOfItsMonth) {
    TDateField field(&controller, &form, "mm/yy");
    field.SetAsString("02/24");
    EXPECT_EQ(field.AsDateTime(), rtl::EncodeDate(rtl::CurrentYear() / 100 * 100 + 24, 2, 29));
    field.SetAsString("11/25");
    EXPECT_EQ(field.AsDateTime(), rtl::EncodeDate(rtl::CurrentYear() / 100 * 100 + 25, 11, 30));
    field.SetAsDateTime(rtl::EncodeDate(2031, 7, 4));
    EXPECT_EQ(field.AsString(), "07/31");
    for (const char* bad : {"13/25", "00/25", "  /  ", "1 /25"}) {
        field.SetAsString(bad);
        EXPECT_EQ(field.AsDateTime(), std::nullopt) << bad;
        EXPECT_EQ(field.Validate(), oeInvalidDate) << bad;
    }
}

TEST_F(EntryFields, TheControllerReportsTheFirstFailingFieldInTabOrder) {
    auto* first = new TPictureField(&controller, &form, "99999");
    auto* second = new TPictureField(&controller, &form, "99999");
    auto* third = DateTextField();
    TEntryController other(&form);
    auto* foreign = new TPictureField(&other, &form, "99999");
    foreign->SetAsString("x");
    QWidget::setTabOrder(first, third);
    QWidget::setTabOrder(third, second);
    ASSERT_EQ(controller.Fields(), (std::vector<TEntryField*>{first, third, second}));
    EXPECT_EQ(controller.ValidateEntryFields(), nullptr);

    // The user validation decides about the date text; the error event hears of it.
    std::vector<std::pair<int, QString>> errors;
    third->OnUserValidation = [](TEntryField& sender, int& errorCode) {
        rtl::TDateTime date = 0;
        if (!rtl::TryStrToDate(sender.AsString().toStdString(), rtl::CurrentYear(), date))
            errorCode = oeInvalidDate;
    };
    third->OnError = [&errors](TEntryField&, int errorCode, const QString& text) {
        errors.emplace_back(errorCode, text);
    };
    second->SetAsString("1a");
    second->OnError = third->OnError;
    third->SetAsString("31.02.96");
    EXPECT_EQ(controller.ValidateEntryFields(), third);
    EXPECT_EQ(errors, (std::vector<std::pair<int, QString>>{{oeInvalidDate, "Ungültiges Datum."}}));

    third->SetAsString("29.02.96");
    EXPECT_EQ(controller.ValidateEntryFields(), second);
    EXPECT_EQ(errors.back().first, oeInvalidCharacter);
}

TEST_F(EntryFields, WithoutAnErrorEventTheLibraryShowsTheError) {
    auto* expiry = new TDateField(&controller, &form, "mm/yy");
    expiry->SetAsString("13/25");
    testing_support::ModalAnswers answers;
    answers.ThenOk();
    EXPECT_EQ(controller.ValidateEntryFields(), expiry);
    ASSERT_EQ(answers.Shown().size(), 1u);
    EXPECT_EQ(answers.Shown()[0].title, "Fehler");
    EXPECT_EQ(answers.Shown()[0].text, "Ungültiges Datum.");
}

} // namespace
