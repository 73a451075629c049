#include "install/DriveComboBox.h"

#include "install/DirectoryListBox.h"
#include "platform/CodePage.h"
#include "platform/Drives.h"
#include "util/widgets/VitrineApplication.h"

namespace install {

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent) {
    ReadDrives();
    connect(this, &QComboBox::activated, this, &TDriveComboBox::Chosen);
}

void TDriveComboBox::ReadDrives() {
    const QSignalBlocker quiet(this);
    clear();
    const platform::DriveTable table = platform::LoadDriveTable();
    for (const platform::Drive& drive : table.Drives()) {
        QString text = QString(QChar::fromLatin1(drive.letter)) + u':';
        if (!drive.label.empty())
            text += QStringLiteral(" [%1]").arg(
                QString::fromStdString(platform::Ansi1252ToUtf8(drive.label)));
        addItem(text, QChar::fromLatin1(drive.letter));
    }
    SetDrive(drive_);
}

void TDriveComboBox::SetDrive(char letter) {
    drive_ = platform::LowerDriveLetter(letter);
    const QSignalBlocker quiet(this);
    setCurrentIndex(findData(QChar::fromLatin1(drive_)));
}

// An error of the directory list goes to the application's handler here, so that it never
// passes through the combo box's own event handling.
void TDriveComboBox::Chosen(int index) {
    const QChar letter = itemData(index).toChar();
    if (letter.isNull())
        return;
    drive_ = letter.toLatin1();
    try {
        if (DirList != nullptr)
            DirList->SetDrive(drive_);
        emit Change();
    } catch (const std::exception& error) {
        if (auto* application = util::VitrineApplication::Instance())
            application->HandleException(error);
        else
            throw;
    }
}

} // namespace install
