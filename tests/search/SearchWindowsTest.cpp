#include "search/SearchWindows.h"

#include "SearchTestCatalogue.h"
#include "browser/AnsiText.h"
#include "browser/MainWindow.h"
#include "browser/Outline.h"
#include "catalog/CatalogBuilder.h"
#include "catalog/Container.h"
#include "search/SearchDialog.h"
#include "search/SearchResults.h"
#include "search/SearchThread.h"
#include "support/ModalDialogs.h"
#include "support/TempDir.h"
#include "util/widgets/Thread.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

using namespace search;
using testing_support::TempDir;

namespace {

class SearchWindows : public testing::Test {
protected:
    void Open(int extra = 0) {
        const std::string source = dir.Write("k.src", search_test::CatalogueSource(extra));
        catalog::BuildCatalogue(source, dir.Path().string());
        container.DataFileName = dir.File("Vitrine32.dat");
        container.IndexFileName = dir.File("Vitrine32.idx");
        outline.FillTree(container);
        results = std::make_unique<TSearchfounddlg>(dialog, outline, container,
                                                    [this] { ++shownEntries; });
    }

    // Answers the next modal search dialog with the expression.
    void AnswerDialog(const QString& expression, bool caseSensitive = false) {
        QTimer::singleShot(0, [this, expression, caseSensitive] {
            dialog.SearchEdit->setText(expression);
            dialog.CaseSensiBox->setChecked(caseSensitive);
            dialog.OKBtn->click();
        });
    }

    void Search(const QString& expression) {
        AnswerDialog(expression);
        results->NewSearchBtnClick();
    }

    void WaitUntilDone() {
        util::WaitPumping([this] { return !results->Searching(); });
    }

    QStringList Hits() const {
        QStringList hits;
        for (int i = 0; i < results->SrchOutputListBox->count(); ++i)
            hits << results->SrchOutputListBox->item(i)->text();
        return hits;
    }

    // What the window shows on screen in the control's place, against the control as it would
    // paint itself now.
    static bool PaintedAsItIs(QWidget& window, QWidget& control) {
        const QImage onScreen = window.screen()->grabWindow(window.winId()).toImage();
        const QImage painted =
            onScreen.copy(QRect(control.mapTo(&window, QPoint(0, 0)), control.size()));
        const QImage current = control.grab().toImage();
        return painted.convertToFormat(QImage::Format_RGB32) ==
               current.convertToFormat(QImage::Format_RGB32);
    }

    TempDir dir;
    catalog::TBrowzerContainer container{nullptr};
    browser::TBrowzerOutline outline;
    TSearchdlg dialog;
    std::unique_ptr<TSearchfounddlg> results;
    int shownEntries = 0;
};

} // namespace

TEST_F(SearchWindows, HitsAreListedUnderTheirNamesAndTheFirstIsSelected) {
    Open();
    Search("drucker");
    WaitUntilDone();
    EXPECT_EQ(Hits(), (QStringList{"Drucker-Tool", "DEMO.Zip  Ein Archiv"}));
    EXPECT_EQ(results->windowTitle(), "Volltextsuche nach \"drucker\" - Fertig");
    EXPECT_EQ(results->Foundplaces->text(), "2");
    EXPECT_EQ(results->Searchedplaces->text(), QString::number(outline.TreeData().Count() - 1));
    EXPECT_TRUE(results->OKBtn->isEnabled());
    EXPECT_EQ(results->SrchOutputListBox->currentRow(), 0);
    EXPECT_TRUE(results->isVisible());
}

TEST_F(SearchWindows, TheFinishedSearchIsPaintedAsTheUserSeesIt) {
    Open();
    Search("drucker");
    WaitUntilDone();
    QCoreApplication::processEvents();
    ASSERT_EQ(results->Foundplaces->text(), "2");
    ASSERT_EQ(results->SrchOutputListBox->count(), 2);
    EXPECT_TRUE(PaintedAsItIs(*results, *results->Foundplaces));
    EXPECT_TRUE(PaintedAsItIs(*results, *results->Searchedplaces));
    EXPECT_TRUE(PaintedAsItIs(*results, *results->SrchOutputListBox));
    EXPECT_TRUE(PaintedAsItIs(*results, *results->OKBtn));
}

TEST_F(SearchWindows, OkSelectsTheHitInTheOverviewAndShowsIt) {
    Open();
    Search("datenbank - tabelle + tool");
    WaitUntilDone();
    ASSERT_EQ(Hits(), QStringList{"Datenbank-Tool"});
    results->OKBtn->click();
    ASSERT_NE(outline.SelectedNode(), nullptr);
    EXPECT_EQ(outline.SelectedNode()->text(0), "Datenbank-Tool");
    EXPECT_EQ(shownEntries, 1);
    EXPECT_FALSE(results->isVisible());
}

TEST_F(SearchWindows, ACaseSensitiveSearchComparesAsTyped) {
    Open();
    AnswerDialog("DRUCKER", true);
    results->NewSearchBtnClick();
    WaitUntilDone();
    EXPECT_EQ(Hits(), QStringList{"Drucker-Tool"});
    EXPECT_TRUE(dialog.CaseSensitive);
}

TEST_F(SearchWindows, TheSearchCommandOnlyReshowsAWindowWithHits) {
    Open();
    Search("drucker");
    WaitUntilDone();
    results->hide();
    bool dialogShown = false;
    QTimer::singleShot(0, [&] {
        dialogShown = dialog.isVisible();
        dialog.reject();
    });
    results->SearchCommand();
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(results->isVisible());

    Search("nirgends");
    WaitUntilDone();
    ASSERT_EQ(results->SrchOutputListBox->count(), 0);
    AnswerDialog("datenbank");
    results->SearchCommand();
    WaitUntilDone();
    EXPECT_EQ(Hits(), (QStringList{"Willkommen", "Datenbank-Tool"}));
}

TEST_F(SearchWindows, CancelHidesTheWindowWhileTheSearchGoesOn) {
    Open(2000);
    Search("drucker");
    util::WaitPumping([this] { return results->isVisible(); });
    results->CancelBtn->click();
    const int hitsAtCancel = results->SrchOutputListBox->count();
    EXPECT_FALSE(results->isVisible());
    EXPECT_TRUE(results->Searching());
    WaitUntilDone();
    EXPECT_FALSE(results->isVisible());
    EXPECT_LT(hitsAtCancel, 2002);
    EXPECT_EQ(results->SrchOutputListBox->count(), 2002);
}

TEST_F(SearchWindows, ANewSearchStopsTheRunningOneAndNothingOfItArrivesLater) {
    Open(400);
    Search("drucker");
    Search("willkommen");
    WaitUntilDone();
    // Give any stray hand-over of the first search a chance to arrive.
    util::WaitPumping([start = std::chrono::steady_clock::now()] {
        return std::chrono::steady_clock::now() - start > std::chrono::milliseconds(200);
    });
    EXPECT_EQ(Hits(), QStringList{"Willkommen"});
    EXPECT_EQ(results->windowTitle(), "Volltextsuche nach \"willkommen\" - Fertig");
}

TEST_F(SearchWindows, AnEmptyExpressionEndsWithoutAnyVisibleEffect) {
    Open();
    Search("");
    WaitUntilDone();
    EXPECT_FALSE(results->isVisible());
    EXPECT_EQ(results->windowTitle(), "Volltextsuche...");
}

TEST_F(SearchWindows, ARecordThatFailsToReadEndsTheSearchKeepingItsHits) {
    Open(3);
    // Damage the block of "Hinweis 1": its packed size now claims more than the file holds.
    const int damaged = outline.TreeData().Names.IndexOf("Hinweis 1");
    ASSERT_GE(damaged, 0);
    const auto offset = catalog::RecordOffset(outline.TreeData().RecordRef(damaged));
    container.SetActive(false);
    {
        rtl::TFileStream data(dir.File("Vitrine32.dat"), rtl::FileMode::OpenReadWrite);
        data.SetPosition(offset);
        data.WriteBuffer("\xFF\xFF\xFF\x7F", 4);
    }
    Search("drucker");
    WaitUntilDone();
    EXPECT_EQ(results->windowTitle(), "Volltextsuche nach \"drucker\" - Fertig");
    EXPECT_EQ(Hits(), QStringList{"Hinweis 0"});
    EXPECT_EQ(results->Searchedplaces->text(), QString::number(damaged - 1));
}

TEST_F(SearchWindows, ClosingWhileASearchRunsEndsPromptly) {
    Open(2000);
    Search("drucker");
    ASSERT_TRUE(results->Searching());
    const auto start = std::chrono::steady_clock::now();
    results.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(SearchWindowsOfTheMainWindow, ARunningSearchEndsBeforeTheMainWindowsCatalogueGoes) {
    TempDir dir;
    catalog::BuildCatalogue(dir.Write("k.src", search_test::CatalogueSource(3000)),
                            dir.Path().string());
    browser::TMainWindowSetup setup;
    setup.programFolder = dir.Path().string();
    setup.watchSelection = false;
    auto window = std::make_unique<browser::TPandexCDMain>(setup);
    const TSearchWindows windows = CreateSearchWindows(*window);
    QTimer::singleShot(0, [&windows] {
        windows.Searchdlg->SearchEdit->setText("drucker");
        windows.Searchdlg->OKBtn->click();
    });
    windows.Searchfounddlg->NewSearchBtnClick();
    ASSERT_TRUE(windows.Searchfounddlg->Searching());
    const std::weak_ptr<const void> search = windows.Searchfounddlg->SearchThread->LifeToken();
    bool endedInTime = false;
    QObject::connect(window.get(), &browser::TPandexCDMain::Destroying,
                     [&] { endedInTime = search.expired(); });
    window.reset();
    EXPECT_TRUE(endedInTime);
}

TEST(SearchDialog, CancelKeepsTheLastConfirmedValues) {
    TSearchdlg dialog;
    QTimer::singleShot(0, [&] {
        dialog.SearchEdit->setText("alpha");
        dialog.OKBtn->click();
    });
    EXPECT_EQ(dialog.Execute(), 1);
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(dialog.SearchEdit->selectedText(), "alpha");
        dialog.SearchEdit->setText("beta");
        dialog.CaseSensiBox->setChecked(true);
        dialog.CancelBtn->click();
    });
    EXPECT_EQ(dialog.Execute(), 2);
    EXPECT_EQ(dialog.SearchText, "alpha");
    EXPECT_FALSE(dialog.CaseSensitive);
    EXPECT_EQ(dialog.SearchEdit->text(), "beta");
}

TEST(SearchDialog, AnExpressionWithCharactersOutsideTheCatalogueTextIsRefused) {
    TSearchdlg dialog;
    testing_support::ModalAnswers answers;
    answers.Then([&dialog](QWidget&) {
        dialog.SearchEdit->setText(QString::fromUtf8("Stra\u00DFe \u2192"));
        dialog.OKBtn->click();
    });
    // The message box; the dialog stays open for a correction.
    answers.Then([&dialog](QWidget& box) {
        EXPECT_TRUE(dialog.isVisible());
        QTimer::singleShot(0, [&dialog] {
            dialog.SearchEdit->setText(QString::fromUtf8("Stra\u00DFe \u20AC"));
            dialog.OKBtn->click();
        });
        box.findChild<QPushButton*>("OKBtn")->click();
    });
    EXPECT_EQ(dialog.Execute(), 1);
    ASSERT_EQ(answers.Shown().size(), 2u);
    EXPECT_EQ(answers.Shown()[1].title, "Volltextsuche");
    EXPECT_TRUE(answers.Shown()[1].text.startsWith("Der Suchbegriff enthält Zeichen"));
    EXPECT_EQ(dialog.SearchText, "Stra\xDF"
                                 "e \x80");
}
