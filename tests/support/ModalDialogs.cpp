#include "support/ModalDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>

namespace testing_support {

namespace {

QString MessageText(const QWidget& dialog) {
    if (const auto* box = qobject_cast<const QMessageBox*>(&dialog))
        return box->text();
    return dialog.accessibleDescription();
}

} // namespace

ModalAnswers::ModalAnswers() = default;

ModalAnswers::~ModalAnswers() {
    for (const QPointer<QWidget>& window : answered_) {
        if (window)
            window->removeEventFilter(this);
    }
}

void ModalAnswers::Then(std::function<void(QWidget& dialog)> action) {
    actions_.push_back(std::move(action));
    WatchForNext();
}

void ModalAnswers::ThenOk() {
    Then([](QWidget& dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
            box->button(QMessageBox::Ok)->click();
            return;
        }
        for (const char* name : {"OKBtn", "BitBtn1"}) {
            if (auto* button = dialog.findChild<QAbstractButton*>(QLatin1String(name));
                button != nullptr && button->isVisible()) {
                button->click();
                return;
            }
        }
        if (auto* plain = qobject_cast<QDialog*>(&dialog))
            plain->accept();
    });
}

void ModalAnswers::ThenPress(const char* buttonName) {
    Then([buttonName](QWidget& dialog) {
        dialog.findChild<QAbstractButton*>(QLatin1String(buttonName))->click();
    });
}

bool ModalAnswers::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide) {
        std::erase_if(answered_, [watched](const QPointer<QWidget>& window) {
            return window.isNull() || window == watched;
        });
        watched->removeEventFilter(this);
    }
    return false;
}

bool ModalAnswers::Answered(QWidget* window) const {
    return std::find(answered_.begin(), answered_.end(), window) != answered_.end();
}

void ModalAnswers::WatchForNext() {
    if (watching_ || actions_.empty())
        return;
    watching_ = true;
    QTimer::singleShot(5, this, &ModalAnswers::Poll);
}

// The next poll is due before the action runs: an action may block in a modal window of its own.
void ModalAnswers::Poll() {
    watching_ = false;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || Answered(modal)) {
        WatchForNext();
        return;
    }
    answered_.emplace_back(modal);
    modal->installEventFilter(this);
    shown_.push_back({modal->windowTitle(), MessageText(*modal)});
    auto action = std::move(actions_.front());
    actions_.erase(actions_.begin());
    WatchForNext();
    action(*modal);
}

} // namespace testing_support
