#include "util/widgets/VitrineApplication.h"

#include "platform/CodePage.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <stdexcept>

namespace util {

VitrineApplication::VitrineApplication(int& argc, char** argv)
    : QApplication(argc, argv), title_(applicationName()) {
    LoadGermanTranslations();
}

// The program speaks German whatever the desktop's language: Qt's own texts (standard buttons,
// context menus such as "Kopieren" and "Alles auswählen", the printer dialogs) come from its
// German translations. Without them installed, Qt's English texts remain.
void VitrineApplication::LoadGermanTranslations() {
    const QLocale german(QLocale::German, QLocale::Germany);
    QLocale::setDefault(german);
    auto* translator = new QTranslator(this);
    if (translator->load(german, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    else
        delete translator;
}

VitrineApplication* VitrineApplication::Instance() {
    return qobject_cast<VitrineApplication*>(QCoreApplication::instance());
}

void VitrineApplication::SetErrorHandler(ErrorHandler handler) {
    errorHandler_ = std::move(handler);
}

void VitrineApplication::ShowException(const std::exception& error) {
    const QString message = QString::fromStdString(platform::Ansi1252ToUtf8(error.what()));
    QMessageBox::critical(activeWindow(), title_, message);
}

bool VitrineApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        HandleException(error);
    } catch (...) {
        HandleException(std::runtime_error("Unknown exception"));
    }
    return false;
}

// A failing handler must not end the program either: its own error is dropped.
void VitrineApplication::HandleException(const std::exception& error) {
    try {
        if (errorHandler_)
            errorHandler_(error);
        else
            ShowException(error);
    } catch (...) {
    }
}

} // namespace util
