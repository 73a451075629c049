#include "SearchTestCatalogue.h"
#include "browser/MainWindow.h"
#include "browser/Outline.h"
#include "catalog/CatalogBuilder.h"
#include "search/SearchDialog.h"
#include "search/SearchResults.h"
#include "search/SearchWindows.h"
#include "support/TempDir.h"
#include "util/AppSettings.h"
#include "util/widgets/Thread.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

using testing_support::TempDir;

namespace {

class SearchCommand : public testing::Test {
protected:
    void Open(int extra = 0) {
        util::Settings() = util::AppSettings{};
        const std::string source = dir.Write("k.src", search_test::CatalogueSource(extra));
        std::filesystem::create_directories(dir.Path() / "Data");
        catalog::BuildCatalogue(source, dir.File("Data"));
        browser::TMainWindowSetup setup;
        setup.programFolder = dir.Path().string();
        setup.watchSelection = false;
        window = std::make_unique<browser::TPandexCDMain>(setup);
        windows = search::CreateSearchWindows(*window);
    }

    void AnswerDialog(const QString& expression) {
        QTimer::singleShot(0, [this, expression] {
            windows.Searchdlg->SearchEdit->setText(expression);
            windows.Searchdlg->OKBtn->click();
        });
    }

    void WaitUntilDone() {
        util::WaitPumping([this] { return !windows.Searchfounddlg->Searching(); });
    }

    TempDir dir;
    std::unique_ptr<browser::TPandexCDMain> window;
    search::TSearchWindows windows{};
};

} // namespace

// The button starts a search; the menu item afterwards shows its results again, as the results
// window's own search command does (tested there).
TEST_F(SearchCommand, TheButtonSearchesOkShowsTheHitAndTheMenuItemReshowsTheResults) {
    Open();
    AnswerDialog("tabelle");
    window->SBSearch->click();
    WaitUntilDone();
    ASSERT_EQ(windows.Searchfounddlg->SrchOutputListBox->count(), 1);
    windows.Searchfounddlg->OKBtn->click();
    EXPECT_EQ(window->ViewMode(), browser::vmComponent);
    ASSERT_GE(window->History().Count(), 1);
    const int shown = window->History().Items(window->History().Count() - 1);
    EXPECT_EQ(window->OverviewOL->TreeData().Names.Strings(shown), "Datenbank-Tool");
    ASSERT_FALSE(windows.Searchfounddlg->isVisible());
    bool dialogShown = false;
    QTimer::singleShot(0, [&] {
        dialogShown = windows.Searchdlg->isVisible();
        windows.Searchdlg->reject();
    });
    window->MISearch->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(windows.Searchfounddlg->isVisible());
}

TEST_F(SearchCommand, ClosingTheMainWindowDuringASearchEndsItPromptly) {
    Open(2000);
    AnswerDialog("drucker");
    window->SBSearch->click();
    ASSERT_TRUE(windows.Searchfounddlg->Searching());
    const auto start = std::chrono::steady_clock::now();
    window->close();
    EXPECT_FALSE(windows.Searchfounddlg->Searching());
    window.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}
