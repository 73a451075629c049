#include "catalog/OutlineBuilder.h"

#include "catalog/ScriptSource.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace catalog {
namespace {

// Where the build stands after consuming `consumed` of `total` lines, rounded half up. The
// level that finishes at the end reports 100, not more.
int ProgressPercent(int consumed, int total) {
    const std::int64_t percent = (200 * (static_cast<std::int64_t>(consumed) + 1) + total) /
                                 (2 * static_cast<std::int64_t>(total));
    return static_cast<int>(std::min<std::int64_t>(percent, 100));
}

// Each line's parent line (-1 at the top level), following the levels as the lines' indentation
// opens and closes them. One explicit stack frame per open level, so deep outlines cannot
// exhaust the call stack.
std::vector<int> ParentLines(const rtl::TStringList& lines, std::vector<OutlineLine>& parts,
                             const OutlineProgress& progress) {
    struct Level {
        int indentation;
        int parentLine;
    };
    const int total = lines.Count();
    std::vector<int> parents(static_cast<std::size_t>(total));
    std::vector<Level> open{{0, -1}};
    int next = 0;
    auto finishLevel = [&] {
        if (progress)
            progress(ProgressPercent(next, total));
        open.pop_back();
    };
    while (!open.empty()) {
        const Level level = open.back();
        const int line = next++;
        parts[static_cast<std::size_t>(line)] =
            SplitOutlineLine(lines.Strings(line), level.indentation);
        parents[static_cast<std::size_t>(line)] = level.parentLine;
        if (next == total) {
            while (!open.empty())
                finishLevel();
            break;
        }
        const int indentation = Indentation(lines.Strings(next));
        if (indentation > level.indentation) {
            open.push_back({indentation, line});
            continue;
        }
        while (indentation < open.back().indentation)
            finishLevel();
    }
    return parents;
}

} // namespace

OutlineLine SplitOutlineLine(const std::string& line, int level) {
    const std::string text =
        line.substr(std::min<std::size_t>(static_cast<std::size_t>(level), line.size()));
    std::size_t open = 0;
    std::size_t close = 0;
    if (!FindBracketPair(text, open, close))
        return {text, {}};
    return {text.substr(0, open) + text.substr(close + 1), text.substr(open + 1, close - open - 1)};
}

int Indentation(const std::string& line) {
    const std::size_t first = line.find_first_not_of(' ');
    return static_cast<int>(first == std::string::npos ? line.size() : first);
}

// AddNode, called depth-first, puts the top-level nodes first and appends a node's children as
// one block when the node gets its first child; later children join that block. Parents get
// their first child in source order, so the layout is: top-level lines, then the children of
// each parent line, parents taken in source order. This builds it directly.
void BuildOutline(const rtl::TStringList& lines, TTreeViewData& tree,
                  const OutlineProgress& progress) {
    tree.Clear();
    const auto total = static_cast<std::size_t>(lines.Count());
    if (total == 0)
        return;
    std::vector<OutlineLine> parts(total);
    const std::vector<int> parentLine = ParentLines(lines, parts, progress);

    std::vector<int> childCount(total, 0);
    for (const int parent : parentLine)
        if (parent >= 0)
            ++childCount[static_cast<std::size_t>(parent)];

    std::vector<int> nodeOf(total);
    int nextNode = 0;
    for (std::size_t line = 0; line < total; ++line)
        if (parentLine[line] == -1)
            nodeOf[line] = nextNode++;
    std::vector<int> firstChild(total, -1);
    for (std::size_t line = 0; line < total; ++line) {
        if (childCount[line] > 0) {
            firstChild[line] = nextNode;
            nextNode += childCount[line];
        }
    }
    std::vector<int> blockCursor = firstChild;
    for (std::size_t line = 0; line < total; ++line)
        if (parentLine[line] >= 0)
            nodeOf[line] = blockCursor[static_cast<std::size_t>(parentLine[line])]++;

    std::vector<std::size_t> lineOf(total);
    for (std::size_t line = 0; line < total; ++line)
        lineOf[static_cast<std::size_t>(nodeOf[line])] = line;
    for (const std::size_t line : lineOf) {
        TTVRevEntry entry;
        entry.Name = std::move(parts[line].Name);
        entry.Key = std::move(parts[line].Key);
        entry.Parent =
            parentLine[line] == -1 ? -1 : nodeOf[static_cast<std::size_t>(parentLine[line])];
        entry.FirstChild = firstChild[line];
        entry.ChildCount = childCount[line];
        tree.AppendNode(entry);
    }
}

} // namespace catalog
