#include "search/SearchThread.h"

#include "catalog/Container.h"
#include "search/SearchResults.h"

namespace search {

TSearchThread::TSearchThread(std::string searchText, bool caseSensitive,
                             TSearchfounddlg& resultsWindow, catalog::TTreeViewData& treeData,
                             catalog::TBrowzerContainer& container)
    : SearchText(std::move(searchText)), CaseSensitive(caseSensitive), ResultsWindow(resultsWindow),
      TreeData(treeData), Container(container) {
    SetPriority(util::TThreadPriority::tpLowest);
    SetFreeOnTerminate(true);
    Start();
}

void TSearchThread::Execute() {
    if (SearchText.empty())
        return;
    Terms = SplitTerms(SearchText, CaseSensitive);
    Synchronize([this] { StartSearch(); });
    try {
        for (EntryIndex = 0; EntryIndex < EntryCount; ++EntryIndex) {
            if (Terminated())
                break;
            Synchronize([this] { ReadEntry(); });
            if (!Record)
                continue;
            Record->GetSearchText(Lines);
            if (MatchText(Lines, Terms, CaseSensitive))
                Synchronize([this] { AddHit(); });
        }
    } catch (const std::exception&) {
        // A record that cannot be read ends the search; the hits so far stay listed.
    }
    Synchronize([this] { SearchDone(); });
    Terms.clear();
}

void TSearchThread::StartSearch() {
    if (Terminated())
        return;
    EntryCount = TreeData.Count();
    ResultsWindow.StartSearch(SearchText);
}

void TSearchThread::ReadEntry() {
    Record = nullptr;
    if (Terminated())
        return;
    const catalog::TTVRevEntry entry = TreeData.Entry(EntryIndex);
    if (entry.RecordRef != catalog::kNoRecord) {
        Container.SetActive(true);
        Record = Readers.Load(*Container.Indexed(), entry.RecordRef);
        HitName =
            search::HitName(catalog::RecordKindOf(entry.RecordRef) == catalog::RecordKind::Short,
                            Readers.ShortTextLines(), entry.Name);
    }
    ResultsWindow.ShowSearched(EntryIndex);
}

void TSearchThread::AddHit() {
    if (Terminated())
        return;
    ++HitCount;
    ResultsWindow.AddHit(HitName, EntryIndex, HitCount);
}

void TSearchThread::SearchDone() {
    if (Terminated())
        return;
    ResultsWindow.SearchDone(SearchText);
}

} // namespace search
