// TxFileListBox: an owner-drawn list of one folder's files, sub-folders and drives, each group
// sorted by name in the order SortType gives, each line drawn in columns (name, size, date,
// time, attributes) behind a small glyph; a program's own icon for ".EXE" files. Double-click or
// Enter opens a line: a folder is entered, a drive changed to, a file handed to OnExecute. With
// multiple selection the right mouse button toggles lines and paints that state over further
// lines while it is held.
#pragma once

#include "install/FileEntries.h"

#include <QColor>
#include <QIcon>
#include <QListWidget>
#include <QPixmap>
#include <functional>
#include <string>
#include <vector>

namespace install {

class TxFileListBox;

using TExecuteEvent = std::function<void(TxFileListBox& sender, const std::string& filePath)>;
using TGetFormat =
    std::function<void(TxFileListBox& sender, std::string& outputFormat, int formatKind, int item)>;

class TxFileListBox : public QListWidget {
    Q_OBJECT

public:
    explicit TxFileListBox(QWidget* parent = nullptr);
    ~TxFileListBox() override;

    // The folder listed, a DOS path ("e:\KOMP"). Changing it re-reads the list; a folder that
    // does not exist raises rtl::EInOutError (ERROR_PATH_NOT_FOUND) and keeps the old one.
    std::string Directory() const { return settings_.Directory; }
    void SetDirectory(const std::string& dosPath);
    char Drive() const;
    // Changes to the drive's current folder.
    void SetDrive(char letter);
    std::string Mask() const { return settings_.Mask; }
    void SetMask(const std::string& mask);
    std::uint32_t FileType() const { return settings_.FileTypes; }
    void SetFileType(std::uint32_t fileTypes);
    TSFShow SFShow() const { return settings_.Show; }
    void SetSFShow(TSFShow show);
    bool UpperCase() const { return settings_.UpperCase; }
    void SetUpperCase(bool upperCase);
    TSortType SortType() const { return sortType_; }
    void SetSortType(TSortType sortType);
    bool Locked() const { return locked_; }
    // Unlocking re-reads the list.
    void SetLocked(bool locked);
    bool MultiColumns() const { return multiColumns_; }
    void SetMultiColumns(bool on);
    int MultiColumnWidth() const { return multiColumnWidth_; }
    void SetMultiColumnWidth(int width);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool on);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool on);
    bool ShowGlyphs() const { return showGlyphs_; }
    void SetShowGlyphs(bool on);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);
    bool BorderStyleSingle() const { return frameShape() != QFrame::NoFrame; }
    void SetBorderStyleSingle(bool single);

    int OffsetSizes = 150;
    int OffsetDates = 160;
    int OffsetTimes = 225;
    int OffsetAttrs = 267;
    QColor SelectedColor = Qt::green;
    QColor FocusedColor = Qt::white;
    QColor FocSelColor = Qt::yellow;
    QColor FocusedBkColor = Qt::black;
    QIcon DefaultIcon;
    bool EnableDirSel = false;
    TExecuteEvent OnExecute;
    TGetFormat OnGetFormat;

    // Re-reads the folder (nothing while locked or already reading).
    void Update();
    // The entry of a line; nullptr outside the list.
    const TFileEntry* Entry(int line) const;
    // The full DOS path of a line: a drive's name, else the folder and the name.
    std::string FullPath(int line) const;
    // Opens the caret line as a double-click does.
    void OpenCurrent();
    int SelCount() const;
    bool Selected(int line) const;
    void SetSelected(int line, bool selected);

    // Paints one line into rect (the list's delegate calls it).
    void DrawItem(QPainter& painter, int line, const QRect& rect) const;

signals:
    // After each re-read and each change of selection or caret line.
    void Change();
    // A double-click with the left button, before the line is opened.
    void DblClick();
    void MouseMoved();
    void MouseUp();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void changeEvent(QEvent* event) override;

private:
    void ReadFileNames();
    void Fill();
    // Caret to the first line, which is selected when folders may be.
    void FinishReading();
    QPixmap GlyphOf(const TFileEntry& entry) const;
    QPixmap ProgramIcon(const TFileEntry& entry) const;
    void ApplyLayout();
    void ApplySelectionMode();
    // The right button's selection state given to line, unless it is a folder that may not be
    // selected.
    void PaintRightSelection(int line);
    bool MaySelect(int line) const;
    void DrawColumn(QPainter& painter, TColumn column, int x, const QRect& rect, int line,
                    bool rightAligned) const;

    TListSettings settings_;
    TSortType sortType_ = TSortType::stDirNameDrive;
    TFileGroups groups_;
    // Each line's entry and glyph, in list order.
    std::vector<const TFileEntry*> lines_;
    std::vector<QPixmap> glyphs_;
    bool locked_ = false;
    bool reading_ = false;
    bool multiColumns_ = false;
    int multiColumnWidth_ = 120;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    bool showGlyphs_ = true;
    int itemHeight_ = 16;
    bool rightSelecting_ = false;
    bool rightState_ = false;
    bool dragged_ = false;
};

} // namespace install
