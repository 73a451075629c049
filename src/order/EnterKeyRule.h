// The order dialogs' Enter key: it does not end the dialog but moves the focus to the next
// control, or to the previous one with Shift. On a push button Enter presses the button.
#pragma once

#include <QObject>

class QWidget;

namespace order {

class TEnterKeyRule : public QObject {
public:
    // Watches the key presses of the form and of all its controls at the time of the call.
    explicit TEnterKeyRule(QWidget& form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& form_;
};

} // namespace order
