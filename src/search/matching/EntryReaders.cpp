#include "search/matching/EntryReaders.h"

#include "catalog/Container.h"
#include "search/matching/SearchTerms.h"

namespace search {

bool TEntryReaders::ReadEntryText(catalog::TIndexedStream& indexed,
                                  const catalog::TTreeViewData& tree, int index, TEntryText& text) {
    if (!ReadEntryLines(indexed, tree, index, lines_))
        return false;
    text.EntryIndex = index;
    text.HitName = HitNameOf(tree, index, lines_);
    rtl::UpdateGuard update(text.Lines);
    text.Lines.Clear();
    for (const std::string_view line : lines_)
        text.Lines.Add(std::string(line));
    return true;
}

bool TEntryReaders::ReadEntryLines(catalog::TIndexedStream& indexed,
                                   const catalog::TTreeViewData& tree, int index,
                                   TextLines& lines) {
    const std::int32_t ref = tree.RecordRef(index);
    if (ref == catalog::kNoRecord)
        return false;
    Load(indexed, ref).SearchTextLines(lines);
    return true;
}

std::string TEntryReaders::HitNameOf(const catalog::TTreeViewData& tree, int index,
                                     const TextLines& lines) {
    const bool isShortText =
        catalog::RecordKindOf(tree.RecordRef(index)) == catalog::RecordKind::Short;
    return HitName(isShortText, lines, tree.Names.Strings(index));
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
