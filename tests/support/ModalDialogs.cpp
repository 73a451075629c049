#include "support/ModalDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

namespace testing_support {

QString MessageText(const QWidget& dialog) {
    if (const auto* box = qobject_cast<const QMessageBox*>(&dialog))
        return box->text();
    return dialog.accessibleDescription();
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

// Polls for a new modal window while actions are queued. A window counts as new when it is not
// the one answered last, or that one was shown again.
void ModalAnswers::WatchForNext() {
    if (watching_ || actions_.empty())
        return;
    watching_ = true;
    QTimer::singleShot(5, [this] {
        watching_ = false;
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == lastAnswered_ || !modal->isVisible()) {
            if (modal == nullptr || !modal->isVisible())
                lastAnswered_ = nullptr;
            WatchForNext();
            return;
        }
        lastAnswered_ = modal;
        shown_.push_back({modal->windowTitle(), MessageText(*modal)});
        auto action = std::move(actions_.front());
        actions_.erase(actions_.begin());
        action(*modal);
        WatchForNext();
    });
}

} // namespace testing_support
