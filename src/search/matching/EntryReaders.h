// The three record readers of a search, reused for every entry: each Load replaces what the
// previous record left in its reader.
#pragma once

#include "catalog/Records.h"

#include <cstdint>

namespace catalog {
class TIndexedStream;
}

namespace search {

class TEntryReaders {
public:
    // Reads the record a reference names from the catalogue's streams, positioning the data
    // stream first; nullptr for an entry without a record. Read errors propagate.
    const catalog::TParamScriptComponent* Load(catalog::TIndexedStream& indexed,
                                               std::int32_t recordRef);

    // The lines of the short text read last.
    const rtl::TStringList& ShortTextLines() const { return shortText_.Lines; }

private:
    catalog::TShortText shortText_{nullptr};
    catalog::TScriptInfoText infoText_{nullptr};
    catalog::TCompoText compo_{nullptr};
};

} // namespace search
