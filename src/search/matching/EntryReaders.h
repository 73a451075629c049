// The three record readers of a search, reused for every entry: each read replaces what the
// previous record left in its reader.
#pragma once

#include "catalog/Records.h"
#include "search/matching/SearchTerms.h"

#include <string>

namespace catalog {
class TIndexedStream;
class TTreeViewData;
} // namespace catalog

namespace search {

// What a search needs of one entry.
struct TEntryText {
    int EntryIndex = 0;
    // The name a hit on the entry shows (taken before matching upper-cases the lines).
    std::string HitName;
    rtl::TStringList Lines;
};

class TEntryReaders {
public:
    // Reads the record of entry index from the catalogue's streams, positioning the data stream
    // first, into text; false (text unchanged) for an entry without a record. Read errors
    // propagate.
    bool ReadEntryText(catalog::TIndexedStream& indexed, const catalog::TTreeViewData& tree,
                       int index, TEntryText& text);
    // The same without copying: the searchable text as views into the reader that read it,
    // valid until the next read.
    bool ReadEntryLines(catalog::TIndexedStream& indexed, const catalog::TTreeViewData& tree,
                        int index, TextLines& lines);
    // The hit name of entry index, whose lines were just read.
    static std::string HitNameOf(const catalog::TTreeViewData& tree, int index,
                                 const TextLines& lines);

    // Reads the record a reference names (not kNoRecord) into the reader of its kind.
    catalog::TParamScriptComponent& Load(catalog::TIndexedStream& indexed, std::int32_t recordRef);

private:
    catalog::TShortText shortText_{nullptr};
    catalog::TScriptInfoText infoText_{nullptr};
    catalog::TCompoText compo_{nullptr};
    TextLines lines_;
};

} // namespace search
