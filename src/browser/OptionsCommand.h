// The options dialog of a main window and its options command. The dialog is created as a child
// of the main window, so it lives exactly as long as it does; the options button (and with it
// the menu item) runs the round trip.
#pragma once

namespace util {
struct AppSettings;
}

namespace browser {

class TBrowzerOutline;
class TOptionsDialog;
class TPandexCDMain;

// Creates the dialog and wires the options command. The tooltips follow the stored setting from
// here on.
TOptionsDialog* CreateOptionsDialog(TPandexCDMain& mainWindow);

// Fills the dialog from the settings and shows it. Only after OK: the settings take its values
// (all three together), the overview repaints its new-entry images, the tooltips follow the
// switch, and the settings are written.
void OptionsRoundTrip(TOptionsDialog& dialog, util::AppSettings& settings,
                      TBrowzerOutline& outline);

} // namespace browser
