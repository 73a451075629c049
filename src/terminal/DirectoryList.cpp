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

// "c:\A\B" → "c:\", "c:\A", "c:\A\B".
QStringList DosAncestors(const QString& dosPath) {
    QStringList parts = dosPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QStringList ancestors;
    if (parts.isEmpty())
        return ancestors;
    QString path = parts.takeFirst() + QLatin1Char('\\');
    ancestors << path;
    for (const QString& part : parts) {
        path += (path.endsWith(QLatin1Char('\\')) ? QString() : QStringLiteral("\\")) + part;
        ancestors << path;
    }
    return ancestors;
}

QString LastPart(const QString& path) {
    const QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.size() <= 1 ? path : parts.last();
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
    if (directory_.startsWith(QLatin1Char('/'))) {
        AddEntry(directory_, directory_, depth++);
    } else {
        for (const QString& ancestor : DosAncestors(directory_))
            AddEntry(LastPart(ancestor), ancestor, depth++);
    }
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
