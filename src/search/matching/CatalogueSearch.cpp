#include "search/matching/CatalogueSearch.h"

#include "catalog/TreeViewData.h"
#include "search/matching/EntryReaders.h"
#include "search/matching/SearchTerms.h"

namespace search {

void SearchCatalogue(catalog::TIndexedStream& indexed, const catalog::TTreeViewData& tree,
                     const std::string& searchText, bool caseSensitive, const HitCallback& onHit) {
    if (searchText.empty())
        return;
    const std::vector<SearchTerm> terms = SplitTerms(searchText, caseSensitive);
    TEntryReaders readers;
    TextLines lines;
    for (int index = 0; index < tree.Count(); ++index)
        if (readers.ReadEntryLines(indexed, tree, index, lines) &&
            MatchLines(lines, terms, caseSensitive))
            onHit(index, TEntryReaders::HitNameOf(tree, index, lines));
}

} // namespace search
