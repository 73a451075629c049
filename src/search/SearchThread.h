// TSearchThread: one full-text search over every entry of the overview's tree data, at the
// lowest priority. Every step that reads the catalogue or touches the results window runs in the
// GUI thread through Synchronize; splitting the expression and matching run in the worker, on
// objects only the worker uses. A stopped search leaves the window alone: each hand-over first
// looks at the stop flag, which only the GUI thread sets.
#pragma once

#include "search/matching/EntryReaders.h"
#include "search/matching/SearchTerms.h"
#include "util/widgets/Thread.h"

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
    // Created running, self-releasing; the creator sets the end handler right after.
    TSearchThread(std::string searchText, bool caseSensitive, TSearchfounddlg& resultsWindow,
                  catalog::TTreeViewData& treeData, catalog::TBrowzerContainer& container);

    const std::string SearchText;
    const bool CaseSensitive;

protected:
    void Execute() override;

private:
    void StartSearch();
    void ReadEntry();
    void AddHit();
    void SearchDone();

    TSearchfounddlg& ResultsWindow;
    catalog::TTreeViewData& TreeData;
    catalog::TBrowzerContainer& Container;
    int EntryIndex = 0;
    int EntryCount = 0;
    std::string HitName;
    int HitCount = 0;
    TEntryReaders Readers;
    // The record read last; null for an entry without one.
    const catalog::TParamScriptComponent* Record = nullptr;
    std::vector<SearchTerm> Terms;
    rtl::TStringList Lines;
};

} // namespace search
