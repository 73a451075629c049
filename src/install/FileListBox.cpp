#include "install/FileListBox.h"

#include "install/FileGlyphs.h"
#include "platform/CodePage.h"
#include "platform/DosPath.h"
#include "platform/FileSystem.h"
#include "platform/IoError.h"
#include "platform/ProgramIcon.h"
#include "rtl/StrUtils.h"
#include "util/widgets/ScopedStates.h"

#include <QAbstractItemDelegate>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <exception>

namespace install {

namespace {

QString Text(const std::string& ansi) {
    return QString::fromStdString(platform::Ansi1252ToUtf8(ansi));
}

// The extension from the last dot, cut to four characters, in upper case.
std::string Extension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : rtl::UpperCaseAscii(name.substr(dot, 4));
}

// Hands the painting of each line to its list box; every line has the box's line height.
class TFileLineDelegate : public QAbstractItemDelegate {
public:
    explicit TFileLineDelegate(TxFileListBox& box) : QAbstractItemDelegate(&box), box_(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        box_.DrawItem(*painter, index.row(), option.rect);
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        const int width = box_.MultiColumns() ? box_.MultiColumnWidth() : box_.viewport()->width();
        return {width, box_.ItemHeight()};
    }

private:
    TxFileListBox& box_;
};

} // namespace

TxFileListBox::TxFileListBox(QWidget* parent) : QListWidget(parent) {
    settings_.Directory = platform::CurrentDirectory();
    settings_.FileTypes =
        platform::faHidden | platform::faSysFile | platform::faDirectory | platform::faArchive;
    resize(343, 165);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::darkBlue);
    colours.setColor(QPalette::Text, Qt::white);
    setPalette(colours);
    setFont(QFont(QStringLiteral("System")));
    setUniformItemSizes(true);
    setItemDelegate(new TFileLineDelegate(*this));
    setDragEnabled(true);
    ApplySelectionMode();
    ApplyLayout();
    connect(this, &QListWidget::itemSelectionChanged, this, &TxFileListBox::Change);
    connect(this, &QListWidget::currentRowChanged, this, &TxFileListBox::Change);
}

TxFileListBox::~TxFileListBox() = default;

void TxFileListBox::SetDirectory(const std::string& dosPath) {
    if (!platform::ChangeDirectory(dosPath))
        throw rtl::EInOutError(platform::ERROR_PATH_NOT_FOUND);
    settings_.Directory = platform::CurrentDirectory();
    ReadFileNames();
}

char TxFileListBox::Drive() const {
    return settings_.Directory.empty() ? platform::CurrentDrive() : settings_.Directory[0];
}

void TxFileListBox::SetDrive(char letter) {
    SetDirectory(platform::CurrentDirectory(letter));
}

void TxFileListBox::SetMask(const std::string& mask) {
    settings_.Mask = mask;
    ReadFileNames();
}

void TxFileListBox::SetFileType(std::uint32_t fileTypes) {
    settings_.FileTypes = fileTypes;
    ReadFileNames();
}

void TxFileListBox::SetSFShow(TSFShow show) {
    settings_.Show = show;
    ReadFileNames();
}

void TxFileListBox::SetUpperCase(bool upperCase) {
    settings_.UpperCase = upperCase;
    ReadFileNames();
}

void TxFileListBox::SetSortType(TSortType sortType) {
    sortType_ = sortType;
    ReadFileNames();
}

void TxFileListBox::SetLocked(bool locked) {
    locked_ = locked;
    viewport()->update();
    if (!locked_)
        ReadFileNames();
}

void TxFileListBox::SetMultiColumns(bool on) {
    multiColumns_ = on;
    ApplyLayout();
    ReadFileNames();
}

void TxFileListBox::SetMultiColumnWidth(int width) {
    multiColumnWidth_ = width;
    ApplyLayout();
}

void TxFileListBox::SetMultiSelect(bool on) {
    multiSelect_ = on;
    ApplySelectionMode();
}

void TxFileListBox::SetExtendedSelect(bool on) {
    extendedSelect_ = on;
    ApplySelectionMode();
}

void TxFileListBox::SetShowGlyphs(bool on) {
    showGlyphs_ = on;
    ReadFileNames();
}

void TxFileListBox::SetItemHeight(int height) {
    itemHeight_ = height;
    ApplyLayout();
    ReadFileNames();
}

void TxFileListBox::SetBorderStyleSingle(bool single) {
    setFrameShape(single ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TxFileListBox::ApplySelectionMode() {
    setSelectionMode(!multiSelect_     ? SingleSelection
                     : extendedSelect_ ? ExtendedSelection
                                       : MultiSelection);
}

void TxFileListBox::ApplyLayout() {
    setFlow(TopToBottom);
    setWrapping(multiColumns_);
    setResizeMode(multiColumns_ ? Adjust : Fixed);
    setGridSize(multiColumns_ ? QSize(multiColumnWidth_, itemHeight_) : QSize());
    setHorizontalScrollBarPolicy(multiColumns_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    doItemsLayout();
}

void TxFileListBox::Update() {
    ReadFileNames();
}

void TxFileListBox::ReadFileNames() {
    if (reading_ || locked_)
        return;
    reading_ = true;
    // The lines point into the groups, which the read empties first.
    lines_.clear();
    glyphs_.clear();
    std::exception_ptr failure;
    {
        const util::WaitCursor hourglass;
        const util::UpdatesSuspended frozen(*this);
        const QSignalBlocker quiet(this);
        try {
            platform::ChangeDirectory(settings_.Directory);
            ReadFileGroups(settings_, groups_);
        } catch (...) {
            failure = std::current_exception();
        }
        // What was found is listed, also after a failure.
        Fill();
        FinishReading();
    }
    reading_ = false;
    viewport()->update();
    emit Change();
    if (failure)
        std::rethrow_exception(failure);
}

void TxFileListBox::Fill() {
    clear();
    QStringList texts;
    for (const TSortFileList* group : groups_.InOrder(sortType_))
        for (const TFileEntry& entry : group->Entries()) {
            lines_.push_back(&entry);
            texts.push_back(Text(entry.Name));
            glyphs_.push_back(showGlyphs_ ? GlyphOf(entry) : QPixmap());
        }
    addItems(texts);
}

void TxFileListBox::FinishReading() {
    if (multiColumns_)
        setGridSize(QSize(multiColumnWidth_, itemHeight_));
    if (count() == 0)
        return;
    setCurrentRow(0, QItemSelectionModel::NoUpdate);
    if (multiSelect_ && EnableDirSel)
        item(0)->setSelected(true);
}

QPixmap TxFileListBox::GlyphOf(const TFileEntry& entry) const {
    if (entry.IsDir)
        return FileGlyph(TFileGlyph::Directory, itemHeight_ - 2);
    if (entry.IsDrive)
        return FileGlyph(TFileGlyph::Floppy, itemHeight_ - 2);
    const std::string extension = Extension(entry.Name);
    if (extension == ".EXE" && (settings_.Show & sfsProcIcons) != 0)
        return ProgramIcon(entry);
    if (extension == ".COM" || extension == ".BAT" || extension == ".PIF" || extension == ".EXE")
        return FileGlyph(TFileGlyph::Program, itemHeight_ - 2);
    return FileGlyph(TFileGlyph::Document, itemHeight_ - 2);
}

// The program's first icon (else DefaultIcon), drawn on a square of line height in the list's
// colour, which then counts as transparent.
QPixmap TxFileListBox::ProgramIcon(const TFileEntry& entry) const {
    const std::string folder = platform::DosToNative(settings_.Directory).value_or("");
    QIcon icon = DefaultIcon;
    if (const auto ico = platform::ExtractFirstIcon(folder + "/" + entry.NativeName)) {
        const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(ico->data()),
                                              static_cast<int>(ico->size()), "ICO");
        if (!image.isNull())
            icon = QIcon(QPixmap::fromImage(image));
    }
    if (icon.isNull())
        return FileGlyph(TFileGlyph::Program, itemHeight_ - 2);
    QPixmap square(itemHeight_, itemHeight_);
    const QColor ground = palette().color(QPalette::Base);
    square.fill(ground);
    {
        QPainter painter(&square);
        icon.paint(&painter, square.rect());
    }
    const QColor transparent = square.toImage().pixelColor(0, itemHeight_ - 1);
    square.setMask(square.createMaskFromColor(transparent));
    return square;
}

const TFileEntry* TxFileListBox::Entry(int line) const {
    return line >= 0 && line < static_cast<int>(lines_.size()) ? lines_[line] : nullptr;
}

std::string TxFileListBox::FullPath(int line) const {
    const TFileEntry* entry = Entry(line);
    if (entry == nullptr)
        return {};
    if (entry->IsDrive)
        return entry->Name;
    const std::string& dir = settings_.Directory;
    const bool driveRoot = dir.size() < 4 && !dir.empty() && dir.back() == '\\';
    return dir + (driveRoot ? "" : "\\") + entry->Name;
}

void TxFileListBox::OpenCurrent() {
    const int line = currentRow();
    const TFileEntry* entry = Entry(line);
    if (entry == nullptr)
        return;
    if (entry->IsDir) {
        std::string path = FullPath(line);
        if (entry->Name == "..") {
            const std::size_t cut = settings_.Directory.rfind('\\');
            path = settings_.Directory.substr(0, cut == std::string::npos ? 0 : cut);
            if (path.size() == 2)
                path += '\\';
        }
        SetDirectory(path);
        if (count() > 0)
            setCurrentRow(0, QItemSelectionModel::NoUpdate);
    } else if (entry->IsDrive) {
        SetDrive(entry->Name[0]);
    } else if (OnExecute) {
        OnExecute(*this, FullPath(line));
    }
}

int TxFileListBox::SelCount() const {
    return static_cast<int>(selectionModel()->selectedRows().size());
}

bool TxFileListBox::Selected(int line) const {
    const QListWidgetItem* line_item = item(line);
    return line_item != nullptr && line_item->isSelected();
}

void TxFileListBox::SetSelected(int line, bool selected) {
    if (QListWidgetItem* line_item = item(line))
        line_item->setSelected(selected);
}

bool TxFileListBox::MaySelect(int line) const {
    const TFileEntry* entry = Entry(line);
    return entry != nullptr && (EnableDirSel || !entry->IsDir);
}

void TxFileListBox::DrawItem(QPainter& painter, int line, const QRect& rect) const {
    const TFileEntry* entry = Entry(line);
    if (locked_ || entry == nullptr)
        return;
    const bool focused = line == currentRow() && hasFocus();
    const bool selected = Selected(line);
    painter.fillRect(rect, focused ? FocusedBkColor : palette().color(QPalette::Base));
    const QColor ink = focused && selected ? FocSelColor
                       : focused           ? FocusedColor
                       : selected          ? SelectedColor
                                           : palette().color(QPalette::Text);
    int x = rect.left() + 2;
    if (showGlyphs_) {
        const QPixmap& glyph = glyphs_[static_cast<std::size_t>(line)];
        painter.drawPixmap(rect.left() + 2, rect.top() + (rect.height() - glyph.height()) / 2,
                           glyph);
        x = rect.left() + rect.height();
    }
    painter.setPen(ink);
    painter.setFont(font());
    DrawColumn(painter, TColumn::Name, x, rect, line, false);
    const TSFShow show = settings_.Show;
    if ((show & sfsSize) != 0 && !entry->IsDir && !entry->IsDrive)
        DrawColumn(painter, TColumn::Size, x + OffsetSizes + 2, rect, line, true);
    if (!entry->IsDrive) {
        if ((show & sfsDate) != 0)
            DrawColumn(painter, TColumn::Date, x + OffsetDates, rect, line, false);
        if ((show & sfsTime) != 0)
            DrawColumn(painter, TColumn::Time, x + OffsetTimes, rect, line, false);
        if ((show & sfsAttr) != 0)
            DrawColumn(painter, TColumn::Attr, x + OffsetAttrs, rect, line, false);
    }
    if (focused) {
        painter.setPen(QPen(ink, 1, Qt::DotLine));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

// One column's text at x; a right-aligned column ends at x.
void TxFileListBox::DrawColumn(QPainter& painter, TColumn column, int x, const QRect& rect,
                               int line, bool rightAligned) const {
    std::string format = DefaultFormat(column);
    if (OnGetFormat)
        OnGetFormat(const_cast<TxFileListBox&>(*this), format, FormatKindOf(column), line);
    const QString text = Text(ColumnText(column, format, *lines_[static_cast<std::size_t>(line)]));
    if (rightAligned)
        painter.drawText(QRect(rect.left(), rect.top(), x - rect.left(), rect.height()),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    else
        painter.drawText(QRect(x, rect.top(), rect.right() - x, rect.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
}

void TxFileListBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier) == 0) {
        OpenCurrent();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TxFileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    emit DblClick();
    OpenCurrent();
}

void TxFileListBox::mousePressEvent(QMouseEvent* event) {
    if (!(multiSelect_ && event->button() == Qt::RightButton)) {
        QListWidget::mousePressEvent(event);
        return;
    }
    const int line = indexAt(event->position().toPoint()).row();
    if (line < 0)
        return;
    if (MaySelect(line))
        SetSelected(line, !Selected(line));
    rightState_ = Selected(line);
    rightSelecting_ = true;
    grabMouse();
}

void TxFileListBox::mouseMoveEvent(QMouseEvent* event) {
    if (rightSelecting_ && (event->buttons() & Qt::RightButton) != 0) {
        const int line = indexAt(event->position().toPoint()).row();
        if (MaySelect(line) && Selected(line) != rightState_)
            SetSelected(line, rightState_);
        emit MouseMoved();
        return;
    }
    dragged_ = false;
    QListWidget::mouseMoveEvent(event);
    // A move that became a drag ended with the drop somewhere else.
    if (!dragged_)
        emit MouseMoved();
}

void TxFileListBox::startDrag(Qt::DropActions supportedActions) {
    dragged_ = true;
    QListWidget::startDrag(supportedActions);
}

void TxFileListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (rightSelecting_ && event->button() == Qt::RightButton) {
        rightSelecting_ = false;
        releaseMouse();
    } else {
        QListWidget::mouseReleaseEvent(event);
    }
    emit MouseUp();
}

void TxFileListBox::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        viewport()->update();
}

} // namespace install
