// The search windows of a main window: the search dialog and the results window, created as its
// children so they live exactly as long as it does. The main window's search button (and with it
// the menu item) runs the search command; closing or destroying the main window stops a running
// search while the catalogue and the overview still exist.
#pragma once

namespace browser {
class TPandexCDMain;
}

namespace search {

class TSearchdlg;
class TSearchfounddlg;

struct TSearchWindows {
    TSearchdlg* Searchdlg;
    TSearchfounddlg* Searchfounddlg;
};

TSearchWindows CreateSearchWindows(browser::TPandexCDMain& mainWindow);

} // namespace search
