// The program's application object: it speaks German (Qt's German translations are loaded), and
// it catches exceptions that escape event handlers and passes them to a replaceable handler for
// uncaught errors, so one failed action never ends the program.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace util {

class VitrineApplication : public QApplication {
    Q_OBJECT

public:
    using ErrorHandler = std::function<void(const std::exception& error)>;

    VitrineApplication(int& argc, char** argv);

    // The caption of the standard error display; the application name until set.
    QString Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }

    // Replaces the handler for uncaught errors; an empty handler restores the standard error
    // display.
    void SetErrorHandler(ErrorHandler handler);

    // The standard error display: a message box with the title as caption and the error's message
    // (program messages are Windows-1252 text).
    void ShowException(const std::exception& error);

    bool notify(QObject* receiver, QEvent* event) override;

    static VitrineApplication* Instance();

    // Passes an error that escaped an action to the handler for uncaught errors.
    void HandleException(const std::exception& error);

private:
    void LoadGermanTranslations();

    QString title_;
    ErrorHandler errorHandler_;
};

} // namespace util
