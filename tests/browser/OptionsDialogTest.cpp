#include "browser/OptionsDialog.h"

#include "browser/Images.h"
#include "browser/MainWindow.h"
#include "browser/OptionsCommand.h"
#include "browser/Outline.h"
#include "browser/TestCatalogue.h"
#include "entryfields/PictureField.h"
#include "platform/ScopedConfigFolder.h"
#include "support/ModalDialogs.h"
#include "support/QtPrinting.h"
#include "util/AppSettings.h"
#include "util/RegKey.h"
#include "util/widgets/ApplicationHints.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using browser::TOptionsDialog;

class OptionsTest : public testing::Test {
protected:
    OptionsTest() {
        util::Settings() = util::AppSettings{};
        browser::TMainWindowSetup setup;
        setup.programFolder =
            browser_test::BuildCatalogue(dir_, browser_test::SmallCatalogueSource());
        setup.watchSelection = false;
        window_ = std::make_unique<browser::TPandexCDMain>(setup);
        dialog_ = browser::CreateOptionsDialog(*window_);
    }
    ~OptionsTest() override { util::SetApplicationShowHint(true); }

    // A setting as the hive holds it; "missing" when it is not there.
    static std::string Stored(const std::string& name) {
        util::TRegKey key(platform::HKEY_LOCAL_MACHINE, util::kSettingsKeyPath, true);
        if (name == "ShowHints") {
            const std::int32_t value = key.ReadInteger(name, -1);
            return value == -1 ? "missing" : std::to_string(value);
        }
        return key.ReadString(name, "missing", 512);
    }

    // The overview node of an entry, shown, and what the overview paints of its row.
    QImage PaintedRow(const std::string& name) {
        browser::TBrowzerOutline& outline = *window_->OverviewOL;
        QTreeWidgetItem* node =
            outline.SelectIndex(browser_test::NodeNamed(outline.TreeData(), name));
        outline.resize(300, 300);
        return outline.viewport()->grab(outline.visualItemRect(node)).toImage();
    }

    int ImageOf(const std::string& name) {
        browser::TBrowzerOutline& outline = *window_->OverviewOL;
        return outline.ImageIndex(
            outline.SelectIndex(browser_test::NodeNamed(outline.TreeData(), name)));
    }

    testing_support::ScopedConfigFolder config_;
    testing_support::TempDir dir_;
    std::unique_ptr<browser::TPandexCDMain> window_;
    TOptionsDialog* dialog_;
    testing_support::ModalAnswers answers_;
};

TEST_F(OptionsTest, CancelAfterEditingAllThreeFieldsChangesAndWritesNothing) {
    answers_.Then([this](QWidget& shown) {
        EXPECT_EQ(&shown, dialog_);
        EXPECT_EQ(shown.windowTitle(), "Kestrova Vitrine - Optionen");
        EXPECT_EQ(dialog_->focusWidget(), dialog_->DefaultDestEdit);
        dialog_->DefaultDestEdit->setText("d:\\komp");
        dialog_->HintsCheckBox->setChecked(false);
        dialog_->UpdateDatumField->SetAsString("01.01.95");
        dialog_->CancelBtn->click();
    });
    window_->MIOptions->trigger();
    EXPECT_EQ(answers_.Pending(), 0);
    const util::AppSettings& settings = util::Settings();
    EXPECT_EQ(settings.DefaultDestinationPath, "c:\\pandex\\component");
    EXPECT_EQ(settings.ShowHints, 1);
    EXPECT_EQ(settings.NewSinceDateText, "02.05.96");
    EXPECT_TRUE(util::ApplicationShowHint());
    for (const char* name : {"DefaultDestinationPath", "ShowHints", "CDVolumeLabel"})
        EXPECT_EQ(Stored(name), "missing") << name;
}

TEST_F(OptionsTest, OkTakesTheValuesRepaintsTheOverviewSwitchesTooltipsAndWrites) {
    const QImage before = PaintedRow("Old entry");
    EXPECT_EQ(ImageOf("Old entry"), browser::tiDocument);
    answers_.Then([this](QWidget&) {
        EXPECT_EQ(dialog_->DefaultDestEdit->text(), "c:\\pandex\\component");
        EXPECT_TRUE(dialog_->HintsCheckBox->isChecked());
        EXPECT_EQ(dialog_->UpdateDatumField->text(), "02.05.96");
        dialog_->DefaultDestEdit->setText("d:\\komp\\neu");
        dialog_->HintsCheckBox->setChecked(false);
        dialog_->UpdateDatumField->setFocus();
        dialog_->UpdateDatumField->selectAll();
        QTest::keyClicks(dialog_->UpdateDatumField, "010596");
        dialog_->OKBtn->click();
    });
    window_->SBOptions->click();

    const util::AppSettings& settings = util::Settings();
    EXPECT_EQ(settings.DefaultDestinationPath, "d:\\komp\\neu");
    EXPECT_EQ(settings.ShowHints, 0);
    EXPECT_EQ(settings.NewSinceDateText, "01.05.96");
    EXPECT_EQ(settings.NewSinceDate, rtl::EncodeDate(1996, 5, 1));
    EXPECT_FALSE(util::ApplicationShowHint());
    EXPECT_EQ(ImageOf("Old entry"), browser::tiNewDocument);
    EXPECT_NE(PaintedRow("Old entry"), before);

    EXPECT_EQ(Stored("DefaultDestinationPath"), "d:\\komp\\neu");
    EXPECT_EQ(Stored("ShowHints"), "0");
    EXPECT_EQ(Stored("CDVolumeLabel"), "KSTRV02");
    EXPECT_EQ(Stored("NewSinceDate"), "missing");
    // A new start reads the stored settings; the date is back at its default.
    util::AppSettings restarted;
    util::ReadAppSettings(restarted);
    EXPECT_EQ(restarted.DefaultDestinationPath, "d:\\komp\\neu");
    EXPECT_EQ(restarted.NewSinceDateText, "02.05.96");
}

TEST_F(OptionsTest, AnImpossibleDateIsRefusedAndNothingIsTakenOver) {
    answers_.Then([this](QWidget&) {
        dialog_->DefaultDestEdit->setText("d:\\komp");
        dialog_->UpdateDatumField->SetAsString("31.02.96");
        dialog_->OKBtn->click();
        // The message was answered; the dialog is still open, at the date.
        EXPECT_TRUE(dialog_->isVisible());
        EXPECT_EQ(dialog_->focusWidget(), dialog_->UpdateDatumField);
        dialog_->CancelBtn->click();
    });
    answers_.ThenOk();
    window_->SBOptions->click();
    ASSERT_EQ(answers_.Shown().size(), 2u);
    EXPECT_EQ(answers_.Shown()[1].title, "Fehler");
    EXPECT_EQ(answers_.Shown()[1].text, "Bitte geben sie ein gültiges Datum ein!");
    EXPECT_EQ(util::Settings().DefaultDestinationPath, "c:\\pandex\\component");
    EXPECT_EQ(Stored("DefaultDestinationPath"), "missing");
}

TEST_F(OptionsTest, AFolderWithCharactersTheSettingsCannotHoldIsRefused) {
    answers_.Then([this](QWidget&) {
        dialog_->DefaultDestEdit->setText(QString::fromUtf8("d:\\программы"));
        dialog_->OKBtn->click();
        EXPECT_TRUE(dialog_->isVisible());
        dialog_->CancelBtn->click();
    });
    answers_.ThenOk();
    window_->SBOptions->click();
    ASSERT_EQ(answers_.Shown().size(), 2u);
    EXPECT_EQ(answers_.Shown()[1].text,
              "Das Zielverzeichnis enthält Zeichen, die nicht gespeichert werden können.");
    EXPECT_EQ(util::Settings().DefaultDestinationPath, "c:\\pandex\\component");
}

} // namespace
