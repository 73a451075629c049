// The terminal command of a main window: its terminal button (and with it the menu item) creates
// the terminal window on first use, keeps it until the program ends, shows it and switches its
// terminal on.
#pragma once

namespace browser {
class TPandexCDMain;
}

namespace terminal {

class TTerminalForm;

void ConnectTerminalCommand(browser::TPandexCDMain& mainWindow);

// The main window's terminal window, created now if it does not exist yet, shown.
TTerminalForm& SBTerminalBtnClick(browser::TPandexCDMain& mainWindow);

} // namespace terminal
