// TDirectoryListBox: the folder tree of one drive as a list: the drive's root, each folder on the
// way down to the current one (opened), then the current folder's sub-folders, each indented by
// its depth. A double-click or Enter on a line makes it the current folder; the linked file list
// follows every change.
#pragma once

#include <QListWidget>
#include <string>
#include <vector>

namespace install {

class TxFileListBox;

class TDirectoryListBox : public QListWidget {
    Q_OBJECT

public:
    explicit TDirectoryListBox(QWidget* parent = nullptr);

    // The current folder, a DOS path ("e:\KOMP"; a root is "e:\").
    std::string Directory() const { return directory_; }
    // A folder that does not exist raises rtl::EInOutError: ERROR_NOT_READY when its drive has
    // no medium, else ERROR_PATH_NOT_FOUND; the list stays as it was.
    void SetDirectory(const std::string& dosPath);
    char Drive() const { return directory_.empty() ? 'c' : directory_[0]; }
    // Changes to the drive's current folder.
    void SetDrive(char letter);
    // Reads the folder's sub-folders anew.
    void Update();
    // The folder a line stands for.
    std::string GetItemPath(int line) const;

    TxFileListBox* FileList = nullptr;

signals:
    // The current folder changed.
    void Change();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Fill();
    void OpenLine(int line);

    std::string directory_;
    std::vector<std::string> paths_;
};

} // namespace install
