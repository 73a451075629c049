// The entry-field controller of a form: it validates the form's fields that belong to it, in
// the form's tab order, and hands back the first one that fails.
#pragma once

#include <QObject>
#include <vector>

class QWidget;

namespace entryfields {

class TEntryField;

class TEntryController : public QObject {
    Q_OBJECT

public:
    // The form whose fields the controller validates; it owns the controller.
    explicit TEntryController(QWidget* form);

    // The controller's fields in the form's tab order.
    std::vector<TEntryField*> Fields() const;

    // Validates every field in tab order; the first that fails reports its error and is
    // returned. Null when all are valid.
    TEntryField* ValidateEntryFields();

private:
    QWidget* form_;
};

} // namespace entryfields
