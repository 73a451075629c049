// A whole search in one thread: every entry of the tree data in index order, read, matched and
// reported. The command-line tool uses it; the search thread runs the same steps split between
// the worker and the GUI thread.
#pragma once

#include <functional>
#include <string>

namespace catalog {
class TIndexedStream;
class TTreeViewData;
} // namespace catalog

namespace search {

using HitCallback = std::function<void(int entryIndex, const std::string& hitName)>;

// Reports each hit as it is found. A record that cannot be read ends the search with its error,
// after the hits before it were reported.
void SearchCatalogue(catalog::TIndexedStream& indexed, const catalog::TTreeViewData& tree,
                     const std::string& searchText, bool caseSensitive, const HitCallback& onHit);

} // namespace search
