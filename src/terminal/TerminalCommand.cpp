#include "terminal/TerminalCommand.h"

#include "browser/MainWindow.h"
#include "comms/Terminal.h"
#include "terminal/TerminalForm.h"

#include <QToolButton>

namespace terminal {

void ConnectTerminalCommand(browser::TPandexCDMain& mainWindow) {
    QObject::connect(mainWindow.SBTerminalBtn, &QToolButton::clicked, &mainWindow,
                     [&mainWindow] { SBTerminalBtnClick(mainWindow); });
}

TTerminalForm& SBTerminalBtnClick(browser::TPandexCDMain& mainWindow) {
    auto* form = mainWindow.findChild<TTerminalForm*>(QString(), Qt::FindDirectChildrenOnly);
    // A child of the main window: it lives until the program ends.
    if (!form)
        form = new TTerminalForm(&mainWindow);
    form->show();
    form->raise();
    form->activateWindow();
    form->Terminal->SetActive(true);
    return *form;
}

} // namespace terminal
