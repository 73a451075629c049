#include "browser/MainWindow.h"

#include "browser/AboutBox.h"
#include "browser/AnsiText.h"
#include "browser/EntryDetails.h"
#include "browser/Images.h"
#include "browser/Outline.h"
#include "browser/RecordLoading.h"
#include "browser/SplitControl.h"
#include "browser/TextView.h"
#include "browser/WideInfoForm.h"
#include "catalog/Records.h"
#include "util/AppSettings.h"
#include "util/Paths.h"
#include "util/widgets/Controls.h"
#include "util/widgets/MsgBox.h"
#include "util/widgets/Printing.h"
#include "util/widgets/Thread.h"
#include "util/widgets/VitrineApplication.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QThread>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace browser {

using util::Named;
using util::Placed;

// The selection watcher: every 100 ms it hands the main window's selection check to the GUI
// thread, until it is told to stop.
class TUpdateThread final : public util::TThread {
public:
    explicit TUpdateThread(TPandexCDMain& window) : window_(window) {
        SetPriority(util::TThreadPriority::tpBelowNormal);
    }

protected:
    void Execute() override {
        while (!Terminated()) {
            Synchronize([this] { CheckSelectionReportingErrors(); });
            QThread::msleep(100);
        }
    }

private:
    // An entry that cannot be shown goes to the application's handler; the watch goes on.
    void CheckSelectionReportingErrors() {
        if (Terminated())
            return;
        try {
            window_.CheckSelection();
        } catch (const std::exception& error) {
            if (auto* app = util::VitrineApplication::Instance())
                app->HandleException(error);
        }
    }

    TPandexCDMain& window_;
};

namespace {

constexpr int kButtonBarHeight = 29;
constexpr QSize kCommandButtonSize(25, 25);
constexpr QSize kNavButtonSize(22, 23);
constexpr int kPanelTop = kButtonBarHeight;
constexpr int kHistoryLimit = 20;
constexpr int kNarrowestInfoPanel = 80;
constexpr const char* kErrorCaption = "Vitrine - Fehler";
constexpr const char* kDamagedCatalogue = "Fehler beim Laden der Datenbank!";

// A catalogue whose files open but whose content cannot be read: no outline, lists that do not
// fit together, blocks or strings that end early, dates that are no dates.
bool IsDamagedCatalogue(const std::exception& error) {
    return dynamic_cast<const catalog::EBrowzerError*>(&error) ||
           dynamic_cast<const rtl::EListError*>(&error) ||
           dynamic_cast<const rtl::EReadError*>(&error) ||
           dynamic_cast<const rtl::EConvertError*>(&error);
}

QFrame* Panel(QWidget* parent, const char* name, QRect geometry) {
    auto* panel = Named(new QFrame(parent), name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(geometry);
    return panel;
}

QToolButton* CommandButton(QWidget* parent, const char* name, const QString& hint, Glyph glyph,
                           QSize size) {
    auto* button = Named(new QToolButton(parent), name);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setIcon(GlyphIcon(glyph));
    button->setIconSize(QSize(18, 18));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->resize(size);
    return button;
}

void ShowStandardError(const std::exception& error) {
    if (auto* app = util::VitrineApplication::Instance())
        app->ShowException(error);
}

void ExitForWrongVersion(const std::string& message) {
    util::ExecuteMsgBox(QStringLiteral("Fehler"), AnsiToQt(message));
    std::exit(1);
}

TMainWindowSetup WithDefaults(TMainWindowSetup setup) {
    if (setup.programFolder.empty())
        setup.programFolder = util::ProgramDir();
    if (!setup.showMessage)
        setup.showMessage = [](const QString& caption, const QString& text) {
            util::ExecuteMsgBox(caption, text);
        };
    if (!setup.showError)
        setup.showError = ShowStandardError;
    if (!setup.onWrongVersion)
        setup.onWrongVersion = ExitForWrongVersion;
    return setup;
}

// The component summary: font 0 at 10 points, font 1 at 8 points in bold.
void SetStuffViewFonts(TKVTextView& view) {
    view.FontSizes.Put(0, 20);
    view.FontSizes.Put(1, 16);
    view.FontBold.Put(1, 1);
}

// The catalogue file in the Data folder when it is there, else the one in the program folder.
std::string LocateFile(const std::string& programFolder, const std::string& name) {
    const std::filesystem::path folder(programFolder);
    const std::filesystem::path inData = folder / "Data" / name;
    std::error_code ignored;
    if (std::filesystem::is_regular_file(inData, ignored))
        return inData.string();
    return (folder / name).string();
}

} // namespace

TPandexCDMain::TPandexCDMain(TMainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(WithDefaults(std::move(setup))),
      browzerContainer_(std::make_unique<catalog::TBrowzerContainer>(nullptr)) {
    setObjectName(QStringLiteral("PandexCDMain"));
    setWindowTitle(QStringLiteral("Kestrova Pandex Vitrine"));
    setAttribute(Qt::WA_AlwaysShowToolTips);
    client_ = Named(new QWidget(this), "ClientArea");
    setCentralWidget(client_);
    client_->installEventFilter(this);
    CreateButtonBar();
    CreateOverviewPanel();
    CreateInfoPanel();
    CreateMenu();
    setMinimumSize(640, 460);
    resize(588, 441);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    browzerContainer_->OnWrongVersion = setup_.onWrongVersion;
    // Nothing is shown yet: the commands that need an entry start disabled.
    ApplyViewMode(vmNone);
    FormCreate();
}

TPandexCDMain::~TPandexCDMain() {
    emit Destroying();
    FormDestroy();
}

void TPandexCDMain::CreateButtonBar() {
    ButtonBar = Panel(client_, "ButtonBar", QRect(0, 0, 588, kButtonBarHeight));
    struct Entry {
        QToolButton** member;
        const char* name;
        const char* hint;
        Glyph glyph;
        bool gapAfter;
    };
    const Entry entries[] = {
        {&SBFirst, "SBFirst", "Überblick zurücksetzen", Glyph::First, false},
        {&SBPrev, "SBPrev", "eine Ebene höher", Glyph::LevelUp, false},
        {&SBDown, "SBDown", "eine Zeile weiter nach unten", Glyph::Down, true},
        {&SBCopy, "SBCopy", "Text in die Zwischenablage kopieren", Glyph::Copy, false},
        {&SBPrintText, "SBPrintText", "Text drucken", Glyph::Print, false},
        {&SBInstall, "SBInstall", "Programm installieren", Glyph::Install, true},
        {&SBSearch, "SBSearch", "im Text Suchen", Glyph::Search, true},
        {&SBOrderBtn, "SBOrderBtn", "Bestellen", Glyph::Order, false},
        {&SBTerminalBtn, "SBTerminalBtn", "Terminalprogramm starten", Glyph::Terminal, true},
        {&SBOptions, "SBOptions", "Einstellungen des Vitrines", Glyph::Options, false},
        {&SBInfo, "SBInfo", "Informationen über das Programm", Glyph::Info, true},
        {&QuitButton, "QuitButton", "Vitrine beenden", Glyph::Quit, false},
    };
    int x = 2;
    for (const Entry& entry : entries) {
        *entry.member = CommandButton(ButtonBar, entry.name, QString::fromUtf8(entry.hint),
                                      entry.glyph, kCommandButtonSize);
        (*entry.member)->move(x, 2);
        x += kCommandButtonSize.width() + (entry.gapAfter ? 6 : 0);
    }
    connect(SBFirst, &QToolButton::clicked, this, &TPandexCDMain::SBFirstClick);
    connect(SBPrev, &QToolButton::clicked, this, &TPandexCDMain::SBPrevClick);
    connect(SBDown, &QToolButton::clicked, this, &TPandexCDMain::SBDownClick);
    connect(SBInfo, &QToolButton::clicked, this, &TPandexCDMain::SBInfoClick);
    connect(QuitButton, &QToolButton::clicked, this, &TPandexCDMain::QuitButtonClick);
}

QAction* TPandexCDMain::MenuItem(QMenu* menu, const char* name, const QString& caption,
                                 const QString& shortcut, QToolButton* twin) {
    QAction* item = menu->addAction(caption);
    Named(item, name);
    if (!shortcut.isEmpty())
        item->setShortcut(QKeySequence(shortcut));
    if (twin != nullptr) {
        item->setStatusTip(twin->toolTip());
        // A menu item with a twin button runs the button's command.
        connect(item, &QAction::triggered, twin, [twin] { twin->click(); });
    }
    return item;
}

void TPandexCDMain::CreateMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("BrowzerMenu"));
    MIFile = Named(bar->addMenu(QStringLiteral("&Datei")), "MIFile");
    MIInstall = MenuItem(MIFile, "MIInstall", QStringLiteral("&Installation"),
                         QStringLiteral("Ctrl+I"), SBInstall);
    MISearch =
        MenuItem(MIFile, "MISearch", QStringLiteral("&Suchen"), QStringLiteral("Ctrl+S"), SBSearch);
    MIPrint = MenuItem(MIFile, "MIPrint", QStringLiteral("&Drucken"), QStringLiteral("Ctrl+D"),
                       SBPrintText);
    MIOrder = MenuItem(MIFile, "MIOrder", QStringLiteral("Beste&llen"), QStringLiteral("Ctrl+B"),
                       SBOrderBtn);
    MIFile->addSeparator();
    MITerminal = MenuItem(MIFile, "MITerminal", QStringLiteral("&Terminal"),
                          QStringLiteral("Ctrl+T"), SBTerminalBtn);
    MIFile->addSeparator();
    MIOptions = MenuItem(MIFile, "MIOptions", QStringLiteral("&Optionen"), QStringLiteral("Ctrl+O"),
                         SBOptions);
    MIPrinterSetup = MenuItem(MIFile, "MIPrinterSetup", QStringLiteral("Drucker&einstellungen"),
                              QStringLiteral("Ctrl+E"), nullptr);
    connect(MIPrinterSetup, &QAction::triggered, this, &TPandexCDMain::MIPrinterSetupClick);
    MIFile->addSeparator();
    MIQuit = MenuItem(MIFile, "MIQuit", QStringLiteral("&Beenden"), QStringLiteral("Alt+F4"),
                      QuitButton);
    MIHelp = Named(bar->addMenu(QStringLiteral("&Hilfe")), "MIHelp");
    MIAbout = MenuItem(MIHelp, "MIAbout", QStringLiteral("&Info..."), QString(), SBInfo);
}

void TPandexCDMain::CreateOverviewPanel() {
    OverviewPanel = Panel(client_, "OverviewPanel", QRect(1, kPanelTop, 176, 364));
    OverviewPanel->installEventFilter(this);
    OverViewLabel = Named(new QLabel(QStringLiteral("Überbli&ck"), OverviewPanel), "OverViewLabel");
    OverViewLabel->move(6, 2);
    OverviewOL = Named(new TBrowzerOutline(OverviewPanel), "OverviewOL");
    OverviewOL->move(6, 19);
    OverViewLabel->setBuddy(OverviewOL);
    connect(OverviewOL, &TBrowzerOutline::RightButtonPressed, this, [this] {
        // A right click installs the entry shown on the right.
        if (SBInstall->isEnabled())
            SBInstall->click();
    });

    Splitter = Named(new QFrame(client_), "Splitter");
    Splitter->setGeometry(178, kPanelTop, 3, 364);
    Splitter->setCursor(Qt::SplitHCursor);
    Splitter->installEventFilter(this);
}

void TPandexCDMain::CreateInfoPanel() {
    InfoPanel = Panel(client_, "InfoPanel", QRect(181, kPanelTop, 407, 364));
    SBUp = CommandButton(InfoPanel, "SBUp", QStringLiteral("vorheriger Eintrag"), Glyph::NavUp,
                         kNavButtonSize);
    SBUp->move(4, 3);
    SBNext = CommandButton(InfoPanel, "SBNext", QStringLiteral("nächster Eintrag"), Glyph::NavNext,
                           kNavButtonSize);
    SBNext->move(26, 3);
    SBPrevHist = CommandButton(InfoPanel, "SBPrevHist", QStringLiteral("letzter gewählter Eintrag"),
                               Glyph::NavBack, kNavButtonSize);
    SBPrevHist->move(52, 3);
    SBPrevHist->setEnabled(false);
    connect(SBUp, &QToolButton::clicked, this, &TPandexCDMain::SBUpClick);
    connect(SBNext, &QToolButton::clicked, this, &TPandexCDMain::SBNextClick);
    connect(SBPrevHist, &QToolButton::clicked, this, &TPandexCDMain::SBPrevHistClick);

    ShortFileName = Placed(new QLabel(InfoPanel), "ShortFileName", 82, 6, 240, 17);
    ShortFileName->hide();
    ExpandBtn = Named(new QPushButton(QStringLiteral("Er&weitern"), InfoPanel), "ExpandBtn");
    ExpandBtn->resize(75, 23);
    connect(ExpandBtn, &QPushButton::clicked, this, [this] { ExpandBtnClick(true); });

    BrowzerNoteBook = Named(new QStackedWidget(InfoPanel), "BrowzerNoteBook");
    BrowzerNoteBook->move(4, 29);
    ComponentPage = Named(new TComponentPage, "Komponente");
    ShortDescPage = Named(new TShortDescPage, "ShortDesc");
    auto* infoPage = Named(new QWidget, "Infotext");
    TextView = Named(new TKVTextView(infoPage), "TextView");
    BrowzerNoteBook->addWidget(ComponentPage);
    BrowzerNoteBook->addWidget(ShortDescPage);
    BrowzerNoteBook->addWidget(infoPage);
    BrowzerNoteBook->setCurrentWidget(infoPage);
}

void TPandexCDMain::SetActivePage(const QString& name) {
    for (int i = 0; i < BrowzerNoteBook->count(); ++i) {
        if (BrowzerNoteBook->widget(i)->objectName().compare(name, Qt::CaseInsensitive) == 0) {
            BrowzerNoteBook->setCurrentIndex(i);
            return;
        }
    }
}

QString TPandexCDMain::ActivePage() const {
    return BrowzerNoteBook->currentWidget()->objectName();
}

void TPandexCDMain::FormCreate() {
    try {
        catalogueLoaded_ = true;
        UpdateThread = std::make_unique<TUpdateThread>(*this);
        util::ReadAppSettings(util::Settings());
        TextView->Clear();
        SetStuffViewFonts(*ComponentPage->StuffView);
        SplitControl = std::make_unique<TSplitControl>(this);
        history_.Clear();
        recordHistory_ = true;
        LocateCatalogueFiles();
        OpenCatalogue();
        ArrangePanels();
        if (catalogueLoaded_ && setup_.watchSelection)
            UpdateThread->Start();
    } catch (const std::exception& error) {
        // The window is created all the same, with what was filled so far.
        setup_.showError(error);
    }
}

void TPandexCDMain::LocateCatalogueFiles() {
    browzerContainer_->DataFileName =
        LocateFile(setup_.programFolder, catalog::kDefaultDataFileName);
    browzerContainer_->IndexFileName =
        LocateFile(setup_.programFolder, catalog::kDefaultIndexFileName);
}

void TPandexCDMain::OpenCatalogue() {
    const QString caption = QString::fromLatin1(kErrorCaption);
    try {
        browzerContainer_->CheckVersion();
        OverviewOL->FillTree(*browzerContainer_);
        OverviewOL->ResetView();
        TextView->ShowText(*browzerContainer_, 0);
        SetViewMode(vmInfoText);
    } catch (const rtl::EFOpenError&) {
        catalogueLoaded_ = false;
        setup_.showMessage(caption, QStringLiteral("Datenbank nicht gefunden!"));
    } catch (const std::exception& error) {
        catalogueLoaded_ = false;
        if (!IsDamagedCatalogue(error))
            throw;
        setup_.showMessage(caption, QString::fromLatin1(kDamagedCatalogue));
    }
}

void TPandexCDMain::FormDestroy() {
    if (!UpdateThread)
        return;
    UpdateThread->Terminate();
    // Waiting keeps serving the GUI thread: the watcher needs it for its next step before it
    // sees the request. A watcher never started is not waited for.
    UpdateThread->WaitFor();
    UpdateThread.reset();
}

void TPandexCDMain::closeEvent(QCloseEvent* event) {
    if (wideInfoForm_ != nullptr)
        wideInfoForm_->hide();
    QMainWindow::closeEvent(event);
    emit Closed();
}

bool TPandexCDMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize)
        FormResize();
    else if (watched == OverviewPanel && event->type() == QEvent::Resize)
        ArrangePanels();
    else if (watched == Splitter)
        return SplitterMouseEvent(event);
    return QMainWindow::eventFilter(watched, event);
}

bool TPandexCDMain::SplitterMouseEvent(QEvent* event) {
    if (!SplitControl)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() == Qt::LeftButton && mouse->modifiers() == Qt::NoModifier) {
            SplitControl->BeginSplit(Splitter, OverviewPanel);
            return true;
        }
        return false;
    }
    case QEvent::MouseMove:
        if (SplitControl->Splitting()) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            SplitControl->MoveSplit(at.x(), at.y());
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (SplitControl->Splitting()) {
            SplitControl->EndSplit();
            KeepSplitterInside();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TPandexCDMain::FormResize() {
    ButtonBar->resize(client_->width(), kButtonBarHeight);
    Splitter->resize(Splitter->width(), client_->height() - Splitter->y());
    // Before the window shows, its client area does not have its size yet.
    if (isVisible())
        KeepSplitterInside();
    ArrangePanels();
}

// The bar stays inside the window, with room for the detail area's navigation buttons: a drag
// past the edge, or a narrower window, would otherwise hide the detail area.
void TPandexCDMain::KeepSplitterInside() {
    const int widest = client_->width() - 1 - Splitter->width() - kNarrowestInfoPanel;
    if (OverviewPanel->width() > widest)
        OverviewPanel->resize(std::max(0, widest), OverviewPanel->height());
}

void TPandexCDMain::ArrangePanels() {
    OverviewPanel->resize(OverviewPanel->width(), Splitter->height());
    Splitter->move(OverviewPanel->width() + 1, Splitter->y());
    const int x = Splitter->x() + Splitter->width();
    InfoPanel->setGeometry(x, InfoPanel->y(), client_->width() - x, Splitter->height());
    ExpandBtn->move(InfoPanel->width() - ExpandBtn->width() - 2, 3);
    const int pageWidth = InfoPanel->width() - 8;
    const int pageHeight = InfoPanel->height() - BrowzerNoteBook->y() - 4;
    BrowzerNoteBook->setGeometry(BrowzerNoteBook->x(), BrowzerNoteBook->y(), pageWidth, pageHeight);
    ComponentPage->ResizeBox(pageWidth, pageHeight);
    ComponentPage->FitWidths();
    ShortDescPage->ResizeMemo(pageWidth, pageHeight);
    TextView->setGeometry(0, 0, pageWidth, pageHeight);
    OverviewOL->setGeometry(OverviewOL->x(), OverviewOL->y(), OverviewPanel->width() - 8,
                            OverviewPanel->height() - OverviewOL->y() - 4);
}

void TPandexCDMain::SetViewMode(std::uint8_t mode) {
    if (mode == viewMode_)
        return;
    viewMode_ = mode;
    ApplyViewMode(mode);
}

void TPandexCDMain::ApplyViewMode(std::uint8_t mode) {
    SetActivePage(mode == vmShortDesc   ? QStringLiteral("ShortDesc")
                  : mode == vmComponent ? QStringLiteral("Komponente")
                                        : QStringLiteral("Infotext"));
    if (mode == vmNone)
        TextView->hide();
    ShortFileName->setVisible(mode == vmShortDesc);
    SBInstall->setEnabled(mode == vmShortDesc || mode == vmComponent);
    const bool hasText = mode != vmNone;
    SBCopy->setEnabled(hasText);
    SBPrintText->setEnabled(hasText);
    if (mode != vmComponent && wideInfoForm_ != nullptr)
        wideInfoForm_->hide();
    MIPrint->setEnabled(SBPrintText->isEnabled());
    MIInstall->setEnabled(SBInstall->isEnabled());
    ExpandBtn->setVisible(ActivePage() == QStringLiteral("Komponente"));
}

void TPandexCDMain::CheckSelection() {
    QTreeWidgetItem* selected = OverviewOL->SelectedNode();
    if (selected == OverviewOL->LastShownNode())
        return;
    OverviewOL->SetLastShownNode(selected);
    ShowSelectedEntry();
}

void TPandexCDMain::ShowSelectedEntry() {
    // Recording resumes with this entry whatever happens to it.
    const bool record = std::exchange(recordHistory_, true);
    QTreeWidgetItem* node = OverviewOL->SelectedNode();
    // Also when a caller shows the selection itself (the search's OK): the watcher must not
    // show it once more.
    OverviewOL->SetLastShownNode(node);
    if (node == nullptr) {
        SetViewMode(vmNone);
        return;
    }
    const int index = TBrowzerOutline::NodeIndex(node);
    SetViewMode(ShowEntry(index));
    if (record)
        RecordInHistory(index);
}

std::uint8_t TPandexCDMain::ShowEntry(int index) {
    catalog::TBrowzerContainer& container = *browzerContainer_;
    try {
        if (TextView->ShowText(container, index))
            return vmInfoText;
        if (ShowShortText(container, index))
            return vmShortDesc;
        if (ShowComponent(container, index))
            return vmComponent;
        return vmNone;
    } catch (const std::exception& error) {
        // The user learns that the catalogue is damaged, in German, not the reader's English
        // detail ("Invalid property value").
        if (IsDamagedCatalogue(error))
            throw catalog::EBrowzerError(kDamagedCatalogue);
        throw;
    }
}

void TPandexCDMain::RecordInHistory(int index) {
    if (history_.Count() > kHistoryLimit)
        history_.Delete(0);
    if (history_.Count() == 0 || history_.Items(history_.Count() - 1) != index)
        history_.Add(index);
    UpdateBackButton();
}

void TPandexCDMain::UpdateBackButton() {
    SBPrevHist->setEnabled(history_.Count() > 1);
}

void TPandexCDMain::SBPrevHistClick() {
    const int count = history_.Count();
    if (count >= 2) {
        const int index = history_.Items(count - 2);
        history_.Delete(count - 2);
        OverviewOL->SelectIndex(index);
        // The watcher shows (without recording) only a selection that moved; going back to the
        // entry on show already leaves nothing to skip.
        recordHistory_ = OverviewOL->SelectedNode() == OverviewOL->LastShownNode();
    }
    UpdateBackButton();
}

bool TPandexCDMain::ShowShortText(catalog::TBrowzerContainer& container, int index) {
    std::int32_t ref = catalog::kNoRecord;
    if (!EntryRecordRef(container, index, ref) ||
        catalog::RecordKindOf(ref) != catalog::RecordKind::Short)
        return false;
    catalog::TShortText record(nullptr);
    LoadRecordAt(container, catalog::RecordOffset(ref), record);
    ShortFileName->setText(AnsiToQt(ShortTextFileName(record)));
    ShortDescPage->ShowShort(record);
    return true;
}

bool TPandexCDMain::ShowComponent(catalog::TBrowzerContainer& container, int index) {
    std::int32_t ref = catalog::kNoRecord;
    if (!EntryRecordRef(container, index, ref) ||
        catalog::RecordKindOf(ref) != catalog::RecordKind::Compo)
        return false;
    auto record = std::make_unique<catalog::TCompoText>(nullptr);
    catalog::TCompoText& compo = *record;
    // The new record becomes the current one also when showing it fails.
    currentCompo_ = std::move(record);
    LoadRecordAt(container, catalog::RecordOffset(ref), compo);
    ComponentPage->ShowCompo(compo);
    FormResize();
    return true;
}

void TPandexCDMain::ExpandBtnClick(bool show) {
    if (!currentCompo_ || wideInfoForm_ == nullptr)
        return;
    wideInfoForm_->Fill(*currentCompo_);
    if (show) {
        wideInfoForm_->show();
        wideInfoForm_->raise();
    }
}

void TPandexCDMain::SBFirstClick() {
    OverviewOL->ResetView();
}

void TPandexCDMain::SBPrevClick() {
    OverviewOL->MoveLevelUp();
}

void TPandexCDMain::SBDownClick() {
    OverviewOL->MoveDown();
}

void TPandexCDMain::SBUpClick() {
    OverviewOL->MoveUp();
}

void TPandexCDMain::SBNextClick() {
    OverviewOL->MoveNext();
}

void TPandexCDMain::MIPrinterSetupClick() {
    // The printers of the printing system, and always the PDF output.
    QPrintDialog dialog(&util::ProgramPrinter(), this);
    dialog.setWindowTitle(QStringLiteral("Druckereinstellungen"));
    dialog.exec();
}

void TPandexCDMain::SBInfoClick() {
    TCDAboutBox about(this);
    about.SetDataDir(
        QString::fromStdString((std::filesystem::path(setup_.programFolder) / "Data").string()));
    about.exec();
}

void TPandexCDMain::QuitButtonClick() {
    close();
}

} // namespace browser
