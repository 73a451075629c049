// TSearchThread: one full-text search over every entry of the overview's tree data, at the
// lowest priority. Every step that reads the catalogue or touches the results window runs in the
// GUI thread through Synchronize; splitting the expression and matching run in the worker.
//
// Each reading step reads the records of a run of entries (at most kBatchSize, and only as many
// as fit in a few milliseconds, so the window stays responsive) and leaves their searchable text
// in slots the worker then matches; the worker waits meanwhile, so the slots are never touched by
// two threads at once. Handing over entry by entry would spend most of the search switching
// threads. A stopped search leaves the window alone: each hand-over first looks at the stop
// flag, which only the GUI thread sets.
#pragma once

#include "search/matching/EntryReaders.h"
#include "search/matching/SearchTerms.h"
#include "util/widgets/Thread.h"

#include <array>
#include <string>
#include <vector>

namespace catalog {
class TBrowzerContainer;
class TTreeViewData;
} // namespace catalog

namespace search {

class TSearchfounddlg;

class TSearchThread final : public util::TThread {
public:
    // Self-releasing. Created suspended: the creator sets the end handler, then starts it, so a
    // search that ends at once cannot end (and free itself) before its handler is in place.
    TSearchThread(std::string searchText, bool caseSensitive, TSearchfounddlg& resultsWindow,
                  catalog::TTreeViewData& treeData, catalog::TBrowzerContainer& container);

    const std::string SearchText;
    const bool CaseSensitive;

    static constexpr int kBatchSize = 64;

protected:
    void Execute() override;

private:
    void StartSearch();
    void ReadEntries();
    void AddHits();
    void SearchDone();

    TSearchfounddlg& ResultsWindow;
    catalog::TTreeViewData& TreeData;
    catalog::TBrowzerContainer& Container;
    // The next entry to read.
    int EntryIndex = 0;
    int EntryCount = 0;
    int HitCount = 0;
    TEntryReaders Readers;
    std::vector<SearchTerm> Terms;
    std::array<TEntryText, kBatchSize> Batch;
    int BatchCount = 0;
    std::vector<const TEntryText*> Hits;
    // A record could not be read: the search ends after the entries read before it.
    bool ReadFailed = false;
};

} // namespace search
