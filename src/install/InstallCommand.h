// The install command of the main window: its button (and with it the menu item and the right
// click on the overview) hands the shown entry's file over to the install dialog and shows it.
// A catalogue CD in the first CD-ROM drive takes the place of the drive the catalogue names.
#pragma once

#include <string>

namespace browser {
class TPandexCDMain;
}

namespace install {

class TCInstDlg;

// The path of the shown entry's file with the CD's drive letter when the catalogue CD is in.
std::string PathOnCd(const std::string& path);

// Prepares the dialog for the entry shown in the window, without showing it: the group box
// caption, the proposed folder name, the source list on the file's folder with the file
// selected, the folder tree on the default destination.
void PrepareInstallDialog(browser::TPandexCDMain& window, TCInstDlg& dialog);

void SBInstallClick(browser::TPandexCDMain& window, TCInstDlg& dialog);

// Creates the install dialog as a child window of the main window (so it lives as long as it
// does) and connects the install button.
TCInstDlg* CreateInstallDialog(browser::TPandexCDMain& window);

} // namespace install
