#include "install/DirectoryListBox.h"

#include "install/FileGlyphs.h"
#include "install/FileListBox.h"
#include "platform/CodePage.h"
#include "platform/DosPath.h"
#include "platform/Drives.h"
#include "platform/FileSearch.h"
#include "platform/FileSystem.h"
#include "platform/IoError.h"
#include "rtl/StrUtils.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace install {

namespace {

// Blanks before a line per level of depth.
constexpr int kIndent = 2;

std::string Child(const std::string& folder, const std::string& name) {
    return folder + (folder.back() == '\\' ? "" : "\\") + name;
}

} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : QListWidget(parent) {
    setDragEnabled(true);
    setIconSize(QSize(14, 14));
}

void TDirectoryListBox::SetDirectory(const std::string& dosPath) {
    if (!platform::ChangeDirectory(dosPath)) {
        const std::string root = platform::ExpandDosPath(dosPath).substr(0, 3);
        const bool noMedium = platform::GetDriveType(root) != platform::DriveType::NoRootDir &&
                              !platform::GetVolumeLabel(root);
        throw rtl::EInOutError(noMedium ? platform::ERROR_NOT_READY
                                        : platform::ERROR_PATH_NOT_FOUND);
    }
    directory_ = platform::CurrentDirectory();
    Fill();
    if (FileList != nullptr)
        FileList->SetDirectory(directory_);
    emit Change();
}

void TDirectoryListBox::SetDrive(char letter) {
    if (platform::LowerDriveLetter(letter) != Drive())
        SetDirectory(platform::CurrentDirectory(letter));
}

void TDirectoryListBox::Update() {
    Fill();
}

std::string TDirectoryListBox::GetItemPath(int line) const {
    return line >= 0 && line < static_cast<int>(paths_.size()) ? paths_[line] : directory_;
}

// The lines: root, the folders on the way, the current folder (all opened), its sub-folders.
void TDirectoryListBox::Fill() {
    clear();
    paths_.clear();
    const QPixmap folder = FileGlyph(TFileGlyph::Directory, 14);
    std::string path = directory_.substr(0, 3);
    int depth = 0;
    auto add = [&](const std::string& text, const std::string& linePath) {
        new QListWidgetItem(QIcon(folder),
                            QString(depth * kIndent, u' ') +
                                QString::fromStdString(platform::Ansi1252ToUtf8(text)),
                            this);
        paths_.push_back(linePath);
    };
    add(path, path);
    std::size_t start = 3;
    while (start < directory_.size()) {
        const std::size_t end = std::min(directory_.find('\\', start), directory_.size());
        const std::string name = directory_.substr(start, end - start);
        path = Child(path, name);
        ++depth;
        add(rtl::LowerCaseAscii(name), path);
        start = end + 1;
    }
    const int current = static_cast<int>(paths_.size()) - 1;
    ++depth;
    const std::string native = platform::DosToNative(directory_).value_or("");
    if (!native.empty())
        for (const platform::SearchEntry& found :
             platform::FindFiles(native + "/*.*", platform::faDirectory)) {
            if ((found.Attr & platform::faDirectory) == 0 || found.Name == "." ||
                found.Name == "..")
                continue;
            const std::string name = rtl::LowerCaseAscii(platform::Utf8ToAnsi1252Lossy(found.Name));
            add(name, Child(directory_, name));
        }
    setCurrentRow(current);
}

void TDirectoryListBox::OpenLine(int line) {
    if (line >= 0)
        SetDirectory(GetItemPath(line));
}

void TDirectoryListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OpenLine(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TDirectoryListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        OpenLine(indexAt(event->position().toPoint()).row());
}

} // namespace install
