#include "install/InstallDialog.h"

#include "install/DirectoryListBox.h"
#include "install/DriveComboBox.h"
#include "install/FileListBox.h"
#include "install/InstallCommand.h"
#include "install/InstallFiles.h"
#include "install/UnzipLibrary.h"
#include "platform/IoError.h"
#include "platform/ScopedConfigFolder.h"
#include "support/ChildProcess.h"
#include "support/ModalDialogs.h"
#include "support/QtPrinting.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using install::TCInstDlg;
using testing_support::ModalAnswers;
using testing_support::ReadFileBytes;
using testing_support::ScopedConfigFolder;
using testing_support::TempDir;

namespace fs = std::filesystem;

namespace {

// The dialog on a CD folder mapped as e: and a destination folder mapped as f:.
class InstallDialog : public testing::Test {
protected:
    InstallDialog() {
        fs::create_directories(cd_.Path() / "KOMP");
        fs::create_directories(dest_.Path() / "ziel");
        config_.Write("drives", "e: = " + cd_.Path().string() +
                                    " cdrom KSTRV02\nf: = " + dest_.Path().string() +
                                    " fixed\ng: = " + (cd_.Path() / "empty-tray").string() +
                                    " cdrom\n");
    }

    std::string Cd(const std::string& name, const std::string& bytes) const {
        return cd_.Write("KOMP/" + name, bytes);
    }
    std::string Dest(const std::string& name) const { return dest_.File(name); }
    std::string DestFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dest_.Path()))
            names.push_back(fs::relative(entry.path(), dest_.Path()).string());
        std::sort(names.begin(), names.end());
        std::string list;
        for (const std::string& name : names)
            list += name + " ";
        return list;
    }

    // The dialog on e:\KOMP with the files named selected, the tree on f:\.
    std::unique_ptr<TCInstDlg> Dialog(const std::vector<QString>& selected) const {
        auto dialog = std::make_unique<TCInstDlg>();
        dialog->CompFiles->SetDirectory("e:\\KOMP");
        dialog->DestDirListBox->SetDirectory("f:\\");
        for (int i = 0; i < dialog->CompFiles->count(); ++i)
            dialog->CompFiles->SetSelected(i, std::find(selected.begin(), selected.end(),
                                                        dialog->CompFiles->item(i)->text()) !=
                                                  selected.end());
        return dialog;
    }

    TempDir cd_;
    TempDir dest_;
    ScopedConfigFolder config_;
};

} // namespace

TEST_F(InstallDialog, TheTreeProposesItsFolderWithTheComponentsName) {
    fs::create_directories(dest_.Path() / "tools" / "MyComp" / "src");
    TCInstDlg dialog;
    dialog.CompDirName = "mycomp";
    dialog.DestDirListBox->SetDirectory("f:\\tools");
    EXPECT_EQ(dialog.DestEdit->text(), "f:\\tools\\mycomp");
    EXPECT_EQ(dialog.LastDrive, 'f');
    dialog.DestDirListBox->SetDirectory("f:\\tools\\mycomp\\src");
    EXPECT_EQ(dialog.DestEdit->text(), "f:\\tools\\MyComp\\src");
    dialog.CompDirName.clear();
    dialog.DestDirListBox->SetDirectory("f:\\");
    EXPECT_EQ(dialog.DestEdit->text(), "f:\\");
}

TEST_F(InstallDialog, OnlyFilesEnableCopyOnlyAZipUnpackAndTheWayUpIsNeverChosen) {
    Cd("demo.zip", "PK");
    Cd("liesmich.txt", "Hallo");
    fs::create_directories(cd_.Path() / "KOMP" / "sub");
    const auto dialog = Dialog({"..", "sub"});
    dialog->CompFilesChange();
    EXPECT_FALSE(dialog->CopyBtn->isEnabled());
    EXPECT_FALSE(dialog->CompFiles->Selected(0));
    EXPECT_FALSE(dialog->DestFilesDragOver(dialog->CompFiles));

    dialog->CompFiles->SetSelected(3, true);
    dialog->CompFiles->setCurrentRow(3, QItemSelectionModel::NoUpdate);
    EXPECT_EQ(dialog->CompFiles->item(3)->text(), "liesmich.txt");
    EXPECT_TRUE(dialog->CopyBtn->isEnabled());
    EXPECT_FALSE(dialog->UnpackBtn->isEnabled());
    dialog->CompFiles->setCurrentRow(2, QItemSelectionModel::NoUpdate);
    EXPECT_TRUE(dialog->UnpackBtn->isEnabled());
    EXPECT_EQ(dialog->StatusLabel->text(), "2 Datei(en) ausgewählt.");
    EXPECT_TRUE(dialog->DestFilesDragOver(dialog->CompFiles));
    EXPECT_FALSE(dialog->DestFilesDragOver(dialog->DestFiles));
    EXPECT_TRUE(dialog->KillBtnDragOver(dialog->DestDirListBox));
    EXPECT_FALSE(dialog->KillBtnDragOver(dialog->CompFiles));
}

TEST_F(InstallDialog, CopyAsksEveryQuestionFirstAndCountsOnlyWhatItCopied) {
    Cd("a.txt", "new a");
    Cd("b.txt", std::string(5000, 'b'));
    Cd("c.txt", "");
    dest_.Write("ziel/a.txt", "old a");
    const auto dialog = Dialog({"a.txt", "b.txt", "c.txt"});
    dialog->DestEdit->setText("f:\\ziel");
    ModalAnswers answers;
    answers.Then([&](QWidget& box) {
        EXPECT_EQ(DestFiles(), "ziel ziel/a.txt ");
        QTest::mouseClick(box.findChild<QPushButton*>("NoBtn"), Qt::LeftButton);
    });
    dialog->CopyBtnClick();
    ASSERT_EQ(answers.Shown().size(), 1U);
    EXPECT_EQ(answers.Shown()[0].title, "Datei kopieren");
    EXPECT_EQ(answers.Shown()[0].text, "Soll Datei f:\\ziel\\a.txt überschrieben werden?");
    EXPECT_EQ(dialog->StatusLabel->text(), "2 Datei(en) kopiert.");
    EXPECT_EQ(ReadFileBytes(Dest("ziel/a.txt")), "old a");
    EXPECT_EQ(ReadFileBytes(Dest("ziel/b.txt")), std::string(5000, 'b'));
    EXPECT_EQ(DestFiles(), "ziel ziel/a.txt ziel/b.txt ziel/c.txt ");
    EXPECT_EQ(dialog->DestDirListBox->Directory(), "f:\\ziel");
}

TEST_F(InstallDialog, ASourceThatVanishesEndsTheRunWithTheCountSoFarAndTheReason) {
    Cd("a.txt", "new a");
    const std::string vanishing = Cd("b.txt", "b");
    Cd("c.txt", "c");
    dest_.Write("ziel/a.txt", "old a");
    const auto dialog = Dialog({"a.txt", "b.txt", "c.txt"});
    dialog->DestEdit->setText("f:\\ziel");
    ModalAnswers answers;
    answers.Then([&](QWidget& box) {
        fs::remove(vanishing);
        QTest::mouseClick(box.findChild<QPushButton*>("YesBtn"), Qt::LeftButton);
    });
    testing::internal::CaptureStderr();
    dialog->CopyBtnClick();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(dialog->StatusLabel->text(),
              "1 Datei(en) kopiert. Abbruch bei b.txt: Datei nicht gefunden (Fehler 2)");
    EXPECT_NE(errors.find("Abbruch bei b.txt"), std::string::npos) << errors;
    EXPECT_EQ(ReadFileBytes(Dest("ziel/a.txt")), "new a");
    EXPECT_EQ(DestFiles(), "ziel ziel/a.txt ");
}

TEST_F(InstallDialog, AFullDiskKeepsTheOldTargetAndLeavesNoPartialFile) {
    const std::string source = Cd("big.dat", std::string(64 * 1024, 'x'));
    dest_.Write("ziel/big.dat", "old");
    const int status = testing_support::RunInChild([&] {
        testing_support::LimitFileSize(16 * 1024);
        try {
            install::CopyInstallFile(source, Dest("ziel"), "big.dat", [](std::int64_t) {});
        } catch (const rtl::EInOutError& error) {
            return error.ErrorCode() == platform::ERROR_DISK_FULL ? 0 : 2;
        }
        return 3;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileBytes(Dest("ziel/big.dat")), "old");
    EXPECT_EQ(DestFiles(), "ziel ziel/big.dat ");
}

TEST_F(InstallDialog, AReadOnlyDestinationOrAnUnknownDriveIsShownInTheStatusLine) {
    Cd("a.txt", "a");
    fs::permissions(dest_.Path() / "ziel",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const int status = testing_support::RunInChild([&] {
        testing_support::ObeyFilePermissions();
        const auto dialog = Dialog({"a.txt"});
        dialog->DestEdit->setText("f:\\ziel");
        dialog->CopyBtnClick();
        return dialog->StatusLabel->text() ==
                       "0 Datei(en) kopiert. Abbruch bei a.txt: Zugriff verweigert (Fehler 5)"
                   ? 0
                   : 1;
    });
    fs::permissions(dest_.Path() / "ziel", fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(DestFiles(), "ziel ");

    const auto dialog = Dialog({"a.txt"});
    dialog->DestEdit->setText("q:\\ziel");
    ModalAnswers answers;
    answers.ThenPress("YesBtn");
    dialog->CopyBtnClick();
    EXPECT_EQ(answers.Shown().at(0).text, "Soll Verzeichnis q:\\ziel erstellt werden?");
    EXPECT_EQ(dialog->StatusLabel->text(), "Kopieren: Verzeichnis nicht gefunden (Fehler 3)");
}

TEST_F(InstallDialog, ADriveWithoutItsMediumSetsTheDriveBoxBack) {
    TCInstDlg dialog;
    dialog.DestDirListBox->SetDirectory("f:\\");
    const int empty = dialog.DriveComboBox->findData(QChar(u'g'));
    ASSERT_GE(empty, 0);
    testing::internal::CaptureStderr();
    emit dialog.DriveComboBox->activated(empty);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "vitrine: I/O error 21\n");
    EXPECT_EQ(dialog.DriveComboBox->Drive(), 'f');
    EXPECT_EQ(dialog.DriveComboBox->currentText().left(2), "f:");
    EXPECT_EQ(dialog.DestDirListBox->Directory(), "f:\\");
}

TEST_F(InstallDialog, DeletingARootIsRefusedBeforeAnyQuestionAndAFolderGoesWithItsFiles) {
    dest_.Write("ziel/unten/datei.txt", "x");
    const auto dialog = Dialog({});
    ModalAnswers answers;
    answers.ThenOk();
    dialog->KillBtnClick();
    ASSERT_EQ(answers.Shown().size(), 1U);
    EXPECT_EQ(answers.Shown()[0].title, "Verzeichnis löschen");
    EXPECT_TRUE(answers.Shown()[0].text.startsWith("Das Verzeichnis f:\\ wird nicht gelöscht"));
    EXPECT_TRUE(fs::exists(Dest("ziel/unten/datei.txt")));

    dialog->DestDirListBox->SetDirectory("f:\\ziel");
    answers.ThenOk();
    QTest::keyClick(dialog->DestDirListBox, Qt::Key_Delete);
    EXPECT_EQ(answers.Shown().at(1).text,
              "Soll Verzeichnis f:\\ziel mit allen Unterverzeichnissen gelöscht werden?");
    EXPECT_EQ(DestFiles(), "");
    EXPECT_EQ(dialog->DestDirListBox->Directory(), "f:\\");
    EXPECT_TRUE(install::IsProtectedFolder(dest_.Path().string() + "/.."));
}

TEST_F(InstallDialog, TheCatalogueCdTakesThePlaceOfTheDriveTheCatalogueNames) {
    EXPECT_EQ(install::PathOnCd("X:\\KOMP\\DEMO.ZIP"), "e:\\KOMP\\DEMO.ZIP");
    config_.Write("drives", "e: = " + cd_.Path().string() + " cdrom ANDERE\n");
    EXPECT_EQ(install::PathOnCd("X:\\KOMP\\DEMO.ZIP"), "X:\\KOMP\\DEMO.ZIP");
    EXPECT_EQ(install::PathOnCd("DEMO.ZIP"), "DEMO.ZIP");
}

TEST_F(InstallDialog, TheLibrarysReasonForStoppingStaysInTheStatusLine) {
    const install::TUnzipLibrary library;
    Cd("kaputt.zip", "PK\x03\x04 not really an archive");
    const auto dialog = Dialog({"kaputt.zip"});
    dialog->CompFiles->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    dialog->DestEdit->setText("f:\\ziel");
    ModalAnswers answers;
    answers.ThenOk();
    testing::internal::CaptureStderr();
    dialog->UnpackBtnClick();
    const std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_EQ(answers.Shown().size(), 1U);
    EXPECT_EQ(answers.Shown()[0].title, "Entpacker - Information");
    EXPECT_EQ(answers.Shown()[0].text, "Entpacken abgebrochen.");
    EXPECT_TRUE(dialog->StatusLabel->text().contains("kaputt.zip"))
        << dialog->StatusLabel->text().toStdString();
    EXPECT_NE(errors.find("kaputt.zip"), std::string::npos) << errors;
    EXPECT_EQ(DestFiles(), "ziel ");
}
