// The full-text search over a generated catalogue of 10 000 components and 2 000 info texts:
// - ReadEveryRecord: reading each entry's record without matching, the floor;
// - SearchInProcess: the command-line tool's search without the process around it;
// - SearchCommandLine: `vitrine-cat search` as a process (manual time);
// - SearchThreaded: the search thread filling the results window, headless, with the longest
//   stall of the GUI thread (gaps between ticks of a 1 ms timer) as LongestGuiStall_ms.
#include "browser/Outline.h"
#include "catalog/CatalogBuilder.h"
#include "catalog/Container.h"
#include "search/SearchDialog.h"
#include "search/SearchResults.h"
#include "search/matching/CatalogueSearch.h"
#include "search/matching/EntryReaders.h"
#include "util/widgets/Thread.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

const char* const kExpression = "datenbank - tabelle + drucker";

fs::path BuildCatalogue() {
    const fs::path folder = fs::temp_directory_path() / "vitrine-bench-search";
    if (fs::exists(folder / "Vitrine32.dat"))
        return folder;
    fs::create_directories(folder);
    const fs::path source = folder / "search.src";
    const std::string command = std::string(VITRINE_GEN_CATALOG) +
                                " --components 10000 --infotexts 2000 --seed 3 > " +
                                source.string();
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("tools/gen-catalog failed");
    catalog::BuildCatalogue(source.string(), folder.string());
    return folder;
}

const fs::path& Folder() {
    static const fs::path folder = BuildCatalogue();
    return folder;
}

struct OpenCatalogue {
    OpenCatalogue() {
        container.DataFileName = (Folder() / "Vitrine32.dat").string();
        container.IndexFileName = (Folder() / "Vitrine32.idx").string();
        container.SetActive(true);
        container.LoadTree(tree);
    }
    catalog::TBrowzerContainer container{nullptr};
    catalog::TTreeViewData tree;
};

void ReadEveryRecord(benchmark::State& state) {
    OpenCatalogue catalogue;
    search::TEntryReaders readers;
    for (auto _ : state)
        for (int i = 0; i < catalogue.tree.Count(); ++i)
            if (catalogue.tree.RecordRef(i) != catalog::kNoRecord)
                benchmark::DoNotOptimize(
                    &readers.Load(*catalogue.container.Indexed(), catalogue.tree.RecordRef(i)));
    state.counters["Entries"] = catalogue.tree.Count();
}

void SearchInProcess(benchmark::State& state) {
    OpenCatalogue catalogue;
    int hits = 0;
    for (auto _ : state) {
        hits = 0;
        search::SearchCatalogue(*catalogue.container.Indexed(), catalogue.tree, kExpression, false,
                                [&hits](int, const std::string&) { ++hits; });
    }
    state.counters["Hits"] = hits;
}

void SearchCommandLine(benchmark::State& state) {
    const std::string command = std::string(VITRINE_CAT) + " search " + Folder().string() + " '" +
                                kExpression + "' > /dev/null";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("vitrine-cat search failed");
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

void SearchThreaded(benchmark::State& state) {
    OpenCatalogue catalogue;
    browser::TBrowzerOutline outline;
    outline.FillTree(catalogue.container);
    search::TSearchdlg dialog;
    search::TSearchfounddlg results(dialog, outline, catalogue.container, [] {});
    qint64 longestStall = 0;
    for (auto _ : state) {
        QTimer::singleShot(0, [&dialog] {
            dialog.SearchEdit->setText(kExpression);
            dialog.OKBtn->click();
        });
        results.NewSearchBtnClick();
        QElapsedTimer sinceTick;
        sinceTick.start();
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout,
                         [&] { longestStall = std::max(longestStall, sinceTick.restart()); });
        ticker.start(1);
        util::WaitPumping([&results] { return !results.Searching(); });
    }
    state.counters["Hits"] = results.SrchOutputListBox->count();
    state.counters["LongestGuiStall_ms"] = static_cast<double>(longestStall);
}

} // namespace

BENCHMARK(ReadEveryRecord)->Unit(benchmark::kMillisecond);
BENCHMARK(SearchInProcess)->Unit(benchmark::kMillisecond);
BENCHMARK(SearchCommandLine)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(SearchThreaded)->Unit(benchmark::kMillisecond)->UseRealTime();
