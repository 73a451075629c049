#include "install/InstallCommand.h"

#include "browser/AnsiText.h"
#include "browser/MainWindow.h"
#include "catalog/Records.h"
#include "install/DirectoryListBox.h"
#include "install/FileListBox.h"
#include "install/InstallDialog.h"
#include "platform/DosPath.h"
#include "rtl/StrUtils.h"
#include "util/AppSettings.h"
#include "util/CatalogueCd.h"

#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QToolButton>

namespace install {

namespace {

// The file-name part of a DOS path (after its last "\" or ":").
std::string FileNamePart(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The name of the folder proposed for the file: its name without the first "." and the three
// characters after it.
std::string ProposedFolder(const std::string& path) {
    std::string name = path;
    if (const std::size_t dot = name.find('.'); dot != std::string::npos)
        name.erase(dot, 4);
    return FileNamePart(name);
}

bool PageIs(const browser::TPandexCDMain& window, const char* name) {
    return window.BrowzerNoteBook->currentWidget()->objectName().compare(QString::fromLatin1(name),
                                                                         Qt::CaseInsensitive) == 0;
}

// Changes list to dir; a folder that cannot be opened gives the current drive's current folder.
template <class List> void ChangeOrStay(List& list, const std::string& dir) {
    try {
        list.SetDirectory(dir);
    } catch (const rtl::EInOutError&) {
        list.SetDirectory(platform::CurrentDirectory());
    }
}

void SelectFile(TxFileListBox& list, const std::string& name) {
    for (int line = 0; line < list.count(); ++line)
        if (rtl::SameTextAscii(browser::QtToAnsi(list.item(line)->text()), name)) {
            list.setCurrentRow(line, QItemSelectionModel::NoUpdate);
            list.SetSelected(line, true);
            return;
        }
}

} // namespace

std::string PathOnCd(const std::string& path) {
    if (path.size() < 2 || path[1] != ':' || !util::IsCatalogueCDInserted())
        return path;
    std::string onCd = path;
    onCd[0] = util::FindCDDrive();
    return onCd;
}

void PrepareInstallDialog(browser::TPandexCDMain& window, TCInstDlg& dialog) {
    std::string path;
    if (PageIs(window, "Komponente")) {
        const catalog::TCompoText* compo = window.CurrentCompo();
        path = compo != nullptr ? compo->FileName : std::string();
        dialog.CompInstBox->setTitle(
            browser::AnsiToQt(" " + (compo != nullptr ? compo->ShortName : "") + " "));
    } else {
        path = browser::QtToAnsi(window.ShortFileName->text());
        dialog.CompInstBox->setTitle(browser::AnsiToQt(" " + FileNamePart(path) + " "));
    }
    dialog.CompDirName = ProposedFolder(path);
    path = PathOnCd(path);
    ChangeOrStay(*dialog.CompFiles, path.substr(0, path.size() - FileNamePart(path).size()));
    SelectFile(*dialog.CompFiles, FileNamePart(path));
    dialog.CompFilesChange();
    ChangeOrStay(*dialog.DestDirListBox, util::Settings().DefaultDestinationPath);
}

void SBInstallClick(browser::TPandexCDMain& window, TCInstDlg& dialog) {
    PrepareInstallDialog(window, dialog);
    dialog.exec();
}

TCInstDlg* CreateInstallDialog(browser::TPandexCDMain& window) {
    auto* dialog = new TCInstDlg(&window);
    dialog->setWindowFlag(Qt::Dialog);
    QObject::connect(window.SBInstall, &QToolButton::clicked, dialog,
                     [&window, dialog] { SBInstallClick(window, *dialog); });
    return dialog;
}

} // namespace install
