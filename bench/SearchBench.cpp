// The full-text search over a generated catalogue of 10 000 components and 2 000 info texts:
// - ReadEveryRecord: reading each entry's record without matching, the floor;
// - SearchInProcess: the command-line tool's search without the process around it, with its time
//   as a multiple of two yardsticks measured in the same run: the same search over the
//   catalogue's files already in memory (vs_catalogue_in_memory) and matching the entries' texts
//   already extracted into memory (vs_texts_in_memory); goal 1.5 at most;
// - SearchCommandLine: `vitrine-cat search --case` for one term as a process (manual time), as a
//   multiple of `vitrine-cat text DIR | grep -c -F` for the same term (vs_text_grep_pipeline,
//   goal 1.5 at most) and of `grep -c -F` over the text already written (vs_grep_text_file);
// - SearchThreaded: the search thread filling the results window, headless, with the longest
//   stall of the GUI thread (gaps between ticks of a 1 ms timer) as LongestGuiStall_ms.
#include "GeneratedCatalogue.h"
#include "Timing.h"
#include "browser/Outline.h"
#include "catalog/Container.h"
#include "search/SearchDialog.h"
#include "search/SearchResults.h"
#include "search/matching/CatalogueSearch.h"
#include "search/matching/EntryReaders.h"
#include "search/matching/SearchTerms.h"
#include "util/widgets/Thread.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kExpression = "datenbank - tabelle + drucker";
const char* const kTerm = "Datenbank";

void RunShell(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

fs::path BuildCatalogue() {
    const fs::path folder = fs::temp_directory_path() / "vitrine-bench-search";
    bench_catalogue::EnsureGeneratedCatalogue(VITRINE_GEN_CATALOG,
                                              "--components 10000 --infotexts 2000 --seed 3",
                                              folder / "search.src", folder);
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

int Search(catalog::TIndexedStream& indexed, const catalog::TTreeViewData& tree) {
    int hits = 0;
    search::SearchCatalogue(indexed, tree, kExpression, false,
                            [&hits](int, const std::string&) { ++hits; });
    return hits;
}

// The same search over copies of the catalogue's files in memory.
double SearchCatalogueInMemory(const OpenCatalogue& catalogue) {
    rtl::TMemoryStream data;
    rtl::TMemoryStream index;
    data.LoadFromFile(catalogue.container.DataFileName);
    index.LoadFromFile(catalogue.container.IndexFileName);
    catalog::TIndexedStream indexed(data, index);
    return bench_timing::MedianSeconds(
        [&] { benchmark::DoNotOptimize(Search(indexed, catalogue.tree)); });
}

// Matching alone, over every entry's searchable text read beforehand.
double MatchTextsInMemory(OpenCatalogue& catalogue) {
    std::vector<std::pair<std::vector<std::string>, search::TextLines>> texts;
    search::TEntryReaders readers;
    search::TextLines lines;
    for (int i = 0; i < catalogue.tree.Count(); ++i)
        if (readers.ReadEntryLines(*catalogue.container.Indexed(), catalogue.tree, i, lines))
            texts.emplace_back(std::vector<std::string>(lines.begin(), lines.end()),
                               search::TextLines{});
    for (auto& [owned, views] : texts)
        views.assign(owned.begin(), owned.end());
    const auto terms = search::SplitTerms(kExpression, false);
    return bench_timing::MedianSeconds([&] {
        int hits = 0;
        for (const auto& text : texts)
            hits += search::MatchLines(text.second, terms, false);
        benchmark::DoNotOptimize(hits);
    });
}

void SearchInProcess(benchmark::State& state) {
    OpenCatalogue catalogue;
    int hits = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        hits = Search(*catalogue.container.Indexed(), catalogue.tree);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
        static_cast<double>(state.iterations());
    state.counters["Hits"] = hits;
    state.counters["vs_catalogue_in_memory"] = seconds / SearchCatalogueInMemory(catalogue);
    state.counters["vs_texts_in_memory"] = seconds / MatchTextsInMemory(catalogue);
}

void SearchCommandLine(benchmark::State& state) {
    const std::string tool = std::string(VITRINE_CAT) + " ";
    const std::string folder = Folder().string();
    const std::string search = tool + "search " + folder + " --case " + kTerm + " > /dev/null";
    const double ours = bench_timing::TimeEachIteration(state, [&] { RunShell(search); });
    const std::string textFile = (Folder() / "text.txt").string();
    RunShell(tool + "text " + folder + " > " + textFile);
    // grep -c counts lines; its status is 1 when none matched, which is no failure here.
    const std::string grep = std::string("grep -c -F ") + kTerm + " ";
    state.counters["vs_text_grep_pipeline"] =
        ours / bench_timing::MedianSeconds(
                   [&] { RunShell(tool + "text " + folder + " | " + grep + "> /dev/null; true"); });
    state.counters["vs_grep_text_file"] = ours / bench_timing::MedianSeconds([&] {
                                              RunShell(grep + textFile + " > /dev/null; true");
                                          });
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
