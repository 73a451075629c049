#include "util/widgets/ApplicationHints.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPointer>
#include <QToolTip>
#include <QWidget>

namespace util {

namespace {

// Sees every tooltip request of the application before the widget does.
class THintFilter : public QObject {
public:
    using QObject::QObject;

    bool ShowHint = true;
    TShowHintEvent OnShowHint;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        if (!ShowHint) {
            QToolTip::hideText();
            return true;
        }
        if (!OnShowHint)
            return false;
        QWidget* control = HintControl(static_cast<QWidget*>(watched));
        if (control == nullptr)
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        QString hint = control->toolTip();
        bool canShow = true;
        THintInfo info{control, help->globalPos()};
        const TShowHintEvent handler = OnShowHint;
        handler(hint, canShow, info);
        if (canShow && !hint.isEmpty())
            QToolTip::showText(help->globalPos(), hint, control, QRect(),
                               control->toolTipDuration());
        else
            QToolTip::hideText();
        return true;
    }

private:
    // The widget whose tooltip the request shows: the first one with a tooltip from the widget
    // up to its window, as the widgets themselves pass the request on.
    static QWidget* HintControl(QWidget* widget) {
        for (; widget != nullptr; widget = widget->parentWidget()) {
            if (!widget->toolTip().isEmpty())
                return widget;
            if (widget->isWindow())
                break;
        }
        return nullptr;
    }
};

// The filter lives with the application object; a later application gets a new one.
THintFilter& Filter() {
    static QPointer<THintFilter> filter;
    if (filter.isNull()) {
        filter = new THintFilter(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(filter);
    }
    return *filter;
}

} // namespace

bool ApplicationShowHint() {
    return Filter().ShowHint;
}

void SetApplicationShowHint(bool on) {
    Filter().ShowHint = on;
    if (!on)
        QToolTip::hideText();
}

const TShowHintEvent& ApplicationOnShowHint() {
    return Filter().OnShowHint;
}

void SetApplicationOnShowHint(TShowHintEvent handler) {
    Filter().OnShowHint = std::move(handler);
}

} // namespace util
