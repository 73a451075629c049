#include "search/SearchThread.h"

#include "catalog/Container.h"
#include "search/SearchResults.h"

#include <chrono>

namespace search {

namespace {

// The longest a reading step keeps the GUI thread once it has read one entry.
constexpr std::chrono::milliseconds kReadingSlice(4);

} // namespace

TSearchThread::TSearchThread(std::string searchText, bool caseSensitive,
                             TSearchfounddlg& resultsWindow, catalog::TTreeViewData& treeData,
                             catalog::TBrowzerContainer& container)
    : SearchText(std::move(searchText)), CaseSensitive(caseSensitive), ResultsWindow(resultsWindow),
      TreeData(treeData), Container(container) {
    SetPriority(util::TThreadPriority::tpLowest);
    SetFreeOnTerminate(true);
}

void TSearchThread::Execute() {
    if (SearchText.empty())
        return;
    Terms = SplitTerms(SearchText, CaseSensitive);
    Synchronize([this] { StartSearch(); });
    while (EntryIndex < EntryCount && !Terminated() && !ReadFailed) {
        Synchronize([this] { ReadEntries(); });
        Hits.clear();
        for (int i = 0; i < BatchCount; ++i)
            if (MatchText(Batch[i].Lines, Terms, CaseSensitive))
                Hits.push_back(&Batch[i]);
        if (!Hits.empty())
            Synchronize([this] { AddHits(); });
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

void TSearchThread::ReadEntries() {
    BatchCount = 0;
    if (Terminated())
        return;
    const auto deadline = std::chrono::steady_clock::now() + kReadingSlice;
    int lastRead = -1;
    while (EntryIndex < EntryCount && BatchCount < kBatchSize &&
           (lastRead < 0 || std::chrono::steady_clock::now() < deadline)) {
        try {
            Container.SetActive(true);
            if (Readers.ReadEntryText(*Container.Indexed(), TreeData, EntryIndex,
                                      Batch[BatchCount]))
                ++BatchCount;
        } catch (const std::exception&) {
            ReadFailed = true;
            break;
        }
        lastRead = EntryIndex++;
    }
    if (lastRead >= 0)
        ResultsWindow.ShowSearched(lastRead);
}

void TSearchThread::AddHits() {
    if (Terminated())
        return;
    for (const TEntryText* hit : Hits)
        ResultsWindow.AddHit(hit->HitName, hit->EntryIndex, ++HitCount);
}

void TSearchThread::SearchDone() {
    if (Terminated())
        return;
    ResultsWindow.SearchDone(SearchText);
}

} // namespace search
