// The download folder's chooser in the settings dialog: a drive list bound to a folder list. The
// folder list shows the way from the drive's root to the current folder and the current folder's
// subfolders; activating an entry makes it the current folder. Folders are named as DOS paths
// through the drive table ("c:\DOWNLOAD"); a folder outside every drive keeps its native name.
#pragma once

#include <QComboBox>
#include <QListWidget>

namespace terminal {

class TDirectoryList : public QListWidget {
    Q_OBJECT

public:
    explicit TDirectoryList(QWidget* parent = nullptr);

    QString Directory() const { return directory_; }
    void SetDirectory(const QString& directory);

signals:
    void DirectoryChanged();

private:
    void Fill(const QString& native);
    void AddEntry(const QString& caption, const QString& path, int depth);

    QString directory_;
};

class TDriveComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit TDriveComboBox(QWidget* parent = nullptr);

    // The folder list this box sets to the chosen drive's root, and follows.
    void SetDirList(TDirectoryList* list);

signals:
    void DriveChanged();

private:
    void Follow();

    TDirectoryList* list_ = nullptr;
};

} // namespace terminal
