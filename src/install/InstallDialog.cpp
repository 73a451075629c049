#include "install/InstallDialog.h"

#include "browser/AnsiText.h"
#include "install/DirectoryListBox.h"
#include "install/DriveComboBox.h"
#include "install/FileListBox.h"
#include "install/InstallFiles.h"
#include "install/UnzipTexts.h"
#include "platform/CodePage.h"
#include "platform/DosPath.h"
#include "platform/FileSearch.h"
#include "platform/FileSystem.h"
#include "platform/IoError.h"
#include "rtl/StrUtils.h"
#include "util/FileOps.h"
#include "util/Paths.h"
#include "util/widgets/Controls.h"
#include "util/widgets/MsgBox.h"
#include "util/widgets/ProgressForm.h"
#include "util/widgets/ScopedStates.h"
#include "util/widgets/VitrineApplication.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>
#include <cstdio>
#include <filesystem>

namespace install {

namespace {

using browser::AnsiToQt;
using browser::QtToAnsi;

const QColor kFocusedBackground(128, 0, 128);

// The list settings both file lists share in this dialog.
void SetUpFileList(TxFileListBox& list) {
    QPalette colours = list.palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    list.setPalette(colours);
    QFont font(QStringLiteral("System"));
    font.setBold(true);
    list.setFont(font);
    list.SetItemHeight(16);
    list.SetMultiSelect(true);
    list.SelectedColor = Qt::blue;
    list.FocusedColor = Qt::white;
    list.FocSelColor = Qt::yellow;
    list.FocusedBkColor = kFocusedBackground;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    return util::Placed(new QPushButton(text, parent), name, geometry.x(), geometry.y(),
                        geometry.width(), geometry.height());
}

// The folder part of a DOS path: up to and including its last "\" or ":".
std::string DirectoryPart(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string NativeOf(const std::string& dosPath) {
    const auto native = platform::DosToNative(dosPath);
    if (!native)
        throw rtl::EInOutError(platform::ERROR_PATH_NOT_FOUND);
    return *native;
}

bool IsDriveRootText(const std::string& dest) {
    return (dest.size() == 3 && dest[1] == ':' && dest[2] == '\\') ||
           (dest.size() == 2 && dest[1] == ':');
}

QString StatusCount(const char* format, int count) {
    return QString::fromUtf8(format).arg(count);
}

} // namespace

TCInstDlg::TCInstDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CInstDlg"));
    setWindowTitle(QStringLiteral("[Kestrova Pandex CD-ROM]   -   Komponente installieren"));
    setFixedSize(555, 421);
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setBold(true);
    setFont(font);
    CreateControls();
    ConnectControls();
    FormCreate();
}

TCInstDlg::~TCInstDlg() {
    FormDestroy();
}

void TCInstDlg::CreateControls() {
    CreateSourceHalf();
    CreateDestinationHalf();
    StatusLabel = util::Placed(new QLabel(this), "StatusLabel", 10, 382, 266, 16);
    DestStatLabel = util::Placed(new QLabel(this), "DestStatLabel", 288, 382, 260, 16);
    CloseBtn = Button(this, "CloseBtn", QStringLiteral("&Close"), {467, 390, 82, 26});
    Messi = util::Named(new util::TMsgBox(this), "Messi");
    Messi->SetCaption(QStringLiteral("Kestrova"));
    Messi->SetButtons(util::msgOKCancel);
    Unziper = std::make_unique<TUnzipFile>(nullptr);
}

void TCInstDlg::CreateSourceHalf() {
    CompInstBox = util::Placed(new QGroupBox(this), "CompInstBox", 6, 4, 270, 374);
    FileNameLabel = util::Placed(new QLabel(QStringLiteral("Dateiname:"), CompInstBox),
                                 "FileNameLabel", 28, 18, 100, 16);
    SizeLabel = util::Placed(new QLabel(QStringLiteral("Größe:"), CompInstBox), "SizeLabel", 140,
                             18, 60, 16);
    CompFiles = util::Placed(new TxFileListBox(CompInstBox), "CompFiles", 8, 36, 254, 292);
    SetUpFileList(*CompFiles);
    CompFiles->SetSFShow(sfsSize | sfsDirs | sfsProcIcons);
    CopyBtn = Button(CompInstBox, "CopyBtn", QStringLiteral("&Kopieren"), {8, 336, 124, 28});
    CopyBtn->setToolTip(QStringLiteral("Kopiere die ausgewählte(n) Datei(en) ins Zielverzeichnis"));
    UnpackBtn = Button(CompInstBox, "UnpackBtn", QStringLiteral("Ent&packen"), {138, 336, 124, 28});
    UnpackBtn->setToolTip(QStringLiteral("Entpacke die ausgewählte Datei ins Zielverzeichnis"));
}

void TCInstDlg::CreateDestinationHalf() {
    DestDirBox = util::Placed(new QGroupBox(QStringLiteral("Zielverzeichnis"), this), "DestDirBox",
                              282, 4, 267, 374);
    DestEdit = util::Placed(new QLineEdit(QStringLiteral("c:\\pandex\\newcomps"), DestDirBox),
                            "DestEdit", 8, 20, 251, 22);
    DriveComboBox = util::Placed(new TDriveComboBox(DestDirBox), "DriveComboBox", 8, 46, 251, 22);
    DestDirListBox =
        util::Placed(new TDirectoryListBox(DestDirBox), "DestDirListBox", 8, 72, 251, 108);
    DestFiles = util::Placed(new TxFileListBox(DestDirBox), "DestFiles", 8, 184, 251, 146);
    SetUpFileList(*DestFiles);
    DestFiles->SetSFShow(sfsProcIcons);
    DestFiles->SetMultiColumnWidth(130);
    DestFiles->SetMultiColumns(true);
    ExecBtn = Button(DestDirBox, "ExecBtn", QStringLiteral("Ausfüh&ren"), {8, 336, 80, 28});
    SelBtn = Button(DestDirBox, "SelBtn", QStringLiteral("&Markieren"), {93, 336, 80, 28});
    KillBtn = Button(DestDirBox, "KillBtn", QStringLiteral("&Löschen"), {178, 336, 81, 28});
    DriveComboBox->DirList = DestDirListBox;
    DestDirListBox->FileList = DestFiles;
}

void TCInstDlg::ConnectControls() {
    connect(CopyBtn, &QPushButton::clicked, this, [this] { CopyBtnClick(); });
    connect(UnpackBtn, &QPushButton::clicked, this, &TCInstDlg::UnpackBtnClick);
    connect(ExecBtn, &QPushButton::clicked, this, &TCInstDlg::ExecBtnClick);
    connect(SelBtn, &QPushButton::clicked, this, &TCInstDlg::SelBtnClick);
    connect(KillBtn, &QPushButton::clicked, this, &TCInstDlg::KillBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(DriveComboBox, &TDriveComboBox::Change, this, &TCInstDlg::Change);
    connect(DestDirListBox, &TDirectoryListBox::Change, this, [this] {
        DriveComboBox->SetDrive(DestDirListBox->Drive());
        Change();
    });
    connect(CompFiles, &TxFileListBox::Change, this, &TCInstDlg::CompFilesChange);
    connect(DestFiles, &TxFileListBox::Change, this, &TCInstDlg::CompFilesChange);
    connect(CompFiles, &QListWidget::itemClicked, this, &TCInstDlg::CompFilesClick);
    connect(CompFiles, &TxFileListBox::DblClick, this, &TCInstDlg::CompFilesDblClick);
    connect(CompFiles, &TxFileListBox::MouseMoved, this, &TCInstDlg::UpdateStatus);
    connect(CompFiles, &TxFileListBox::MouseUp, this, &TCInstDlg::UpdateStatus);
    DestFiles->OnExecute = [this](TxFileListBox&, const std::string& path) {
        DestFilesExecute(path);
    };
    for (QWidget* target : std::initializer_list<QWidget*>{DestEdit, DriveComboBox, DestDirListBox,
                                                           DestFiles, CopyBtn, KillBtn})
        AcceptDrops(target);
    CompFiles->installEventFilter(this);
    DestDirListBox->installEventFilter(this);
    DestFiles->installEventFilter(this);
    auto* controlTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(controlTab, &QShortcut::activated, this, [this] {
        (CompFiles->hasFocus() ? static_cast<QWidget*>(DestDirListBox) : CompFiles)->setFocus();
    });
}

void TCInstDlg::FormCreate() {
    Unziper->lpszFileSpec.SetValue("*.*");
    Unziper->OnMinorCallback = [this](const char* item, std::int32_t percent, bool& cancel) {
        UnziperMinorCallback(item, percent, cancel);
    };
    Unziper->OnMessageCallback = [this](std::uint16_t id, std::uint16_t boxType, std::int32_t p1,
                                        std::int32_t p2, char* text1, char* text2,
                                        std::int32_t& result) {
        UnziperMessageCallback(id, boxType, p1, p2, text1, text2, result);
    };
    if (auto* application = util::VitrineApplication::Instance())
        application->SetErrorHandler(
            [this](const std::exception& error) { ApplicationException(error); });
    try {
        DestDirListBox->SetDirectory(platform::CurrentDirectory());
    } catch (const rtl::EInOutError&) {
        // The current folder is gone: the tree stays empty until the dialog is prepared.
    }
    LastDrive = DriveComboBox->Drive();
}

void TCInstDlg::FormDestroy() {
    if (auto* application = util::VitrineApplication::Instance())
        application->SetErrorHandler({});
}

void TCInstDlg::ApplicationException(const std::exception& error) {
    if (dynamic_cast<const rtl::EInOutError*>(&error) != nullptr)
        DriveComboBox->SetDrive(LastDrive);
    std::fprintf(stderr, "vitrine: %s\n", error.what());
}

void TCInstDlg::RunCommand(const char* what, const std::function<void()>& command) {
    try {
        command();
    } catch (const ENoDir&) {
        // Cancelled at the folder question: nothing more to do or say.
    } catch (const rtl::EInOutError& error) {
        ReportError(QString::fromUtf8(what) + QStringLiteral(": ") +
                    AnsiToQt(IoErrorText(error.ErrorCode())));
    } catch (const rtl::Exception& error) {
        ReportError(QString::fromUtf8(what) + QStringLiteral(": ") + AnsiToQt(error.Message()));
    }
}

void TCInstDlg::ReportError(const QString& text) {
    StatusLabel->setText(text);
    std::fprintf(stderr, "vitrine: %s\n", text.toLocal8Bit().constData());
}

void TCInstDlg::CheckDestDir(std::string& dest, const std::string& fallback) {
    const auto native = platform::DosToNative(dest);
    const bool exists = (native && !platform::FindFiles(platform::WithoutTrailingSlashes(*native),
                                                        platform::faAnyFile)
                                        .empty()) ||
                        IsDriveRootText(dest);
    if (exists)
        return;
    Messi->SetButtons(util::msgYesNoCancel);
    Messi->SetCaption(QStringLiteral("Verzeichnis nicht gefunden."));
    Messi->SetMsg(QStringLiteral("Soll Verzeichnis %1 erstellt werden?").arg(AnsiToQt(dest)));
    switch (Messi->Execute()) {
    case util::mrYes:
        if (const int error = platform::CreateFolder(NativeOf(dest)); error != 0)
            throw rtl::EInOutError(error);
        break;
    case util::mrNo:
        dest = fallback;
        break;
    default:
        throw ENoDir("Verzeichnis erstellen abgebrochen!");
    }
}

void TCInstDlg::CopyBtnClick(QObject* sender) {
    if (CompFiles->SelCount() == 0)
        return;
    RunCommand("Kopieren", [&] {
        std::string dest = QtToAnsi(DestEdit->text());
        if (sender == DestDirListBox)
            dest = DestDirListBox->GetItemPath(DestDirListBox->currentRow());
        else if (sender == DestFiles)
            dest = DestFiles->Directory();
        CheckDestDir(dest, DestDirListBox->GetItemPath(DestDirListBox->currentRow()));
        const TCopyRun run = CopyFiles(FilesToCopy(dest), dest);
        DestFiles->Update();
        DestDirListBox->SetDirectory(dest);
        // After the lists, whose changes show the selection counts.
        StatusLabel->setText(StatusCount("%1 Datei(en) kopiert.", run.copied));
        if (!run.failure.isEmpty())
            ReportError(StatusLabel->text() + u' ' + run.failure);
    });
}

std::vector<int> TCInstDlg::FilesToCopy(const std::string& dest) {
    std::vector<int> lines;
    for (int line = 0; line < CompFiles->count(); ++line) {
        const TFileEntry* entry = CompFiles->Entry(line);
        if (!CompFiles->Selected(line) || entry->IsDir)
            continue;
        const std::string target = util::AddBackslash(dest) + entry->Name;
        const auto native = platform::DosToNative(target);
        if (native && platform::GetFileAttributes(*native)) {
            Messi->SetButtons(util::msgYesNo);
            Messi->SetCaption(QStringLiteral("Datei kopieren"));
            Messi->SetMsg(
                QStringLiteral("Soll Datei %1 überschrieben werden?").arg(AnsiToQt(target)));
            Messi->Form()->setWindowFlag(Qt::WindowStaysOnTopHint, true);
            const int answer = Messi->Execute();
            Messi->Form()->setWindowFlag(Qt::WindowStaysOnTopHint, false);
            if (answer != util::mrYes)
                continue;
        }
        lines.push_back(line);
    }
    return lines;
}

// Copies the lines one by one; a failure ends the run.
TCInstDlg::TCopyRun TCInstDlg::CopyFiles(const std::vector<int>& lines, const std::string& dest) {
    TCopyRun run;
    if (lines.empty())
        return run;
    const std::string folder = NativeOf(dest);
    const std::string source = NativeOf(CompFiles->Directory());
    const util::TProgressFormHolder progress;
    progress->InfoLabel->setText(QStringLiteral("Kopiere Dateien..."));
    progress->show();
    progress->repaint();
    // Nothing else of the dialog may run while the copy lets events through.
    setEnabled(false);
    for (const int line : lines) {
        const TFileEntry& entry = *CompFiles->Entry(line);
        try {
            // An existing target of another case is the same file to a DOS program.
            const auto target = platform::DosToNative(util::AddBackslash(dest) + entry.Name);
            const std::string name = target ? std::filesystem::path(*target).filename().string()
                                            : platform::Ansi1252ToUtf8(entry.Name);
            progress->InfoLabel->setText(QStringLiteral("Kopiere Datei: ") + AnsiToQt(entry.Name));
            progress->repaint();
            CopyInstallFile(source + "/" + entry.NativeName, folder, name, [&](std::int64_t done) {
                if (entry.Size > 0)
                    progress->Gauge->setValue(static_cast<int>(done * 100 / entry.Size));
                progress->repaint();
                QApplication::processEvents();
            });
            ++run.copied;
        } catch (const rtl::EInOutError& error) {
            run.failure = QStringLiteral("Abbruch bei %1: %2")
                              .arg(AnsiToQt(entry.Name), AnsiToQt(IoErrorText(error.ErrorCode())));
            break;
        }
    }
    setEnabled(true);
    return run;
}

void TCInstDlg::UnpackBtnClick() {
    OverwriteAll = false;
    unpackStop_.clear();
    const int line = CompFiles->currentRow();
    if (line < 0)
        return;
    RunCommand("Entpacken", [&] {
        const std::string edit = QtToAnsi(DestEdit->text());
        std::string dest = edit;
        CheckDestDir(dest, DirectoryPart(edit));
        dest = util::AddBackslash(dest);
        Messi->Form()->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        {
            const util::TProgressFormHolder progress;
            progress->InfoLabel->setText(QStringLiteral("Entpacke..."));
            progress->InfoLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            progress->InfoLabel->adjustSize();
            progress->show();
            progress->repaint();
            Unziper->lpszZipFile.SetValue(CompFiles->FullPath(line).c_str());
            Unziper->lpszDestination.SetValue(dest.c_str());
            Unziper->Execute(DUNZIP_EXTRACT);
        }
        DestFiles->Update();
        DestDirListBox->SetDirectory(dest);
        if (!unpackStop_.isEmpty())
            StatusLabel->setText(unpackStop_);
    });
}

void TCInstDlg::UnziperMinorCallback(const char* item, std::int32_t percent, bool& /*cancel*/) {
    util::TProgressForm* form = util::ProgressForm();
    if (form == nullptr)
        return;
    QLabel& label = *form->InfoLabel;
    label.setText(AnsiToQt(item));
    label.adjustSize();
    form->setFixedWidth(label.fontMetrics().horizontalAdvance(label.text()) + 30);
    form->Panel->resize(form->width(), form->Panel->height());
    const int panelWidth = form->Panel->width();
    form->Gauge->move((panelWidth - form->Gauge->width()) / 2, form->Gauge->y());
    label.move((panelWidth - label.width()) / 2, label.y());
    form->Gauge->setValue(percent);
    form->repaint();
}

void TCInstDlg::UnziperMessageCallback(std::uint16_t id, std::uint16_t /*boxType*/, std::int32_t p1,
                                       std::int32_t p2, char* text1, char* text2,
                                       std::int32_t& result) {
    switch (id) {
    case DUNZIP_MSG_QUESTION:
        if (OverwriteAll) {
            result = util::mrYes;
            return;
        }
        Messi->SetButtons(util::msgYesAllNoCancel);
        Messi->SetMsg(AnsiToQt(text1));
        Messi->SetCaption(AnsiToQt(text2));
        result = Messi->Execute();
        if (result == util::mrAll) {
            OverwriteAll = true;
            result = util::mrYes;
        }
        return;
    case DUNZIP_MSG_STOPPED:
        // The library's reason goes to the status line once the run is over.
        unpackStop_ = AnsiToQt(text1);
        std::fprintf(stderr, "vitrine: %s\n", unpackStop_.toLocal8Bit().constData());
        Messi->SetButtons(util::msgOK);
        Messi->SetCaption(QStringLiteral("Entpacker - Information"));
        Messi->SetMsg(QStringLiteral("Entpacken abgebrochen."));
        Messi->Execute();
        result = 1;
        return;
    case DUNZIP_MSG_TEXT:
        result = ReplaceUnzipText(p1, text1, p2);
        return;
    default:
        result = 1;
    }
}

void TCInstDlg::ExecBtnClick() {
    RunCommand("Ausführen", [this] { DestFiles->OpenCurrent(); });
}

void TCInstDlg::DestFilesExecute(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(NativeOf(path))));
}

void TCInstDlg::SelBtnClick() {
    SelectAllFiles(*DestFiles);
}

void TCInstDlg::SelectAllFiles(TxFileListBox& list) {
    const int caret = list.currentRow();
    {
        const util::UpdatesSuspended frozen(list);
        for (int line = 0; line < list.count(); ++line)
            if (!list.Entry(line)->IsDir)
                list.SetSelected(line, true);
        list.setCurrentRow(caret, QItemSelectionModel::NoUpdate);
    }
    list.viewport()->update();
}

void TCInstDlg::KillBtnClick() {
    RunCommand("Löschen", [this] {
        if (DestFiles->SelCount() == 0) {
            DeleteDirectory();
            return;
        }
        Messi->SetButtons(util::msgYesNo);
        Messi->SetCaption(QStringLiteral("Dateien löschen."));
        Messi->SetMsg(QStringLiteral("Sollen die markierten Dateien gelöscht werden?"));
        if (Messi->Execute() == util::mrYes)
            DeleteSelectedFiles();
        DestFiles->Update();
    });
}

void TCInstDlg::DeleteSelectedFiles() {
    const std::string folder = NativeOf(DestFiles->Directory());
    for (int line = 0; line < DestFiles->count(); ++line) {
        const TFileEntry& entry = *DestFiles->Entry(line);
        // A file that cannot be erased stays, without a word.
        if (DestFiles->Selected(line) && !entry.IsDir)
            platform::DeleteFile(folder + "/" + entry.NativeName);
    }
}

void TCInstDlg::DeleteDirectory() {
    const std::string path = DestDirListBox->GetItemPath(DestDirListBox->currentRow());
    const std::string native = NativeOf(path);
    if (IsProtectedFolder(native)) {
        Messi->SetButtons(util::msgOK);
        Messi->SetCaption(QStringLiteral("Verzeichnis löschen"));
        Messi->SetMsg(QStringLiteral("Das Verzeichnis %1 wird nicht gelöscht: es ist das "
                                     "Stammverzeichnis eines Laufwerks oder des Dateisystems, "
                                     "das Home-Verzeichnis oder enthält eines davon.")
                          .arg(AnsiToQt(path)));
        Messi->Execute();
        return;
    }
    Messi->SetButtons(util::msgOKCancel);
    Messi->SetCaption(QStringLiteral("Verzeichnis löschen"));
    Messi->SetMsg(QStringLiteral("Soll Verzeichnis %1 mit allen Unterverzeichnissen gelöscht "
                                 "werden?")
                      .arg(AnsiToQt(path)));
    if (Messi->Execute() != util::mrOk)
        return;
    DestDirListBox->SetDirectory(DirectoryPart(path));
    DestDirListBox->SetDirectory(DestDirListBox->Directory());
    util::DeleteTree(native);
    DestDirListBox->Update();
    DestFiles->Update();
}

void TCInstDlg::Change() {
    LastDrive = DriveComboBox->Drive();
    const std::string dir = DestDirListBox->Directory();
    const bool named =
        !CompDirName.empty() &&
        rtl::UpperCaseAscii(dir).find(rtl::UpperCaseAscii(CompDirName)) != std::string::npos;
    if (named)
        DestEdit->setText(AnsiToQt(dir));
    else
        DestEdit->setText(
            AnsiToQt(dir + (!dir.empty() && dir.back() == '\\' ? "" : "\\") + CompDirName));
}

void TCInstDlg::CompFilesChange() {
    bool anyFile = false;
    for (int line = 0; line < CompFiles->count() && !anyFile; ++line) {
        const TFileEntry& entry = *CompFiles->Entry(line);
        anyFile =
            CompFiles->Selected(line) && !entry.IsDir && entry.Name != "." && entry.Name != "..";
    }
    CopyBtn->setEnabled(anyFile);
    const TFileEntry* focused = CompFiles->Entry(CompFiles->currentRow());
    const std::string name = focused != nullptr ? focused->Name : std::string();
    const std::size_t dot = name.rfind('.');
    UnpackBtn->setEnabled(anyFile && dot != std::string::npos &&
                          rtl::UpperCaseAscii(name.substr(dot)) == ".ZIP");
    UpdateStatus();
}

// The first line is the way up ("..") or another folder: it never counts as chosen while
// folders may not be selected.
void TCInstDlg::UpdateStatus() {
    const TFileEntry* first = CompFiles->Entry(0);
    if (CompFiles->SelCount() > 0 && CompFiles->Selected(0) && !CompFiles->EnableDirSel &&
        first != nullptr && first->IsDir)
        CompFiles->SetSelected(0, false);
    StatusLabel->setText(StatusCount("%1 Datei(en) ausgewählt.", CompFiles->SelCount()));
    DestStatLabel->setText(StatusCount("%1 Datei(en) ausgewählt.", DestFiles->SelCount()));
}

void TCInstDlg::CompFilesClick() {
    const QListWidgetItem* focused = CompFiles->currentItem();
    if (focused == nullptr)
        return;
    DestEdit->setText(AnsiToQt(util::AddBackslash(DestDirListBox->Directory()) +
                               util::FileBaseName(QtToAnsi(focused->text()))));
}

void TCInstDlg::CompFilesDblClick() {
    const TFileEntry* focused = CompFiles->Entry(CompFiles->currentRow());
    if (focused != nullptr && !focused->IsDir)
        SelectAllFiles(*CompFiles);
}

bool TCInstDlg::DragSourceIs(const QObject* source, const QObject* control) const {
    return source != nullptr && source == control;
}

bool TCInstDlg::DestFilesDragOver(QObject* source) const {
    return DragSourceIs(source, CompFiles) && CopyBtn->isEnabled();
}

void TCInstDlg::DestFilesDragDrop(QObject* sender, QObject* source) {
    if (DragSourceIs(source, CompFiles))
        CopyBtnClick(sender);
}

bool TCInstDlg::KillBtnDragOver(QObject* source) const {
    return DragSourceIs(source, DestDirListBox) || DragSourceIs(source, DestFiles);
}

void TCInstDlg::KillBtnDragDrop(QObject* source) {
    if (DragSourceIs(source, DestDirListBox))
        RunCommand("Löschen", [this] { DeleteDirectory(); });
    else if (DragSourceIs(source, DestFiles))
        KillBtnClick();
}

// Item views take drops on their viewport; the filter sits there and on the other targets.
void TCInstDlg::AcceptDrops(QWidget* target) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
    if (auto* view = qobject_cast<QAbstractItemView*>(target)) {
        view->viewport()->setAcceptDrops(true);
        view->viewport()->installEventFilter(this);
    }
}

bool TCInstDlg::eventFilter(QObject* watched, QEvent* event) {
    QObject* control = watched;
    for (QObject* view : {static_cast<QObject*>(DestDirListBox), static_cast<QObject*>(DestFiles)})
        if (watched == static_cast<QAbstractItemView*>(view)->viewport())
            control = view;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const bool accept = control == KillBtn ? KillBtnDragOver(drag->source())
                                               : DestFilesDragOver(drag->source());
        if (accept) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (control == KillBtn)
            KillBtnDragDrop(drop->source());
        else
            DestFilesDragDrop(control, drop->source());
        return true;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plainDelete =
            key->key() == Qt::Key_Delete &&
            (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
        if (plainDelete && control == DestDirListBox) {
            RunCommand("Löschen", [this] { DeleteDirectory(); });
            return true;
        }
        if (plainDelete && control == DestFiles) {
            KillBtnClick();
            return true;
        }
        if (control == CompFiles)
            QMetaObject::invokeMethod(this, &TCInstDlg::UpdateStatus, Qt::QueuedConnection);
        return false;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

} // namespace install
