#include "browser/MainWindow.h"

#include "browser/EntryDetails.h"
#include "browser/Outline.h"
#include "browser/TestCatalogue.h"
#include "browser/TextView.h"
#include "browser/WideInfoForm.h"
#include "catalog/Records.h"
#include "util/AppSettings.h"
#include "util/widgets/Thread.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace {

using browser::TPandexCDMain;
using browser_test::NodeNamed;

struct Message {
    QString caption;
    QString text;
};

class MainWindowTest : public testing::Test {
protected:
    MainWindowTest() { util::Settings() = util::AppSettings{}; }

    std::unique_ptr<TPandexCDMain> Create(const std::string& folder) {
        browser::TMainWindowSetup setup;
        setup.programFolder = folder;
        setup.showMessage = [this](const QString& caption, const QString& text) {
            messages_.push_back({caption, text});
        };
        setup.showError = [this](const std::exception& error) { errors_.push_back(error.what()); };
        setup.onWrongVersion = [this](const std::string& message) {
            wrongVersion_.push_back(message);
            throw std::runtime_error("program ends");
        };
        setup.watchSelection = false;
        return std::make_unique<TPandexCDMain>(setup);
    }

    std::unique_ptr<TPandexCDMain> CreateWith(const std::string& source) {
        return Create(browser_test::BuildCatalogue(dir_, source));
    }

    static void Select(TPandexCDMain& window, const std::string& name) {
        ASSERT_NE(window.OverviewOL->SelectIndex(NodeNamed(window.OverviewOL->TreeData(), name)),
                  nullptr);
        window.CheckSelection();
    }

    // Selects the entry and lets the watcher see it.
    static void Visit(TPandexCDMain& window, int index) {
        window.OverviewOL->SelectIndex(index);
        window.CheckSelection();
    }

    static std::vector<int> HistoryOf(const TPandexCDMain& window) {
        return window.History().Values();
    }

    testing_support::TempDir dir_;
    std::vector<Message> messages_;
    std::vector<std::string> errors_;
    std::vector<std::string> wrongVersion_;
};

TEST_F(MainWindowTest, OpensTheCatalogueAndShowsTheFirstInfoText) {
    auto window = CreateWith(browser_test::SmallCatalogueSource());
    EXPECT_TRUE(window->CatalogueLoaded());
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(window->ViewMode(), browser::vmInfoText);
    EXPECT_EQ(window->BrowzerNoteBook->currentWidget()->objectName(), QStringLiteral("Infotext"));
    EXPECT_TRUE(window->TextView->toPlainText().contains(QStringLiteral("Welcome")));
    EXPECT_EQ(window->OverviewOL->topLevelItemCount(), 4);
    EXPECT_FALSE(window->SBPrevHist->isEnabled());
    // The first check of the watcher shows the top entry and records it.
    window->CheckSelection();
    EXPECT_EQ(HistoryOf(*window), std::vector<int>{0});
}

TEST_F(MainWindowTest, NoCatalogueGivesOneMessageAnEmptyWindowAndAnImmediateQuit) {
    auto window = Create(dir_.Path().string());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].caption, QStringLiteral("Vitrine - Fehler"));
    EXPECT_EQ(messages_[0].text, QStringLiteral("Datenbank nicht gefunden!"));
    EXPECT_TRUE(errors_.empty());
    EXPECT_FALSE(window->CatalogueLoaded());
    EXPECT_EQ(window->OverviewOL->topLevelItemCount(), 0);
    // With nothing shown, nothing can be copied, printed or installed.
    EXPECT_FALSE(window->SBCopy->isEnabled());
    EXPECT_FALSE(window->SBPrintText->isEnabled());
    EXPECT_FALSE(window->MIInstall->isEnabled());

    window->show();
    EXPECT_FALSE(window->ExpandBtn->isVisible());
    window->QuitButton->click();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, EachCatalogueFileIsFoundInItsOwnPlace) {
    const std::string folder =
        browser_test::BuildCatalogue(dir_, browser_test::SmallCatalogueSource(),
                                     browser_test::Placement::DataFileBesideIndexInData);
    auto window = Create(folder);
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(window->CatalogueLoaded());
    EXPECT_EQ(window->BrowzerContainer().DataFileName, folder + "/Vitrine32.dat");
    EXPECT_EQ(window->BrowzerContainer().IndexFileName, folder + "/Data/Vitrine32.idx");
    EXPECT_EQ(window->OverviewOL->topLevelItemCount(), 4);
}

TEST_F(MainWindowTest, AWrongVersionGoesToTheVersionHandler) {
    const std::string folder =
        browser_test::BuildCatalogue(dir_, browser_test::SmallCatalogueSource());
    dir_.Write("Data/Vitrine32.dat", std::string("\x02\x00\x03\x00", 4));
    auto window = Create(folder);
    ASSERT_EQ(wrongVersion_.size(), 1u);
    EXPECT_EQ(wrongVersion_[0], catalog::WrongVersionMessage());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, ADamagedCatalogueOrAMissingOutlineGivesTheLoadingMessage) {
    const std::string folder =
        browser_test::BuildCatalogue(dir_, browser_test::SmallCatalogueSource());
    const std::string data = testing_support::ReadFileBytes(folder + "/Data/Vitrine32.dat");
    // The outline is stored last: cutting the data file cuts its block.
    for (const auto& [file, bytes] : {std::pair<std::string, std::string>{
                                          "Data/Vitrine32.dat", data.substr(0, data.size() - 5)},
                                      {"Data/Vitrine32.idx", ""}}) {
        const std::string intact = testing_support::ReadFileBytes(folder + "/" + file);
        dir_.Write(file, bytes);
        messages_.clear();
        auto window = Create(folder);
        ASSERT_EQ(messages_.size(), 1u) << file;
        EXPECT_EQ(messages_[0].caption, QStringLiteral("Vitrine - Fehler"));
        EXPECT_EQ(messages_[0].text, QStringLiteral("Fehler beim Laden der Datenbank!"));
        EXPECT_TRUE(errors_.empty());
        EXPECT_FALSE(window->CatalogueLoaded());
        dir_.Write(file, intact);
    }
}

TEST_F(MainWindowTest, SelectingTheSameEntryTwiceRecordsItOnce) {
    auto window = CreateWith(browser_test::SmallCatalogueSource());
    Select(*window, "Last");
    window->ShowSelectedEntry();
    EXPECT_EQ(HistoryOf(*window),
              std::vector<int>{NodeNamed(window->OverviewOL->TreeData(), "Last")});
    EXPECT_FALSE(window->SBPrevHist->isEnabled());
}

TEST_F(MainWindowTest, AnEntryShownDirectlyIsNotShownAgainByTheWatcher) {
    auto window = CreateWith(browser_test::SmallCatalogueSource());
    window->OverviewOL->SelectIndex(NodeNamed(window->OverviewOL->TreeData(), "Component"));
    window->ShowSelectedEntry();
    const catalog::TCompoText* shown = window->CurrentCompo();
    window->CheckSelection();
    EXPECT_EQ(window->CurrentCompo(), shown);
}

TEST_F(MainWindowTest, TwentyFiveEntriesLeaveTheLastTwentyOne) {
    auto window = CreateWith(browser_test::FlatCatalogueSource(30));
    for (int i = 0; i < 25; ++i)
        Visit(*window, i);
    std::vector<int> expected;
    for (int i = 4; i < 25; ++i)
        expected.push_back(i);
    EXPECT_EQ(HistoryOf(*window), expected);
}

TEST_F(MainWindowTest, GoingBackTakesTheEntryBeforeTheLastAndKeepsTheLast) {
    auto window = CreateWith(browser_test::FlatCatalogueSource(5));
    for (int i : {1, 2, 3})
        Visit(*window, i);
    EXPECT_TRUE(window->SBPrevHist->isEnabled());

    window->SBPrevHist->click();
    EXPECT_EQ(browser::TBrowzerOutline::NodeIndex(window->OverviewOL->SelectedNode()), 2);
    window->CheckSelection();
    EXPECT_EQ(HistoryOf(*window), (std::vector<int>{1, 3}));
    EXPECT_TRUE(window->SBPrevHist->isEnabled());

    // The next selection is recorded again.
    Visit(*window, 4);
    EXPECT_EQ(HistoryOf(*window), (std::vector<int>{1, 3, 4}));
}

TEST_F(MainWindowTest, GoingBackToTheEntryOnShowKeepsRecording) {
    auto window = CreateWith(browser_test::FlatCatalogueSource(5));
    for (int i : {1, 2, 3})
        Visit(*window, i);
    window->SBPrevHist->click();
    window->CheckSelection();
    Visit(*window, 1);
    window->SBPrevHist->click();
    window->CheckSelection();
    Visit(*window, 1);
    ASSERT_EQ(HistoryOf(*window), (std::vector<int>{1, 1}));
    window->SBPrevHist->click();
    window->CheckSelection();
    Visit(*window, 4);
    EXPECT_EQ(HistoryOf(*window), (std::vector<int>{1, 4}));
}

TEST_F(MainWindowTest, AComponentFillsTheComponentPageAndTheWideWindow) {
    auto window = CreateWith(browser_test::SmallCatalogueSource());
    auto* wide = new browser::TWideInfoForm(window.get());
    window->SetWideInfoForm(wide);
    window->show();
    Select(*window, "Component");

    EXPECT_EQ(window->ViewMode(), browser::vmComponent);
    EXPECT_EQ(window->BrowzerNoteBook->currentWidget()->objectName(), QStringLiteral("Komponente"));
    EXPECT_TRUE(window->ExpandBtn->isVisible());
    EXPECT_TRUE(window->SBInstall->isEnabled());
    EXPECT_TRUE(window->MIInstall->isEnabled());
    browser::TComponentPage& page = *window->ComponentPage;
    EXPECT_EQ(page.CompoDescBox->title(), QStringLiteral(" Tabello && Co   Version 2.1 "));
    EXPECT_EQ(page.RatingGauge->value(), 70);
    EXPECT_TRUE(page.StuffView->toPlainText().contains(QStringLiteral("GRID TABLE")));
    ASSERT_NE(window->CurrentCompo(), nullptr);
    EXPECT_EQ(window->CurrentCompo()->LongName, "Tabello & Co");

    window->ExpandBtn->click();
    EXPECT_TRUE(wide->isVisible());
    EXPECT_EQ(wide->windowTitle(), QStringLiteral("Detailansicht der Komponente: Tabello & Co"));
    EXPECT_EQ(wide->InstallMemo->toPlainText(), QStringLiteral("Unpack it."));

    // Another component keeps the window open with its old texts; an info text hides it.
    Select(*window, "Plain");
    EXPECT_TRUE(wide->isVisible());
    EXPECT_EQ(wide->InstallMemo->toPlainText(), QStringLiteral("Unpack it."));
    EXPECT_FALSE(page.LangCompInfo->isVisible());
    Select(*window, "Again");
    EXPECT_FALSE(wide->isVisible());
    EXPECT_EQ(window->CurrentCompo()->LongName, "Plain");
}

TEST_F(MainWindowTest, AShortTextShowsItsFileNameAndTheDecodedText) {
    auto window = CreateWith(browser_test::SmallCatalogueSource());
    window->show();
    Select(*window, "File");
    EXPECT_EQ(window->ViewMode(), browser::vmShortDesc);
    EXPECT_TRUE(window->ShortFileName->isVisible());
    EXPECT_EQ(window->ShortFileName->text(), QStringLiteral("DATEIEN\\FILE.ZIP"));
    EXPECT_EQ(window->ShortDescPage->ShortMemo->toPlainText(), QStringLiteral("╔══╗\n"));
    EXPECT_FALSE(window->ExpandBtn->isVisible());

    Select(*window, "Last");
    EXPECT_EQ(window->ViewMode(), browser::vmNone);
    EXPECT_FALSE(window->ShortFileName->isVisible());
    EXPECT_TRUE(window->TextView->isHidden()) << "no earlier text stays on show";
}

TEST_F(MainWindowTest, AnEntryThatCannotBeReadRaisesAndTheWindowGoesOn) {
    const std::string folder =
        browser_test::BuildCatalogue(dir_, browser_test::SmallCatalogueSource());
    std::uint32_t offset = 0;
    {
        auto intact = Create(folder);
        const catalog::TTreeViewData& tree = intact->OverviewOL->TreeData();
        offset = catalog::RecordOffset(tree.RecordRef(NodeNamed(tree, "Component")));
    }
    {
        // A block header stating more packed bytes than the file holds.
        std::fstream data(folder + "/Data/Vitrine32.dat",
                          std::ios::in | std::ios::out | std::ios::binary);
        data.seekp(offset);
        data.write("\xFF\xFF\xFF\x7F", 4);
    }
    auto window = Create(folder);
    Select(*window, "Plain");
    ASSERT_EQ(window->CurrentCompo()->LongName, "Plain");
    window->OverviewOL->SelectIndex(NodeNamed(window->OverviewOL->TreeData(), "Component"));
    try {
        window->CheckSelection();
        ADD_FAILURE() << "a damaged record was shown";
    } catch (const catalog::EBrowzerError& error) {
        EXPECT_STREQ(error.what(), "Fehler beim Laden der Datenbank!");
    }
    // The failed record is the current one; the next selection is shown as usual.
    ASSERT_NE(window->CurrentCompo(), nullptr);
    EXPECT_TRUE(window->CurrentCompo()->LongName.empty());
    Select(*window, "Again");
    EXPECT_EQ(window->ViewMode(), browser::vmInfoText);
}

TEST_F(MainWindowTest, TheSplitterDragWidensTheOverviewAndTheLayoutFollows) {
    auto window = CreateWith(browser_test::SmallCatalogueSource());
    window->show();
    window->resize(700, 500);
    const int before = window->OverviewPanel->width();
    const QPoint start(1, 10);
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button,
                    Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, window->Splitter->mapToGlobal(at), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(window->Splitter, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, QPoint(50, 10), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, QPoint(50, 10), Qt::LeftButton, Qt::NoButton);

    EXPECT_EQ(window->OverviewPanel->width(), before + 50);
    EXPECT_EQ(window->Splitter->x(), window->OverviewPanel->width() + 1);
    EXPECT_EQ(window->InfoPanel->x(), window->Splitter->x() + window->Splitter->width());
    EXPECT_EQ(window->InfoPanel->x() + window->InfoPanel->width(),
              window->centralWidget()->width());
    // The component page is fitted to the narrower detail area.
    const browser::TComponentPage& page = *window->ComponentPage;
    EXPECT_EQ(page.CompoCopyright->x() + page.CompoCopyright->width(),
              page.CompoScrollContent->width() - 4);

    // A drag past the window's edge leaves the bar inside it.
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, QPoint(2000, 10), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, QPoint(2000, 10), Qt::LeftButton, Qt::NoButton);
    EXPECT_LT(window->Splitter->x() + window->Splitter->width(), window->centralWidget()->width());
    EXPECT_GT(window->InfoPanel->width(), window->SBPrevHist->x() + window->SBPrevHist->width());
    // So does a narrower window.
    window->resize(640, 500);
    EXPECT_LT(window->Splitter->x() + window->Splitter->width(), window->centralWidget()->width());
}

TEST_F(MainWindowTest, ClosingWithARunningWatcherEnds) {
    browser::TMainWindowSetup setup;
    setup.programFolder = browser_test::BuildCatalogue(dir_, browser_test::SmallCatalogueSource());
    auto window = std::make_unique<TPandexCDMain>(setup);
    window->show();
    // The watcher shows the top entry within a few of its steps.
    QElapsedTimer clock;
    clock.start();
    util::WaitPumping([&] { return window->History().Count() > 0 || clock.elapsed() > 10000; });
    EXPECT_EQ(window->History().Count(), 1);
    window.reset();
}

} // namespace
