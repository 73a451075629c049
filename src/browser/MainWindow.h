// TPandexCDMain: the main window. It opens the catalogue, shows the overview tree on the left and
// the selected entry on the right, carries the menu and the button bars, keeps the history of
// shown entries and routes the commands. A selection watcher thread (TUpdateThread) shows a newly
// selected entry about every 100 ms.
#pragma once

#include "catalog/Container.h"
#include "catalog/IntList.h"

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace catalog {
class TCompoText;
}

namespace browser {

class TBrowzerOutline;
class TComponentPage;
class TKVTextView;
class TShortDescPage;
class TSplitControl;
class TUpdateThread;
class TWideInfoForm;

enum TViewMode : std::uint8_t { vmNone = 0, vmInfoText = 1, vmShortDesc = 2, vmComponent = 3 };

// What the window takes from its surroundings; every part has a default for the real program.
struct TMainWindowSetup {
    // The folder where the data file and the Data/ folder with the index are looked for;
    // empty: the running program's folder.
    std::string programFolder;
    // A message box with OK (caption, text); default: TMsgBox.
    std::function<void(const QString& caption, const QString& text)> showMessage;
    // An error that ends the window's creation early; default: the application's standard error
    // display.
    std::function<void(const std::exception& error)> showError;
    // The data file has the wrong version; default: the message box "Fehler", then exit code 1.
    std::function<void(const std::string& message)> onWrongVersion;
    // Start the selection watcher when the catalogue loaded.
    bool watchSelection = true;
};

class TPandexCDMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TPandexCDMain(TMainWindowSetup setup = {}, QWidget* parent = nullptr);
    ~TPandexCDMain() override;

    // Switches the detail page and the command states; nothing happens for the current mode.
    void SetViewMode(std::uint8_t mode);
    std::uint8_t ViewMode() const { return viewMode_; }
    // Shows the entry selected in the overview and records it in the history; the watcher takes
    // it as shown.
    void ShowSelectedEntry();
    // The selection watcher's step: shows the selected node when it is not the one last shown.
    void CheckSelection();
    // The entry as a short text / a component; false at once for an entry of another kind.
    bool ShowShortText(catalog::TBrowzerContainer& container, int index);
    bool ShowComponent(catalog::TBrowzerContainer& container, int index);
    // Fills the wide detail window from the component shown last; shows it when show is set.
    void ExpandBtnClick(bool show);
    void FormResize();
    void ArrangePanels();

    // The secondary window of the component page's long texts (created by the program).
    void SetWideInfoForm(TWideInfoForm* form) { wideInfoForm_ = form; }
    TWideInfoForm* WideInfoForm() const { return wideInfoForm_; }

    bool CatalogueLoaded() const { return catalogueLoaded_; }
    const catalog::TIntList& History() const { return history_; }
    const catalog::TCompoText* CurrentCompo() const { return currentCompo_.get(); }
    catalog::TBrowzerContainer& BrowzerContainer() { return *browzerContainer_; }

    // Command handlers with a fixed meaning now; the others are wired by their subsystems.
    void SBFirstClick();
    void SBPrevClick();
    void SBDownClick();
    void SBUpClick();
    void SBNextClick();
    void SBPrevHistClick();
    void MIPrinterSetupClick();
    void SBInfoClick();
    void QuitButtonClick();

    QFrame* ButtonBar;
    QToolButton* SBFirst;
    QToolButton* SBPrev;
    QToolButton* SBDown;
    QToolButton* SBCopy;
    QToolButton* SBPrintText;
    QToolButton* SBInstall;
    QToolButton* SBSearch;
    QToolButton* SBOrderBtn;
    QToolButton* SBTerminalBtn;
    QToolButton* SBOptions;
    QToolButton* SBInfo;
    QToolButton* QuitButton;

    QFrame* OverviewPanel;
    QLabel* OverViewLabel;
    TBrowzerOutline* OverviewOL;
    QFrame* Splitter;
    QFrame* InfoPanel;
    QToolButton* SBUp;
    QToolButton* SBNext;
    QToolButton* SBPrevHist;
    QLabel* ShortFileName;
    QPushButton* ExpandBtn;
    QStackedWidget* BrowzerNoteBook;
    TComponentPage* ComponentPage;
    TShortDescPage* ShortDescPage;
    TKVTextView* TextView;

    QMenu* MIFile;
    QAction* MIInstall;
    QAction* MISearch;
    QAction* MIPrint;
    QAction* MIOrder;
    QAction* MITerminal;
    QAction* MIOptions;
    QAction* MIPrinterSetup;
    QAction* MIQuit;
    QMenu* MIHelp;
    QAction* MIAbout;

signals:
    // The window was closed; the program ends.
    void Closed();
    // The window is being destroyed (also without being closed); the catalogue and the overview
    // still exist.
    void Destroying();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateButtonBar();
    void CreateMenu();
    void CreateOverviewPanel();
    void CreateInfoPanel();
    QAction* MenuItem(QMenu* menu, const char* name, const QString& caption,
                      const QString& shortcut, QToolButton* twin);
    // The page, visibility and command states of a view mode.
    void ApplyViewMode(std::uint8_t mode);
    void SetActivePage(const QString& name);
    QString ActivePage() const;

    void FormCreate();
    void LocateCatalogueFiles();
    void OpenCatalogue();
    void FormDestroy();
    bool SplitterMouseEvent(QEvent* event);
    void KeepSplitterInside();
    // Shows the entry in the view of its kind; the mode of that view. A damaged record raises
    // EBrowzerError with the German message.
    std::uint8_t ShowEntry(int index);
    void RecordInHistory(int index);
    void UpdateBackButton();

    TMainWindowSetup setup_;
    QWidget* client_;
    std::unique_ptr<catalog::TBrowzerContainer> browzerContainer_;
    TWideInfoForm* wideInfoForm_ = nullptr;

    // The form's fields, in their order.
    std::unique_ptr<TSplitControl> SplitControl;
    catalog::TIntList history_;
    std::uint8_t viewMode_ = vmNone;
    std::unique_ptr<TUpdateThread> UpdateThread;
    bool recordHistory_ = true;
    std::unique_ptr<catalog::TCompoText> currentCompo_;
    bool catalogueLoaded_ = true;
};

} // namespace browser
