// Builds the overview tree from the indented lines of an outline section, in time linear in
// the number of lines, with the layout that AddNode gives when the nodes are added depth-first.
#pragma once

#include "catalog/TreeViewData.h"
#include "rtl/StringList.h"

#include <functional>
#include <string>

namespace catalog {

// A line's caption and key once its first level characters are removed: the text between the
// first "[" and a later first "]" is the key, and the rest (brackets removed, blanks kept) is
// the caption.
struct OutlineLine {
    std::string Name;
    std::string Key;
};
OutlineLine SplitOutlineLine(const std::string& line, int level);

// Number of leading blanks (tabs do not count).
int Indentation(const std::string& line);

// Called once per finished level with the percentage of lines consumed by then.
using OutlineProgress = std::function<void(int percent)>;

// Appends one node per line to an empty tree. A line indented more than the line before starts
// that line's children; a line indented at least as much as the current level is a sibling at
// that level (surplus blanks stay in the caption); less ends the level. Every node gets date 0
// and record reference 0.
void BuildOutline(const rtl::TStringList& lines, TTreeViewData& tree,
                  const OutlineProgress& progress);

} // namespace catalog
