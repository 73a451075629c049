// Widget and application states held for the length of a scope and given back when it ends,
// also when it ends by an exception.
#pragma once

#include <QApplication>
#include <QWidget>

namespace util {

// Suspends a widget's repainting; the earlier setting comes back afterwards.
class UpdatesSuspended {
public:
    explicit UpdatesSuspended(QWidget& widget)
        : widget_(widget), wasEnabled_(widget.updatesEnabled()) {
        widget_.setUpdatesEnabled(false);
    }
    ~UpdatesSuspended() { widget_.setUpdatesEnabled(wasEnabled_); }
    UpdatesSuspended(const UpdatesSuspended&) = delete;
    UpdatesSuspended& operator=(const UpdatesSuspended&) = delete;

private:
    QWidget& widget_;
    bool wasEnabled_;
};

// The hourglass; the previous cursor comes back afterwards.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace util
