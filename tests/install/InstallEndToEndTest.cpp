// The way a user installs a component: the main window on the sample catalogue with the sample
// CD as drive d:, the component Tabello shown, Install pressed; in the dialog that shows, the
// proposed folder is taken, the archive copied and unpacked there (twice: the second time the
// first overwrite question is answered All), a file opened, and everything deleted again.
#include "browser/MainWindow.h"
#include "browser/Outline.h"
#include "browser/WideInfoForm.h"
#include "catalog/Records.h"
#include "install/DirectoryListBox.h"
#include "install/FileListBox.h"
#include "install/InstallCommand.h"
#include "install/InstallDialog.h"
#include "install/UnzipLibrary.h"
#include "platform/ScopedConfigFolder.h"
#include "support/ModalDialogs.h"
#include "support/QtPrinting.h"
#include "util/AppSettings.h"

#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// Receives what the dialog opens with the desktop's default application.
class OpenedFiles : public QObject {
    Q_OBJECT

public:
    OpenedFiles() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList paths;

public slots:
    void Open(const QUrl& url) { paths << url.toLocalFile(); }
};

void ShowComponentNamed(browser::TPandexCDMain& window, const std::string& shortName) {
    const catalog::TTreeViewData& tree = window.OverviewOL->TreeData();
    for (int i = 0; i < tree.Count(); ++i) {
        if (catalog::RecordKindOf(tree.RecordRef(i)) != catalog::RecordKind::Compo)
            continue;
        window.OverviewOL->SelectIndex(i);
        window.CheckSelection();
        if (window.CurrentCompo()->ShortName == shortName)
            return;
    }
    FAIL() << "no component " << shortName;
}

QStringList Files(const fs::path& folder) {
    QStringList names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names << QString::fromStdString(fs::relative(entry.path(), folder).string());
    names.sort();
    return names;
}

void Press(QWidget& dialog, const char* button) {
    dialog.findChild<QAbstractButton*>(QLatin1String(button))->click();
}

} // namespace

TEST(InstallEndToEnd, TheSampleComponentIsCopiedUnpackedOpenedAndDeleted) {
    const testing_support::TempDir disk;
    fs::create_directories(disk.Path() / "ziel");
    const testing_support::ScopedConfigFolder config;
    config.Write("drives", "d: = " VITRINE_SAMPLE_CD " cdrom KSTRV02\nf: = " +
                               disk.Path().string() + " fixed\n");
    util::Settings() = util::AppSettings{};
    util::Settings().DefaultDestinationPath = "f:\\ziel";
    const install::TUnzipLibrary library;
    ASSERT_TRUE(library.Loaded());

    browser::TMainWindowSetup setup;
    setup.programFolder = VITRINE_PROGRAM_DIR;
    setup.watchSelection = false;
    browser::TPandexCDMain window(setup);
    window.SetWideInfoForm(new browser::TWideInfoForm(&window));
    install::TCInstDlg* dialog = install::CreateInstallDialog(window);
    ShowComponentNamed(window, "Tabello");

    const fs::path target = disk.Path() / "ziel" / "TABELLO";
    OpenedFiles opened;
    testing_support::ModalAnswers answers;
    answers.Then([&](QWidget&) {
        EXPECT_EQ(dialog->CompInstBox->title(), " Tabello ");
        EXPECT_EQ(dialog->CompFiles->Directory(), "d:\\KOMP\\DB");
        EXPECT_EQ(dialog->CompFiles->currentItem()->text(), "tabello.zip");
        EXPECT_EQ(dialog->CompFiles->SelCount(), 1);
        EXPECT_TRUE(dialog->UnpackBtn->isEnabled());
        EXPECT_EQ(dialog->DestEdit->text(), "f:\\ziel\\TABELLO");

        answers.ThenPress("YesBtn"); // create the folder
        Press(*dialog, "CopyBtn");
        EXPECT_EQ(dialog->StatusLabel->text(), "1 Datei(en) kopiert.");
        EXPECT_EQ(dialog->DestEdit->text(), "f:\\ziel\\TABELLO");

        Press(*dialog, "UnpackBtn");
        answers.ThenPress("AllBtn");
        Press(*dialog, "UnpackBtn");

        dialog->DestFiles->setCurrentItem(
            dialog->DestFiles->findItems("liesmich.txt", Qt::MatchExactly).value(0));
        Press(*dialog, "ExecBtn");

        Press(*dialog, "SelBtn");
        answers.ThenPress("YesBtn");
        Press(*dialog, "KillBtn");
        EXPECT_EQ(Files(target), (QStringList{"DEMO", "DEMO/DATEN", "DEMO/DATEN/KUNDEN.TXT",
                                              "DEMO/TABDEMO.PAS", "HILFE", "HILFE/HANDBUCH.TXT"}));
        answers.ThenOk();
        Press(*dialog, "KillBtn");
        dialog->reject();
    });
    window.SBInstall->click();

    EXPECT_EQ(answers.Pending(), 0);
    ASSERT_GE(answers.Shown().size(), 5U);
    EXPECT_EQ(answers.Shown()[1].text, "Soll Verzeichnis f:\\ziel\\TABELLO erstellt werden?");
    // The second unpack asked once, about the first member that was there, and no more.
    EXPECT_EQ(answers.Shown()[2].title, "Entpacker");
    EXPECT_TRUE(answers.Shown()[2].text.startsWith("Datei "))
        << answers.Shown()[2].text.toStdString();
    EXPECT_TRUE(
        answers.Shown()[2].text.endsWith(" existiert schon, soll sie überschrieben werden?"))
        << answers.Shown()[2].text.toStdString();
    EXPECT_EQ(answers.Shown()[3].text, "Sollen die markierten Dateien gelöscht werden?");
    EXPECT_EQ(answers.Shown()[4].text,
              "Soll Verzeichnis f:\\ziel\\TABELLO mit allen Unterverzeichnissen gelöscht werden?");
    EXPECT_EQ(answers.Shown().size(), 5U);
    EXPECT_EQ(opened.paths,
              QStringList{QString::fromStdString((target / "LIESMICH.TXT").string())});
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(fs::exists(disk.Path() / "ziel"));

    // Without the CD the catalogue's own drive X: is unknown: the source list shows the current
    // folder, nothing is chosen and nothing can be copied.
    config.Write("drives", "d: = " + (disk.Path() / "no-medium").string() +
                               " cdrom\nf: = " + disk.Path().string() + " fixed\n");
    answers.Then([&](QWidget&) {
        EXPECT_NE(dialog->CompFiles->Directory(), "d:\\KOMP\\DB");
        EXPECT_EQ(dialog->CompFiles->SelCount(), 0);
        EXPECT_FALSE(dialog->CopyBtn->isEnabled());
        dialog->reject();
    });
    window.SBInstall->click();
    EXPECT_EQ(answers.Shown().size(), 6U);
}

#include "InstallEndToEndTest.moc"
