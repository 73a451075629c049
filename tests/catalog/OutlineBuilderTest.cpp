#include "catalog/OutlineBuilder.h"

#include "CatalogTestSupport.h"
#include "catalog/Records.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

using namespace catalog;

namespace {

// The outline building as the record format describes it: recursive levels, each node added
// with AddNode. The linear builder must give the same tree and the same progress reports.
class ReferenceOutline {
public:
    explicit ReferenceOutline(const rtl::TStringList& lines) : lines_(lines) {
        if (!lines.Empty())
            BuildLevel(0, 0, -1);
    }
    TTreeViewData tree;
    std::vector<int> progress;

private:
    int BuildLevel(int i, int level, int parent) {
        const int count = lines_.Count();
        for (;;) {
            const OutlineLine parts = SplitOutlineLine(lines_.Strings(i), level);
            TTVRevEntry entry;
            entry.Name = parts.Name;
            entry.Key = parts.Key;
            entry.Parent = parent;
            const int node = tree.AddNode(entry);
            ++i;
            if (i == count)
                break;
            if (Indentation(lines_.Strings(i)) > level)
                i = BuildLevel(i, Indentation(lines_.Strings(i)), node);
            if (i == count || Indentation(lines_.Strings(i)) < level)
                break;
        }
        const double percent = std::round((i + 1) * 100.0 / count);
        progress.push_back(static_cast<int>(std::min(percent, 100.0)));
        return i;
    }

    const rtl::TStringList& lines_;
};

rtl::TStringList LinesOf(std::initializer_list<std::string> items) {
    rtl::TStringList lines;
    for (const auto& item : items)
        lines.Add(item);
    return lines;
}

std::vector<int> Built(const rtl::TStringList& lines, TTreeViewData& tree) {
    std::vector<int> progress;
    BuildOutline(lines, tree, [&](int percent) { progress.push_back(percent); });
    return progress;
}

} // namespace

TEST(OutlineLine, KeyBetweenBracketsAndTheRestAsCaption) {
    EXPECT_EQ(SplitOutlineLine("  Werkzeuge [TOOLS] neu", 2).Name, "Werkzeuge  neu");
    EXPECT_EQ(SplitOutlineLine("  Werkzeuge [TOOLS] neu", 2).Key, "TOOLS");
    EXPECT_EQ(SplitOutlineLine("   x", 2).Name, " x");
    EXPECT_EQ(SplitOutlineLine("a]b[c", 0).Key, "");
    EXPECT_EQ(SplitOutlineLine("a]b[c", 0).Name, "a]b[c");
    EXPECT_EQ(SplitOutlineLine("[]", 0).Name, "");
    EXPECT_EQ(SplitOutlineLine("x", 5).Name, "");
    EXPECT_EQ(Indentation("\t x"), 0);
    EXPECT_EQ(Indentation("   "), 3);
}

TEST(Outline, TheExampleOutlineGivesTheExampleTree) {
    const rtl::TStringList lines = LinesOf({"A", "  A1", "  A2", "B", "  B1", "C"});
    TTreeViewData tree;
    Built(lines, tree);
    std::vector<std::string> names;
    for (const auto& item : tree.Names)
        names.push_back(item.text);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "C", "A1", "A2", "B1"}));
    EXPECT_EQ(tree.RootCount, 3);
    EXPECT_EQ(tree.FirstChildren.Values(), (std::vector<std::int32_t>{3, 5, -1, -1, -1, -1}));
    EXPECT_EQ(tree.ChildCounts.Values(), (std::vector<std::int32_t>{2, 1, 0, 0, 0, 0}));
    EXPECT_EQ(tree.Parents.Values(), (std::vector<std::int32_t>{-1, -1, -1, 0, 0, 1}));
}

TEST(Outline, ALessIndentedLineIsASiblingThatKeepsItsSurplusBlanks) {
    const rtl::TStringList lines = LinesOf({"A", "    A1", "  A2", "B"});
    TTreeViewData tree;
    const std::vector<int> progress = Built(lines, tree);
    EXPECT_EQ(tree.RootCount, 3);
    EXPECT_EQ(tree.Entry(1).Name, "  A2");
    EXPECT_EQ(tree.Entry(1).Parent, -1);
    EXPECT_EQ(tree.Entry(3).Name, "A1");
    ReferenceOutline reference(lines);
    EXPECT_EQ(tree, reference.tree);
    EXPECT_EQ(progress, reference.progress);
    EXPECT_EQ(progress, (std::vector<int>{75, 100}));
}

TEST(Outline, LinearBuildEqualsAddNodeOnRandomOutlines) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        rtl::TStringList lines;
        const int count = static_cast<int>(random() % 60) + 1;
        for (int i = 0; i < count; ++i) {
            const int indent = static_cast<int>(random() % 7);
            std::string line(static_cast<std::size_t>(indent), ' ');
            line += "n" + std::to_string(i);
            if (random() % 3 == 0)
                line += " [K" + std::to_string(i) + "]";
            lines.Add(line);
        }
        TTreeViewData tree;
        const std::vector<int> progress = Built(lines, tree);
        const ReferenceOutline reference(lines);
        ASSERT_EQ(tree, reference.tree) << "seed " << seed;
        ASSERT_EQ(progress, reference.progress) << "seed " << seed;
        ASSERT_TRUE(tree.IsConsistent()) << "seed " << seed;
    }
}

TEST(Outline, ParseReportsProgressToOnProgressWithTheRecordAsSender) {
    ScriptSource source = catalog_test::SourceOf("OUTLINE [o]\nA\n  A1\nB\n}\n");
    source.Line = 0;
    TScriptOutlineText outline(nullptr);
    std::vector<std::pair<rtl::TComponent*, int>> calls;
    OnProgress = [&](rtl::TComponent* sender, int percent) { calls.emplace_back(sender, percent); };
    outline.Parse(source);
    OnProgress = nullptr;
    EXPECT_EQ(outline.Tree->Count(), 3);
    EXPECT_FALSE(outline.TreeGiven);
    const std::vector<std::pair<rtl::TComponent*, int>> expected{{&outline, 100}, {&outline, 100}};
    EXPECT_EQ(calls, expected);
}
