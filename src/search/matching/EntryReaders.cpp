#include "search/matching/EntryReaders.h"

#include "catalog/Container.h"

namespace search {

const catalog::TParamScriptComponent* TEntryReaders::Load(catalog::TIndexedStream& indexed,
                                                          std::int32_t recordRef) {
    const auto ref = static_cast<std::uint32_t>(recordRef);
    catalog::TParamScriptComponent* reader = nullptr;
    switch (catalog::RecordKindOf(recordRef)) {
    case catalog::RecordKind::None:
        return nullptr;
    case catalog::RecordKind::Short:
        shortText_.Offset = ref & 0xBFFFFFFFu;
        reader = &shortText_;
        break;
    case catalog::RecordKind::Info:
        infoText_.Offset = ref & 0x3FFFFFFFu;
        reader = &infoText_;
        break;
    case catalog::RecordKind::Compo:
        reader = &compo_;
        break;
    }
    indexed.DataStream().SetPosition(catalog::RecordOffset(recordRef));
    reader->AssignStream(indexed);
    reader->Load();
    return reader;
}

} // namespace search
