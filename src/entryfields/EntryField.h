// The entry fields of a form: a line edit that belongs to an entry-field controller, reads and
// writes its text by the field's rules, and validates it. The controller (EntryController.h)
// validates a form's fields in tab order.
//
// Validation runs the field's own check, then its user-validation event, which may set an error
// code; a field with an error code fails, and its error event (or, without one, the library's
// message box) reports it.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <functional>

namespace entryfields {

class TEntryController;

// Error codes of the validation events.
inline constexpr int oeNoError = 0;
inline constexpr int oeInvalidCharacter = 258;
inline constexpr int oeInvalidDate = 259;

// The library's text for an error code.
QString ErrorText(int errorCode);

class TEntryField : public QLineEdit {
    Q_OBJECT

public:
    using TUserValidationEvent = std::function<void(TEntryField& sender, int& errorCode)>;
    using TErrorEvent =
        std::function<void(TEntryField& sender, int errorCode, const QString& errorText)>;

    TEntryField(TEntryController* controller, QWidget* parent);

    TEntryController* Controller() const;

    // The field's text; leading and trailing blanks are trimmed unless blanks are kept.
    virtual QString AsString() const;
    virtual void SetAsString(const QString& text);
    bool BlanksKept() const { return blanksKept_; }
    void SetBlanksKept(bool kept) { blanksKept_ = kept; }

    // The field's own check and then the user validation: the error code, 0 when valid.
    int Validate();
    // Reports an error code through the error event, or the library's message box.
    void ReportError(int errorCode);

    TUserValidationEvent OnUserValidation;
    TErrorEvent OnError;

protected:
    // The error code of the field's own rules.
    virtual int CheckValue() const { return oeNoError; }

private:
    QPointer<TEntryController> controller_;
    bool blanksKept_ = false;
};

// A field of free text with a maximum length.
class TSimpleField : public TEntryField {
    Q_OBJECT

public:
    TSimpleField(TEntryController* controller, QWidget* parent, int maxLength);
};

} // namespace entryfields
