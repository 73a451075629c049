// The order command of a main window: its order button (and with it the menu item) creates an
// order form, shows it modally and frees it, so nothing entered survives from one order to the
// next.
#pragma once

class QWidget;

namespace browser {
class TPandexCDMain;
}

namespace order {

void ConnectOrderCommand(browser::TPandexCDMain& mainWindow);

// Creates the order form over the parent, shows it modally and frees it.
void SBOrderBtnClick(QWidget* parent);

} // namespace order
