#include "terminal/DirectoryList.h"

#include "browser/AnsiText.h"
#include "platform/DosPath.h"
#include "platform/Drives.h"

#include <QDir>

namespace terminal {

namespace {

// The native folder of a DOS path or native path; empty when its drive is unknown.
QString NativeOf(const QString& directory) {
    if (directory.startsWith(QLatin1Char('/')))
        return directory;
    const auto native = platform::DosToNative(browser::QtToAnsi(directory));
    return native ? QString::fromStdString(*native) : QString();
}

// The folders from the root down to path: "c:\A\B" gives "c:\", "c:\A", "c:\A\B"; a native
// "/a/b" gives "/", "/a", "/a/b".
QStringList Ancestors(const QString& path) {
    const bool native = path.startsWith(QLatin1Char('/'));
    const QChar separator = native ? QLatin1Char('/') : QLatin1Char('\\');
    QStringList parts = path.split(separator, Qt::SkipEmptyParts);
    if (!native && parts.isEmpty())
        return {};
    QString folder = native ? QStringLiteral("/") : parts.takeFirst() + separator;
    QStringList ancestors{folder};
    for (const QString& part : parts) {
        folder += (folder.endsWith(separator) ? QString() : QString(separator)) + part;
        ancestors << folder;
    }
    return ancestors;
}

// The caption of a folder in the list: its own name; a root ("/", "c:\") as it is.
QString LastPart(const QString& path) {
    const bool native = path.startsWith(QLatin1Char('/'));
    const QStringList parts =
        path.split(native ? QLatin1Char('/') : QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.size() <= (native ? 0 : 1) ? path : parts.last();
}

} // namespace

TDirectoryList::TDirectoryList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { SetDirectory(item->data(Qt::UserRole).toString()); });
}

void TDirectoryList::SetDirectory(const QString& directory) {
    const QString native = NativeOf(directory);
    QString named = directory;
    if (directory.startsWith(QLatin1Char('/')))
        if (const auto dos = platform::NativeToDos(directory.toStdString()))
            named = browser::AnsiToQt(*dos);
    directory_ = named;
    Fill(native);
    emit DirectoryChanged();
}

void TDirectoryList::Fill(const QString& native) {
    clear();
    int depth = 0;
    for (const QString& ancestor : Ancestors(directory_))
        AddEntry(LastPart(ancestor), ancestor, depth++);
    if (native.isEmpty())
        return;
    const QString separator =
        directory_.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QStringLiteral("\\");
    const QStringList folders =
        QDir(native).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& folder : folders) {
        const bool joined = directory_.endsWith(separator);
        AddEntry(folder, directory_ + (joined ? QString() : separator) + folder, depth);
    }
}

void TDirectoryList::AddEntry(const QString& caption, const QString& path, int depth) {
    auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + caption, this);
    item->setData(Qt::UserRole, path);
}

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent) {
    const platform::DriveTable table = platform::LoadDriveTable(false);
    for (const platform::Drive& drive : table.Drives()) {
        const QString root = QStringLiteral("%1:\\").arg(QLatin1Char(drive.letter));
        addItem(QStringLiteral("%1: [%2]")
                    .arg(QLatin1Char(drive.letter))
                    .arg(browser::AnsiToQt(drive.label)),
                root);
    }
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (list_)
            list_->SetDirectory(itemData(index).toString());
        emit DriveChanged();
    });
}

void TDriveComboBox::SetDirList(TDirectoryList* list) {
    list_ = list;
    connect(list_, &TDirectoryList::DirectoryChanged, this, &TDriveComboBox::Follow);
}

void TDriveComboBox::Follow() {
    const QString directory = list_->Directory();
    setCurrentIndex(directory.size() >= 2 && directory[1] == QLatin1Char(':')
                        ? findData(directory.left(2).toLower() + QLatin1Char('\\'))
                        : -1);
}

} // namespace terminal
