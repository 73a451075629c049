#include "browser/Outline.h"

#include "browser/Images.h"
#include "browser/TestCatalogue.h"
#include "catalog/Container.h"
#include "util/AppSettings.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

using browser::TBrowzerOutline;
using browser_test::NodeNamed;

class OutlineTest : public testing::Test {
protected:
    void Open(const std::string& source) {
        util::Settings() = util::AppSettings{};
        const std::string folder = browser_test::BuildCatalogue(dir_, source);
        container_.DataFileName = folder + "/Data/Vitrine32.dat";
        container_.IndexFileName = folder + "/Data/Vitrine32.idx";
        outline_.FillTree(container_);
    }

    int Index(const std::string& name) const { return NodeNamed(outline_.TreeData(), name); }

    QTreeWidgetItem* TopNode(const std::string& name) const {
        for (int i = 0; i < outline_.topLevelItemCount(); ++i) {
            if (TBrowzerOutline::NodeIndex(outline_.topLevelItem(i)) == Index(name))
                return outline_.topLevelItem(i);
        }
        return nullptr;
    }

    std::string SelectedName() const {
        const int index = TBrowzerOutline::NodeIndex(outline_.SelectedNode());
        return index < 0 ? std::string() : outline_.TreeData().Names.Strings(index);
    }

    testing_support::TempDir dir_;
    catalog::TBrowzerContainer container_{nullptr};
    TBrowzerOutline outline_;
};

TEST_F(OutlineTest, FillTreeShowsTheTopLevelAndTheFirstNodesChildrenOnly) {
    Open(browser_test::SmallCatalogueSource());
    ASSERT_EQ(outline_.topLevelItemCount(), 4);
    EXPECT_EQ(outline_.topLevelItem(1)->text(0), QStringLiteral("Folder A"));
    EXPECT_EQ(TopNode("Folder A")->childCount(), 0);
    EXPECT_EQ(TopNode("Folder B")->childCount(), 0);
    EXPECT_EQ(TopNode("Folder A")->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_EQ(TopNode("Last")->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
}

TEST_F(OutlineTest, ExpandingLoadsExactlyChildCountNodesOnce) {
    Open(browser_test::SmallCatalogueSource());
    QTreeWidgetItem* folder = TopNode("Folder A");
    const int childCount = outline_.TreeData().ChildCounts.Items(Index("Folder A"));
    ASSERT_EQ(childCount, 3);

    folder->setExpanded(true);
    ASSERT_EQ(folder->childCount(), childCount);
    EXPECT_EQ(folder->child(0)->text(0), QStringLiteral("Old entry"));
    EXPECT_EQ(folder->child(2)->text(0), QStringLiteral("Sub"));
    EXPECT_EQ(TBrowzerOutline::NodeIndex(folder->child(1)), Index("New entry"));

    folder->setExpanded(false);
    folder->setExpanded(true);
    EXPECT_EQ(folder->childCount(), childCount);
}

TEST_F(OutlineTest, ImagesFollowChildrenAndNewSinceDate) {
    Open(browser_test::SmallCatalogueSource());
    outline_.SelectIndex(Index("New entry"));
    QTreeWidgetItem* folder = TopNode("Folder A");
    QTreeWidgetItem* dueOnTheDay = folder->child(0);
    QTreeWidgetItem* dayAfter = folder->child(1);

    EXPECT_EQ(outline_.ImageIndex(folder), browser::tiFolder);
    EXPECT_EQ(outline_.ImageIndex(dueOnTheDay), browser::tiDocument);
    EXPECT_EQ(outline_.ImageIndex(dayAfter), browser::tiNewDocument);

    // The images are asked for when painted: a later date takes the mark away.
    util::Settings().SetNewSinceDate("03.05.96");
    EXPECT_EQ(outline_.ImageIndex(dayAfter), browser::tiDocument);
    const QIcon shown = dayAfter->data(0, Qt::DecorationRole).value<QIcon>();
    EXPECT_EQ(shown.cacheKey(), outline_.Image(browser::tiDocument).cacheKey());
    util::Settings().SetNewSinceDate("01.01.80");
    EXPECT_EQ(outline_.ImageIndex(folder), browser::tiFolder);
    EXPECT_EQ(outline_.ImageIndex(dueOnTheDay), browser::tiNewDocument);
}

TEST_F(OutlineTest, SelectIndexThreeLevelsDeepExpandsOnlyItsAncestors) {
    Open(browser_test::SmallCatalogueSource());
    QTreeWidgetItem* node = outline_.SelectIndex(Index("Component"));

    ASSERT_NE(node, nullptr);
    EXPECT_EQ(outline_.SelectedNode(), node);
    EXPECT_EQ(SelectedName(), "Component");
    ASSERT_NE(node->parent(), nullptr);
    EXPECT_TRUE(node->parent()->isExpanded());
    EXPECT_EQ(node->parent()->text(0), QStringLiteral("Sub"));
    EXPECT_TRUE(TopNode("Folder A")->isExpanded());
    EXPECT_FALSE(TopNode("Folder B")->isExpanded());
    EXPECT_EQ(TopNode("Folder B")->childCount(), 0);
}

TEST_F(OutlineTest, SelectIndexFindsTheChildrenOfTheFirstNode) {
    Open("OUTLINE [O] {\nFirst\n  Child one\n  Child two\nSecond\n  Other child\n}\n");
    for (const char* name : {"Child two", "Child one", "Other child", "First"}) {
        ASSERT_NE(outline_.SelectIndex(Index(name)), nullptr) << name;
        EXPECT_EQ(SelectedName(), name);
    }
}

TEST_F(OutlineTest, SelectIndexOfATopLevelEntryAndOfNoEntry) {
    Open(browser_test::SmallCatalogueSource());
    EXPECT_EQ(outline_.SelectIndex(Index("Last")), TopNode("Last"));
    EXPECT_EQ(outline_.SelectIndex(outline_.TreeData().Count()), nullptr);
    EXPECT_EQ(outline_.SelectIndex(-1), nullptr);
    EXPECT_EQ(SelectedName(), "Last");
}

TEST_F(OutlineTest, ArrowMovesAreTheTreesOwnKeys) {
    Open(browser_test::SmallCatalogueSource());
    outline_.SelectIndex(Index("Folder A"));
    TopNode("Folder A")->setExpanded(true);

    outline_.MoveDown();
    EXPECT_EQ(SelectedName(), "Old entry");
    outline_.MoveDown();
    EXPECT_EQ(SelectedName(), "New entry");
    outline_.MoveUp();
    EXPECT_EQ(SelectedName(), "Old entry");
    outline_.MoveLevelUp();
    EXPECT_EQ(SelectedName(), "Folder A");
    // Left on an expanded node collapses it and keeps the selection.
    outline_.MoveLevelUp();
    EXPECT_EQ(SelectedName(), "Folder A");
    EXPECT_FALSE(TopNode("Folder A")->isExpanded());
    outline_.MoveUp();
    EXPECT_EQ(SelectedName(), "Welcome");
}

TEST_F(OutlineTest, CollapsingAFolderThatHoldsTheSelectionSelectsTheFolder) {
    Open(browser_test::SmallCatalogueSource());
    outline_.SelectIndex(Index("Component"));
    TopNode("Folder A")->setExpanded(false);
    EXPECT_EQ(SelectedName(), "Folder A");
    outline_.MoveDown();
    EXPECT_EQ(SelectedName(), "Folder B");

    // A collapse elsewhere leaves the selection alone.
    outline_.SelectIndex(Index("Again"));
    outline_.SelectIndex(Index("Last"));
    TopNode("Folder B")->setExpanded(false);
    EXPECT_EQ(SelectedName(), "Last");
}

TEST_F(OutlineTest, MoveNextWalksInTreeOrderAndStopsAtTheEnd) {
    Open(browser_test::SmallCatalogueSource());
    outline_.SelectIndex(Index("File"));
    outline_.MoveNext();
    EXPECT_EQ(SelectedName(), "Folder B");
    outline_.MoveNext();
    EXPECT_EQ(SelectedName(), "Again");
    EXPECT_TRUE(TopNode("Folder B")->isExpanded());

    outline_.SelectIndex(Index("Last"));
    outline_.MoveNext();
    EXPECT_EQ(SelectedName(), "Last");
}

TEST_F(OutlineTest, ResetViewCollapsesTheFirstNodeAndSelectsTheTop) {
    Open(browser_test::SmallCatalogueSource());
    outline_.SelectIndex(Index("Again"));
    outline_.ResetView();
    EXPECT_EQ(SelectedName(), "Welcome");
    // Other top-level nodes keep their state.
    EXPECT_TRUE(TopNode("Folder B")->isExpanded());
}

TEST_F(OutlineTest, ResetViewOnASingleNodeChangesNothing) {
    Open(browser_test::FlatCatalogueSource(1));
    ASSERT_EQ(outline_.topLevelItemCount(), 1);
    outline_.ResetView();
    EXPECT_EQ(outline_.SelectedNode(), nullptr);
}

TEST_F(OutlineTest, ARightClickReportsAndKeepsTheSelection) {
    Open(browser_test::SmallCatalogueSource());
    outline_.resize(200, 300);
    outline_.show();
    outline_.SelectIndex(Index("Welcome"));
    int reported = 0;
    QObject::connect(&outline_, &TBrowzerOutline::RightButtonPressed, [&reported] { ++reported; });
    const QPoint onLast = outline_.visualItemRect(TopNode("Last")).center();
    QMouseEvent press(QEvent::MouseButtonPress, onLast, outline_.viewport()->mapToGlobal(onLast),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(outline_.viewport(), &press);
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(SelectedName(), "Welcome");
}

} // namespace
