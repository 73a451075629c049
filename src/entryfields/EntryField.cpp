#include "entryfields/EntryField.h"

#include "entryfields/EntryController.h"
#include "util/widgets/MsgBox.h"

namespace entryfields {

QString ErrorText(int errorCode) {
    switch (errorCode) {
    case oeInvalidCharacter:
        return QStringLiteral("Unzulässiges Zeichen in der Eingabe.");
    case oeInvalidDate:
        return QStringLiteral("Ungültiges Datum.");
    default:
        return QStringLiteral("Ungültige Eingabe (Fehler %1).").arg(errorCode);
    }
}

TEntryField::TEntryField(TEntryController* controller, QWidget* parent)
    : QLineEdit(parent), controller_(controller) {}

TEntryController* TEntryField::Controller() const {
    return controller_;
}

QString TEntryField::AsString() const {
    return blanksKept_ ? text() : text().trimmed();
}

void TEntryField::SetAsString(const QString& text) {
    setText(text);
}

int TEntryField::Validate() {
    int errorCode = CheckValue();
    if (errorCode == oeNoError && OnUserValidation)
        OnUserValidation(*this, errorCode);
    return errorCode;
}

void TEntryField::ReportError(int errorCode) {
    if (OnError) {
        OnError(*this, errorCode, ErrorText(errorCode));
        return;
    }
    util::ExecuteMsgBox(QStringLiteral("Fehler"), ErrorText(errorCode));
}

TSimpleField::TSimpleField(TEntryController* controller, QWidget* parent, int maxLength)
    : TEntryField(controller, parent) {
    setMaxLength(maxLength);
}

} // namespace entryfields
