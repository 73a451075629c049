// TDriveComboBox: the drives of the platform's drive table to choose from, each shown as its
// letter and volume label ("e: [KSTRV02]"). Choosing a drive changes the linked directory list
// to it; when that fails (a drive without its medium is an input/output error), the error goes
// to the application's handler for uncaught errors, which may set the box back.
#pragma once

#include <QComboBox>

namespace install {

class TDirectoryListBox;

class TDriveComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit TDriveComboBox(QWidget* parent = nullptr);

    // Lists the drives of the table anew, keeping the chosen one.
    void ReadDrives();
    char Drive() const { return drive_; }
    // Shows the drive (lower case); nothing else happens.
    void SetDrive(char letter);

    TDirectoryListBox* DirList = nullptr;

signals:
    // The user chose a drive and the directory list followed.
    void Change();

private:
    void Chosen(int index);

    char drive_ = 'c';
};

} // namespace install
