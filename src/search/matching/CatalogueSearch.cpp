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
    rtl::TStringList lines;
    for (int index = 0; index < tree.Count(); ++index) {
        const std::int32_t ref = tree.RecordRef(index);
        const catalog::TParamScriptComponent* record = readers.Load(indexed, ref);
        if (!record)
            continue;
        record->GetSearchText(lines);
        if (MatchText(lines, terms, caseSensitive))
            onHit(index, HitName(catalog::RecordKindOf(ref) == catalog::RecordKind::Short,
                                 readers.ShortTextLines(), tree.Names.Strings(index)));
    }
}

} // namespace search
