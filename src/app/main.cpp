// vitrine: the catalogue viewer. Sets the process-wide defaults, shows the splash window while
// the windows are created (the main window opens the catalogue), and runs the message loop until
// the main window closes.
//
// Command line: see app/CommandLine.h. VITRINE_SMOKE_QUIT_MS=n closes the main window n
// milliseconds after start: a headless smoke run that must end with exit code 0.
#include "app/CommandLine.h"
#include "browser/EntryOutput.h"
#include "browser/MainWindow.h"
#include "browser/OptionsCommand.h"
#include "browser/Splash.h"
#include "browser/WideInfoForm.h"
#include "install/InstallCommand.h"
#include "install/UnzipLibrary.h"
#include "order/OrderCommand.h"
#include "search/SearchWindows.h"
#include "terminal/TerminalCommand.h"
#include "util/widgets/PlatformMessageBox.h"
#include "util/widgets/VitrineApplication.h"

#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const QString kTitle = QStringLiteral("Kestrova Pandex Vitrine");

// Closes the window after the delay that VITRINE_SMOKE_QUIT_MS names, if it names one.
void ScheduleSmokeQuit(QWidget& window) {
    const char* delay = std::getenv("VITRINE_SMOKE_QUIT_MS");
    if (delay == nullptr)
        return;
    bool valid = false;
    const int milliseconds = QString::fromLatin1(delay).toInt(&valid);
    if (valid && milliseconds >= 0)
        QTimer::singleShot(milliseconds, &window, &QWidget::close);
}

} // namespace

int main(int argc, char** argv) {
    // Help and version are printed before the application exists: they need no display.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    switch (program::ParseCommandLine(arguments).action) {
    case program::TCommandLine::Action::Help:
        std::fputs(program::UsageText().c_str(), stdout);
        return 0;
    case program::TCommandLine::Action::Version:
        std::fputs(program::VersionText().c_str(), stdout);
        return 0;
    default:
        break;
    }
    util::VitrineApplication app(argc, argv);
    // The application has taken out the GUI library's own options.
    const program::TCommandLine commandLine =
        program::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (commandLine.action != program::TCommandLine::Action::Run) {
        std::fprintf(stderr, "vitrine: %s\n%s", commandLine.error.c_str(),
                     program::UsageText().c_str());
        return 2;
    }
    util::ShowPlatformMessagesInBoxes();
    // Loaded before any window exists; the program cannot run without it.
    const install::TUnzipLibrary unzipLibrary;
    if (!unzipLibrary.Loaded())
        return 1;
    app.SetTitle(kTitle);
    QApplication::setApplicationName(kTitle);

    auto splash = std::make_unique<browser::TCDSplash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    browser::TMainWindowSetup setup;
    setup.programFolder = commandLine.folder;
    browser::TPandexCDMain mainWindow(setup);
    // From here on the install dialog handles the errors nothing else caught.
    install::CreateInstallDialog(mainWindow);
    // Child windows of the main window: they live exactly as long as it does.
    auto* wideInfoForm = new browser::TWideInfoForm(&mainWindow);
    mainWindow.SetWideInfoForm(wideInfoForm);
    search::CreateSearchWindows(mainWindow);
    browser::ConnectEntryOutput(mainWindow);
    browser::CreateOptionsDialog(mainWindow);
    order::ConnectOrderCommand(mainWindow);
    terminal::ConnectTerminalCommand(mainWindow);
    QObject::connect(&mainWindow, &browser::TPandexCDMain::Closed, &app, &QApplication::quit);

    splash.reset();
    mainWindow.show();
    ScheduleSmokeQuit(mainWindow);
    return QApplication::exec();
}
