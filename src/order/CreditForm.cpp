#include "order/CreditForm.h"

#include "entryfields/EntryController.h"
#include "entryfields/PictureField.h"
#include "order/EnterKeyRule.h"
#include "order/RadioGroup.h"
#include "rtl/DateUtils.h"
#include "util/widgets/ButtonGlyphs.h"
#include "util/widgets/Controls.h"
#include "util/widgets/MsgBox.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace order {

using util::Placed;

namespace {

constexpr int kAmericanExpress = 2;
const QString kNumberMask16 = QStringLiteral("9999999999999999");
const QString kNumberMask15 = QStringLiteral("999999999999999");

} // namespace

QStringList CardKinds() {
    return {QStringLiteral("&Euro / MasterCard"), QStringLiteral("&Visa / Diners"),
            QStringLiteral("&American Express")};
}

QStringList AustrianCardKinds() {
    return {QStringLiteral("&Euro / MasterCard"), QStringLiteral("&Visa")};
}

TCreditForm::TCreditForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CreditForm"));
    setWindowTitle(QStringLiteral("Creditkarten"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(300, 214);

    KreditkartenBox = Placed(new TRadioGroup(QStringLiteral("Kreditkarten"), this),
                             "KreditkartenBox", 8, 8, 284, 92);
    KreditkartenBox->SetItems(CardKinds());
    Controller = new entryfields::TEntryController(this);
    KartNrLabel =
        Placed(new QLabel(QStringLiteral("Karten&nummer:"), this), "KartNrLabel", 8, 114, 96, 17);
    KartNrField = Placed(new entryfields::TPictureField(Controller, this, kNumberMask16),
                         "KartNrField", 108, 110, 184, 24);
    KartNrLabel->setBuddy(KartNrField);
    KartDateLabel =
        Placed(new QLabel(QStringLiteral("&Gültig bis:"), this), "KartDateLabel", 8, 144, 96, 17);
    KartDateField = Placed(new entryfields::TDateField(Controller, this, QStringLiteral("mm/yy")),
                           "KartDateField", 108, 140, 60, 24);
    KartDateField->SetBlanksKept(true);
    KartDateLabel->setBuddy(KartDateField);
    BitBtn1 = Placed(
        new QPushButton(util::ButtonGlyph(util::TButtonGlyph::Check), QStringLiteral("&OK"), this),
        "BitBtn1", 108, 178, 88, 28);
    BitBtn2 = Placed(new QPushButton(util::ButtonGlyph(util::TButtonGlyph::Cross),
                                     QStringLiteral("Abbruch"), this),
                     "BitBtn2", 204, 178, 88, 28);
    for (QPushButton* button : {BitBtn1, BitBtn2})
        button->setAutoDefault(false);
    connect(KreditkartenBox, &TRadioGroup::Clicked, this, &TCreditForm::KreditkartenBoxClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TCreditForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    new TEnterKeyRule(*this);
    FormCreate();
}

void TCreditForm::FormCreate() {
    KreditkartenBox->SetItemIndex(0);
    KartDateField->SetAsDateTime(rtl::Date());
}

int TCreditForm::Execute() {
    return util::ExecuteDialog(*this);
}

void TCreditForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const int index = KreditkartenBox->ItemIndex(); index >= 0)
        KreditkartenBox->Button(index)->setFocus();
    else if (!KreditkartenBox->Items().isEmpty())
        KreditkartenBox->Button(0)->setFocus();
}

void TCreditForm::SetCardKinds(const QStringList& kinds) {
    KreditkartenBox->SetItems(kinds);
    KreditkartenBoxClick();
}

QString TCreditForm::CardKind() const {
    return KreditkartenBox->ItemText();
}

QString TCreditForm::CardNumber() const {
    return KartNrField->AsString();
}

QString TCreditForm::CardExpiry() const {
    return KartDateField->AsString();
}

void TCreditForm::KreditkartenBoxClick() {
    const bool fifteen = KreditkartenBox->ItemIndex() == kAmericanExpress;
    KartNrField->SetPictureMask(fifteen ? kNumberMask15 : kNumberMask16);
}

void TCreditForm::BitBtn1Click() {
    if (entryfields::TEntryField* failed = Controller->ValidateEntryFields()) {
        failed->setFocus();
        return;
    }
    if (rtl::Date() > KartDateField->AsDateTime().value_or(0)) {
        KartDateField->selectAll();
        KartDateField->setFocus();
        util::ExecuteMsgBox(QStringLiteral("Fehler"),
                            QStringLiteral("Die Karte ist nicht mehr gültig!"));
        return;
    }
    accept();
}

} // namespace order
