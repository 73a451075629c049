#include "search/matching/EntryReaders.h"

#include "catalog/Container.h"
#include "search/matching/SearchTerms.h"

namespace search {

bool TEntryReaders::ReadEntryText(catalog::TIndexedStream& indexed,
                                  const catalog::TTreeViewData& tree, int index, TEntryText& text) {
    const std::int32_t ref = tree.RecordRef(index);
    if (ref == catalog::kNoRecord)
        return false;
    Load(indexed, ref).GetSearchText(text.Lines);
    text.EntryIndex = index;
    text.HitName = HitName(catalog::RecordKindOf(ref) == catalog::RecordKind::Short,
                           shortText_.Lines, tree.Names.Strings(index));
    return true;
}

catalog::TParamScriptComponent& TEntryReaders::Load(catalog::TIndexedStream& indexed,
                                                    std::int32_t recordRef) {
    const auto ref = static_cast<std::uint32_t>(recordRef);
    catalog::TParamScriptComponent* reader = &compo_;
    if (catalog::RecordKindOf(recordRef) == catalog::RecordKind::Short) {
        shortText_.Offset = ref & 0xBFFFFFFFu;
        reader = &shortText_;
    } else if (catalog::RecordKindOf(recordRef) == catalog::RecordKind::Info) {
        infoText_.Offset = ref & 0x3FFFFFFFu;
        reader = &infoText_;
    }
    reader->LoadAt(indexed, catalog::RecordOffset(recordRef));
    return *reader;
}

} // namespace search
