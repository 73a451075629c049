#include "search/SearchResults.h"

#include "browser/AnsiText.h"
#include "browser/Images.h"
#include "browser/Outline.h"
#include "search/SearchDialog.h"
#include "search/SearchThread.h"
#include "util/widgets/Controls.h"
#include "util/widgets/Thread.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <array>

namespace search {

namespace {

constexpr int kEntryIndexRole = Qt::UserRole;
constexpr std::chrono::milliseconds kPaintInterval(40);

} // namespace

TSearchfounddlg::TSearchfounddlg(TSearchdlg& searchDialog, browser::TBrowzerOutline& outline,
                                 catalog::TBrowzerContainer& container,
                                 std::function<void()> showSelectedEntry, QWidget* parent)
    : QDialog(parent), searchDialog_(searchDialog), outline_(outline), container_(container),
      showSelectedEntry_(std::move(showSelectedEntry)) {
    setObjectName("Searchfounddlg");
    setWindowTitle("Volltextsuche...");
    setFixedSize(382, 309);
    setFont(QFont("System"));

    Label1 = util::Placed(new QLabel("durchsucht:", this), "Label1", 10, 8, 80, 16);
    Searchedplaces = util::Placed(new QLabel("0", this), "Searchedplaces", 92, 8, 60, 16);
    Searchedplaces->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2 = util::Placed(new QLabel("Fundstellen:", this), "Label2", 200, 8, 90, 16);
    Foundplaces = util::Placed(new QLabel("0", this), "Foundplaces", 292, 8, 60, 16);
    Foundplaces->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SrchOutputListBox = util::Placed(new QListWidget(this), "SrchOutputListBox", 8, 30, 366, 232);
    SrchOutputListBox->setUniformItemSizes(true);
    SrchOutputListBox->setStyleSheet("QListWidget::item { height: 16px; }");
    OKBtn = util::Placed(new QPushButton("OK", this), "OKBtn", 8, 270, 110, 31);
    CancelBtn = util::Placed(new QPushButton("Abbrechen", this), "CancelBtn", 136, 270, 110, 31);
    NewSearchBtn =
        util::Placed(new QPushButton("Neue &Suche", this), "NewSearchBtn", 264, 270, 110, 31);
    NewSearchBtn->setIcon(browser::GlyphIcon(browser::Glyph::Search));
    OKBtn->setEnabled(false);
    SrchOutputListBox->setFocus();

    paintTimer_ = new QTimer(this);
    paintTimer_->setInterval(kPaintInterval);
    connect(paintTimer_, &QTimer::timeout, this, &TSearchfounddlg::PaintChanges);
    connect(OKBtn, &QPushButton::clicked, this, &TSearchfounddlg::OKBtnClick);
    connect(SrchOutputListBox, &QListWidget::itemDoubleClicked, this, &TSearchfounddlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TSearchfounddlg::CancelBtnClick);
    connect(NewSearchBtn, &QPushButton::clicked, this, &TSearchfounddlg::NewSearchBtnClick);
}

TSearchfounddlg::~TSearchfounddlg() {
    StopSearch();
}

void TSearchfounddlg::SearchCommand() {
    if (SrchOutputListBox->count() > 0)
        show();
    else
        NewSearchBtnClick();
}

void TSearchfounddlg::NewSearchBtnClick() {
    if (searchDialog_.Execute() != 1)
        return;
    if (SearchThread)
        SearchThread->Terminate();
    SrchOutputListBox->clear();
    OKBtn->setEnabled(false);
    auto* thread = new TSearchThread(searchDialog_.SearchText, searchDialog_.CaseSensitive, *this,
                                     outline_.TreeData(), container_);
    SearchThread = thread;
    std::erase_if(startedThreads_, [](const auto& life) { return life.expired(); });
    startedThreads_.push_back(thread->LifeToken());
    thread->SetOnTerminate([this, thread] { ThreadDone(thread); });
    thread->Start();
}

void TSearchfounddlg::StopSearch() {
    if (SearchThread)
        SearchThread->Terminate();
    util::WaitPumping([this] {
        return std::all_of(startedThreads_.begin(), startedThreads_.end(),
                           [](const auto& life) { return life.expired(); });
    });
    startedThreads_.clear();
}

void TSearchfounddlg::ThreadDone(TSearchThread* thread) {
    if (thread != SearchThread)
        return;
    SearchThread = nullptr;
    SetPaintThrottled(false);
}

// While a search runs, the window would repaint after every entry it is told about, which costs
// far more than the search itself; instead the controls a search changes are painted at a steady
// pace. Only those controls are held back: a window whose own updates are off drops the platform's
// requests to paint it, so it could stay unpainted (or show stale pixels) after the search.
void TSearchfounddlg::SetPaintThrottled(bool throttled) {
    if (throttled) {
        SetChangingControlsUpdates(false);
        paintTimer_->start();
    } else {
        paintTimer_->stop();
        SetChangingControlsUpdates(true);
    }
}

void TSearchfounddlg::PaintChanges() {
    SetChangingControlsUpdates(true);
    repaint();
    SetChangingControlsUpdates(false);
}

void TSearchfounddlg::SetChangingControlsUpdates(bool enabled) {
    const std::array<QWidget*, 4> changing{Searchedplaces, Foundplaces, SrchOutputListBox, OKBtn};
    for (QWidget* control : changing)
        control->setUpdatesEnabled(enabled);
}

void TSearchfounddlg::SetSearchCaption(const std::string& searchText, const char* suffix) {
    setWindowTitle("Volltextsuche nach \"" + browser::AnsiToQt(searchText) + "\"" + suffix);
}

void TSearchfounddlg::StartSearch(const std::string& searchText) {
    SetSearchCaption(searchText, " ...");
    Foundplaces->setText("0");
    OKBtn->setEnabled(false);
    SrchOutputListBox->clear();
    show();
    repaint();
    SetPaintThrottled(true);
}

void TSearchfounddlg::ShowSearched(int entryIndex) {
    Searchedplaces->setText(QString::number(entryIndex));
}

void TSearchfounddlg::AddHit(const std::string& hitName, int entryIndex, int hitCount) {
    auto* item = new QListWidgetItem(browser::AnsiToQt(hitName));
    item->setData(kEntryIndexRole, entryIndex);
    SrchOutputListBox->addItem(item);
    Foundplaces->setText(QString::number(hitCount));
    if (!OKBtn->isEnabled()) {
        OKBtn->setEnabled(true);
        SrchOutputListBox->setCurrentRow(0);
    }
}

void TSearchfounddlg::SearchDone(const std::string& searchText) {
    SetSearchCaption(searchText, " - Fertig");
}

void TSearchfounddlg::OKBtnClick() {
    if (SrchOutputListBox->count() == 0)
        return;
    const QListWidgetItem* selected = SrchOutputListBox->currentItem();
    if (!selected)
        return;
    outline_.SelectIndex(selected->data(kEntryIndexRole).toInt());
    hide();
    showSelectedEntry_();
}

void TSearchfounddlg::CancelBtnClick() {
    hide();
}

} // namespace search
