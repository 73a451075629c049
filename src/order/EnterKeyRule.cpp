#include "order/EnterKeyRule.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace order {

TEnterKeyRule::TEnterKeyRule(QWidget& form) : QObject(&form), form_(form) {
    form.installEventFilter(this);
    for (QWidget* control : form.findChildren<QWidget*>())
        control->installEventFilter(this);
}

// Enter becomes a posted Tab (Shift+Tab), so the focus moves exactly as the Tab key moves it.
bool TEnterKeyRule::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (auto* button = qobject_cast<QPushButton*>(watched)) {
        button->click();
        return true;
    }
    if (QWidget* focus = form_.focusWidget()) {
        const bool back = key->modifiers() & Qt::ShiftModifier;
        QCoreApplication::postEvent(
            focus, new QKeyEvent(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                                 back ? Qt::ShiftModifier : Qt::NoModifier));
    }
    return true;
}

} // namespace order
