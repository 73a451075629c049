// Answering modal windows from a test: the next modal window that shows is handed to an action
// (which must end it), after its title and message were recorded.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace testing_support {

struct ShownDialog {
    QString title;
    // A message box's text: QMessageBox's text, or the program's message box's message.
    QString text;
};

class ModalAnswers {
public:
    // Queues an action for the next modal window that shows; the actions run in queue order.
    void Then(std::function<void(QWidget& dialog)> action);
    // Queues closing the next modal window with its OK (or only) button.
    void ThenOk();
    // Queues pressing the button of that object name in the next modal window.
    void ThenPress(const char* buttonName);

    const std::vector<ShownDialog>& Shown() const { return shown_; }
    // The number of queued actions that have not run yet.
    int Pending() const { return static_cast<int>(actions_.size()); }

private:
    void WatchForNext();

    std::vector<std::function<void(QWidget&)>> actions_;
    std::vector<ShownDialog> shown_;
    QWidget* lastAnswered_ = nullptr;
    bool watching_ = false;
};

// The text of a message box: QMessageBox's text, or the program's message box's message.
QString MessageText(const QWidget& dialog);

} // namespace testing_support
