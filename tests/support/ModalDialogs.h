// Answering modal windows from a test: the next modal window that shows is handed to an action
// (which must end it), after its title and message were recorded. An action may open further
// modal windows; the next queued actions answer those.
#pragma once

#include <QObject>
#include <QPointer>
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

class ModalAnswers : public QObject {
public:
    ModalAnswers();
    ~ModalAnswers() override;

    // Queues an action for the next modal window that shows; the actions run in queue order.
    void Then(std::function<void(QWidget& dialog)> action);
    // Queues closing the next modal window with its OK (or only) button.
    void ThenOk();
    // Queues pressing the button of that object name in the next modal window.
    void ThenPress(const char* buttonName);

    const std::vector<ShownDialog>& Shown() const { return shown_; }
    // The number of queued actions that have not run yet.
    int Pending() const { return static_cast<int>(actions_.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchForNext();
    void Poll();
    bool Answered(QWidget* window) const;

    std::vector<std::function<void(QWidget&)>> actions_;
    std::vector<ShownDialog> shown_;
    // Windows answered that have not hidden since: a window counts as new when it is not here.
    std::vector<QPointer<QWidget>> answered_;
    bool watching_ = false;
};

} // namespace testing_support
