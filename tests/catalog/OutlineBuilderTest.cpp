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

std::vector<int> Built(const rtl::TStringList& lines, TTreeViewData& tree) {
    std::vector<int> progress;
    BuildOutline(lines, tree, [&](int percent) { progress.push_back(percent); });
    return progress;
}

} // namespace

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
