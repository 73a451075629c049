#include "search/SearchWindows.h"

#include "browser/MainWindow.h"
#include "search/SearchDialog.h"
#include "search/SearchResults.h"

#include <QToolButton>

namespace search {

TSearchWindows CreateSearchWindows(browser::TPandexCDMain& mainWindow) {
    auto* dialog = new TSearchdlg(&mainWindow);
    auto* results = new TSearchfounddlg(
        *dialog, *mainWindow.OverviewOL, mainWindow.BrowzerContainer(),
        [&mainWindow] { mainWindow.ShowSelectedEntry(); }, &mainWindow);
    QObject::connect(mainWindow.SBSearch, &QToolButton::clicked, results,
                     &TSearchfounddlg::SearchCommand);
    // A search reads the main window's catalogue and overview: it ends before they go.
    QObject::connect(&mainWindow, &browser::TPandexCDMain::Closed, results,
                     &TSearchfounddlg::StopSearch);
    QObject::connect(&mainWindow, &browser::TPandexCDMain::Destroying, results,
                     &TSearchfounddlg::StopSearch);
    return {dialog, results};
}

} // namespace search
