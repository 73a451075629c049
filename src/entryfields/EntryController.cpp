#include "entryfields/EntryController.h"

#include "entryfields/EntryField.h"

#include <QWidget>

namespace entryfields {

TEntryController::TEntryController(QWidget* form) : QObject(form), form_(form) {}

std::vector<TEntryField*> TEntryController::Fields() const {
    std::vector<TEntryField*> fields;
    for (QWidget* widget = form_->nextInFocusChain(); widget != form_;
         widget = widget->nextInFocusChain()) {
        auto* field = qobject_cast<TEntryField*>(widget);
        if (field != nullptr && field->Controller() == this)
            fields.push_back(field);
    }
    return fields;
}

TEntryField* TEntryController::ValidateEntryFields() {
    for (TEntryField* field : Fields()) {
        const int errorCode = field->Validate();
        if (errorCode != oeNoError) {
            field->ReportError(errorCode);
            return field;
        }
    }
    return nullptr;
}

} // namespace entryfields
