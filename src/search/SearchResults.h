// TSearchfounddlg: the non-modal results window of the full-text search. It lives for the whole
// run, keeps the last result list, starts searches (its own button and the main window's search
// command) and hands a chosen hit to the overview.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace catalog {
class TBrowzerContainer;
}
namespace browser {
class TBrowzerOutline;
}

namespace search {

class TSearchdlg;
class TSearchThread;

class TSearchfounddlg : public QDialog {
    Q_OBJECT

public:
    // showSelectedEntry is the main window's ShowSelectedEntry.
    TSearchfounddlg(TSearchdlg& searchDialog, browser::TBrowzerOutline& outline,
                    catalog::TBrowzerContainer& container, std::function<void()> showSelectedEntry,
                    QWidget* parent = nullptr);
    // Stops a running search and waits until every search thread has freed itself, serving
    // their hand-overs meanwhile.
    ~TSearchfounddlg() override;

    // The main window's search command: re-shows a window that holds hits, else asks for a new
    // search.
    void SearchCommand();
    // Asks for an expression and, on OK, stops a running search and starts a new one.
    void NewSearchBtnClick();
    // Stops a running search and waits until every search thread started here has ended and
    // freed itself.
    void StopSearch();

    // True from the start of a search until its thread has ended.
    bool Searching() const { return SearchThread != nullptr; }
    // The running search's thread; null when none runs.
    TSearchThread* SearchThread = nullptr;

    QLabel* Label1;
    QLabel* Searchedplaces;
    QLabel* Label2;
    QLabel* Foundplaces;
    QListWidget* SrchOutputListBox;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* NewSearchBtn;

    // Steps of the search thread; they run in the GUI thread.
    void StartSearch(const std::string& searchText);
    void ShowSearched(int entryIndex);
    void AddHit(const std::string& hitName, int entryIndex, int hitCount);
    void SearchDone(const std::string& searchText);

private slots:
    void OKBtnClick();
    void CancelBtnClick();

private:
    void ThreadDone(TSearchThread* thread);
    void SetPaintThrottled(bool throttled);
    void PaintChanges();
    void SetChangingControlsUpdates(bool enabled);
    void SetSearchCaption(const std::string& searchText, const char* suffix);

    TSearchdlg& searchDialog_;
    browser::TBrowzerOutline& outline_;
    catalog::TBrowzerContainer& container_;
    std::function<void()> showSelectedEntry_;
    QTimer* paintTimer_;
    // Threads started here that may not have freed themselves yet.
    std::vector<std::weak_ptr<const void>> startedThreads_;
};

} // namespace search
