// TCInstDlg: the install dialog. On the left the files of the entry's folder on the CD, on the
// right a destination folder with its drive, folder tree and files. It copies the selected files
// into the destination, unpacks a ZIP archive there through the unzip component, opens files
// with the desktop's default application, selects, and deletes files or whole folders. Files are
// also copied by dragging them onto the destination controls and deleted by dragging onto the
// delete button or with the Delete key.
//
// While it exists the dialog is the application's handler for errors nothing else caught: an
// input/output error sets the drive box back to the last drive it accepted; every error is then
// dropped, written to standard error. Errors of its own commands are shown in its status line.
#pragma once

#include "install/UnzipFile.h"
#include "rtl/Exceptions.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace util {
class TMsgBox;
}

namespace install {

class TDirectoryListBox;
class TDriveComboBox;
class TxFileListBox;

// The user cancelled the question whether to create the destination folder.
class ENoDir : public rtl::Exception {
    using Exception::Exception;
};

class TCInstDlg : public QDialog {
    Q_OBJECT

public:
    explicit TCInstDlg(QWidget* parent = nullptr);
    ~TCInstDlg() override;

    QGroupBox* CompInstBox;
    QLabel* FileNameLabel;
    QLabel* SizeLabel;
    TxFileListBox* CompFiles;
    QPushButton* CopyBtn;
    QPushButton* UnpackBtn;
    QGroupBox* DestDirBox;
    QLineEdit* DestEdit;
    TDriveComboBox* DriveComboBox;
    TDirectoryListBox* DestDirListBox;
    TxFileListBox* DestFiles;
    QPushButton* ExecBtn;
    QPushButton* SelBtn;
    QPushButton* KillBtn;
    QLabel* StatusLabel;
    QLabel* DestStatLabel;
    QPushButton* CloseBtn;
    util::TMsgBox* Messi;
    std::unique_ptr<TUnzipFile> Unziper;

    // The folder proposed below the destination (ANSI); set before each showing.
    std::string CompDirName;
    char LastDrive = 'c';
    bool OverwriteAll = false;

    void FormCreate();
    void FormDestroy();
    // Copies the selected files of CompFiles; sender is the control they were dropped on, or
    // nullptr for the button.
    void CopyBtnClick(QObject* sender = nullptr);
    void UnpackBtnClick();
    void ExecBtnClick();
    void SelBtnClick();
    void KillBtnClick();
    // Deletes the folder of DestDirListBox with everything in it, after asking.
    void DeleteDirectory();
    void Change();
    void CompFilesChange();
    void CompFilesClick();
    void CompFilesDblClick();
    void UpdateStatus();
    bool DestFilesDragOver(QObject* source) const;
    void DestFilesDragDrop(QObject* sender, QObject* source);
    bool KillBtnDragOver(QObject* source) const;
    void KillBtnDragDrop(QObject* source);
    void DestFilesExecute(const std::string& path);
    void UnziperMinorCallback(const char* item, std::int32_t percent, bool& cancel);
    void UnziperMessageCallback(std::uint16_t id, std::uint16_t boxType, std::int32_t p1,
                                std::int32_t p2, char* text1, char* text2, std::int32_t& result);
    // The handler for errors nothing else caught.
    void ApplicationException(const std::exception& error);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateSourceHalf();
    void CreateDestinationHalf();
    void ConnectControls();
    void AcceptDrops(QWidget* target);
    // Whether Dest exists; else asks to create it (Yes), to take fallback (No) or to stop
    // (Cancel: ENoDir).
    void CheckDestDir(std::string& dest, const std::string& fallback);
    // Asks for every existing target first; the files to copy, as lines of CompFiles.
    std::vector<int> FilesToCopy(const std::string& dest);
    struct TCopyRun {
        int copied = 0;
        QString failure; // where and why the run ended early; empty when it did not
    };
    TCopyRun CopyFiles(const std::vector<int>& lines, const std::string& dest);
    void DeleteSelectedFiles();
    // Runs a command: a failure is shown in StatusLabel and written to standard error; a
    // cancelled folder question ends it quietly.
    void RunCommand(const char* what, const std::function<void()>& command);
    void ReportError(const QString& text);
    void SelectAllFiles(TxFileListBox& list);
    bool DragSourceIs(const QObject* source, const QObject* control) const;

    // Why the unzip library last stopped a member in this unpack run; empty when it did not.
    QString unpackStop_;
};

} // namespace install
