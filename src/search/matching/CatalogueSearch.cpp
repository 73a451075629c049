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
    TEntryText text;
    for (int index = 0; index < tree.Count(); ++index)
        if (readers.ReadEntryText(indexed, tree, index, text) &&
            MatchText(text.Lines, terms, caseSensitive))
            onHit(index, text.HitName);
}

} // namespace search
