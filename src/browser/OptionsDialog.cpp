#include "browser/OptionsDialog.h"

#include "browser/AnsiText.h"
#include "entryfields/EntryController.h"
#include "entryfields/PictureField.h"
#include "platform/CodePage.h"
#include "rtl/DateUtils.h"
#include "util/AppSettings.h"
#include "util/widgets/ButtonGlyphs.h"
#include "util/widgets/Controls.h"
#include "util/widgets/MsgBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace browser {

using util::Placed;

namespace {

const QChar kDateSeparatorSubst(entryfields::kFirstSubstChar);

void ShowError(QWidget* owner, const QString& text) {
    util::ShowStandardMessage(owner, QStringLiteral("Fehler"), text);
}

} // namespace

TOptionsDialog::TOptionsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("Kestrova Vitrine - Optionen"));
    setFixedSize(386, 170);

    DefaultDestLabel = Placed(
        new QLabel(QStringLiteral("voreingestelltes &Zielverzeichnis für Komponenten:"), this),
        "DefaultDestLabel", 12, 10, 362, 17);
    DefaultDestEdit = Placed(new QLineEdit(this), "DefaultDestEdit", 12, 29, 362, 24);
    DefaultDestLabel->setBuddy(DefaultDestEdit);
    HintsCheckBox = Placed(new QCheckBox(QStringLiteral("Zeige &Hints"), this), "HintsCheckBox", 12,
                           64, 200, 20);
    UpdateLabel =
        Placed(new QLabel(QStringLiteral("Update&Datum:"), this), "UpdateLabel", 12, 98, 90, 17);
    OvcController = new entryfields::TEntryController(this);
    OvcController->setObjectName(QStringLiteral("OvcController"));
    const QString dateMask = QStringLiteral("99") + kDateSeparatorSubst + QStringLiteral("99") +
                             kDateSeparatorSubst + QStringLiteral("99");
    UpdateDatumField = Placed(new entryfields::TPictureField(OvcController, this, dateMask),
                              "UpdateDatumField", 104, 94, 80, 24);
    UpdateDatumField->SetBlanksKept(true);
    UpdateLabel->setBuddy(UpdateDatumField);
    UpdateDatumField->OnUserValidation = [this](entryfields::TEntryField& sender, int& errorCode) {
        UpdateDatumFieldUserValidation(sender, errorCode);
    };
    UpdateDatumField->OnError = [this](entryfields::TEntryField& sender, int errorCode,
                                       const QString& errorText) {
        UpdateDatumFieldError(sender, errorCode, errorText);
    };

    OKBtn = Placed(
        new QPushButton(util::ButtonGlyph(util::TButtonGlyph::Check), QStringLiteral("OK"), this),
        "OKBtn", 200, 132, 85, 28);
    OKBtn->setDefault(true);
    CancelBtn = Placed(new QPushButton(util::ButtonGlyph(util::TButtonGlyph::Cross),
                                       QStringLiteral("Abbrechen"), this),
                       "CancelBtn", 289, 132, 85, 28);
    connect(OKBtn, &QPushButton::clicked, this, &TOptionsDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

TOptionsDialog::~TOptionsDialog() {
    FormDestroy();
}

void TOptionsDialog::FormCreate() {
    userData_ = std::make_unique<entryfields::TUserData>();
    userData_->SetSubstChar(kDateSeparatorSubst, u'.');
    UpdateDatumField->SetUserData(userData_.get());
    UpdateDatumField->SetAsString(AnsiToQt(util::Settings().NewSinceDateText));
}

void TOptionsDialog::FormDestroy() {
    UpdateDatumField->SetUserData(nullptr);
    userData_.reset();
}

QString TOptionsDialog::DefaultDest() const {
    return DefaultDestEdit->text();
}

void TOptionsDialog::SetDefaultDest(const QString& value) {
    if (value != DefaultDest())
        DefaultDestEdit->setText(value);
}

bool TOptionsDialog::HintsOn() const {
    return HintsCheckBox->isChecked();
}

void TOptionsDialog::SetHintsOn(bool value) {
    if (value != HintsOn())
        HintsCheckBox->setChecked(value);
}

QString TOptionsDialog::UpdateDateText() const {
    return UpdateDatumField->AsString();
}

void TOptionsDialog::SetUpdateDateText(const QString& value) {
    if (value != UpdateDateText())
        UpdateDatumField->SetAsString(value);
}

int TOptionsDialog::Execute() {
    return util::ExecuteDialog(*this);
}

void TOptionsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    DefaultDestEdit->setFocus();
}

void TOptionsDialog::UpdateDatumFieldUserValidation(entryfields::TEntryField& sender,
                                                    int& errorCode) {
    rtl::TDateTime date = 0;
    if (!rtl::TryStrToDate(QtToAnsi(sender.AsString()), rtl::CurrentYear(), date))
        errorCode = entryfields::oeInvalidDate;
}

void TOptionsDialog::UpdateDatumFieldError(entryfields::TEntryField&, int errorCode,
                                           const QString&) {
    if (errorCode == entryfields::oeInvalidDate)
        ShowError(this, QStringLiteral("Bitte geben sie ein gültiges Datum ein!"));
}

// The settings keep the folder as Windows-1252 text: a character that text lacks would be
// stored as "?" and give another folder.
void TOptionsDialog::OKBtnClick() {
    if (entryfields::TEntryField* failed = OvcController->ValidateEntryFields()) {
        failed->setFocus();
        return;
    }
    if (!platform::Utf8ToAnsi1252(DefaultDest().toStdString())) {
        ShowError(this, QStringLiteral("Das Zielverzeichnis enthält Zeichen, die nicht "
                                       "gespeichert werden können."));
        DefaultDestEdit->setFocus();
        return;
    }
    accept();
}

} // namespace browser
