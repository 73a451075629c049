// Unpacking a ZIP archive of 50 MB of German text in 400 files (deflated by libzip at its default
// level): our unzip library through the unzip component, against Info-ZIP's `unzip -qo` on the
// same archive. Both write into a fresh empty folder each time, on a memory file system when
// there is one (/dev/shm), so that the disk's write-back does not decide the race. Times are wall
// clock. BM_UnzipLibrary runs `unzip -qo` once after each of its own runs and reports
// x_unzip_qo: the median time of unzip over our median time (above 1: we are faster).
#include "CatalogueText.h"
#include "Timing.h"
#include "dunzip/dunzip.h"
#include "install/UnzipFile.h"
#include "install/UnzipLibrary.h"
#include "support/ZipFiles.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileCount = 400;
constexpr std::size_t kFileSize = 50 * 1000 * 1000 / kFileCount;

fs::path WorkFolder() {
    const fs::path memory = "/dev/shm";
    return (fs::is_directory(memory) ? memory : fs::temp_directory_path()) / "vitrine-bench-unzip";
}

// The archive, made once per process.
const fs::path& Archive() {
    static const fs::path archive = [] {
        fs::remove_all(WorkFolder());
        fs::create_directories(WorkFolder());
        catalogue_text::Generator generator(50);
        std::vector<testing_support::ZipEntry> entries;
        for (std::size_t i = 0; i < kFileCount; ++i)
            entries.push_back(
                {"TEXT" + std::to_string(i / 100) + "/FILE" + std::to_string(i) + ".TXT",
                 generator.Text(kFileSize)});
        const fs::path path = WorkFolder() / "text.zip";
        testing_support::WriteZip(path.string(), entries);
        return path;
    }();
    return archive;
}

// Seconds that unpack takes into a fresh empty folder.
double TimeIntoFreshFolder(const std::function<void(const fs::path& destination)>& unpack) {
    const fs::path destination = Archive().parent_path() / "out";
    fs::remove_all(destination);
    fs::create_directory(destination);
    return bench_timing::SecondsOf([&] { unpack(destination); });
}

void UnpackWithLibrary(const fs::path& destination) {
    install::TUnzipFile unzip(nullptr);
    unzip.lpszZipFile.SetValue(Archive().c_str());
    unzip.lpszDestination.SetValue(destination.c_str());
    unzip.lpszFileSpec.SetValue("*.*");
    if (!unzip.Execute(DUNZIP_EXTRACT) || unzip.ReturnCount != static_cast<int>(kFileCount))
        throw std::runtime_error("the library did not unpack every file");
}

void UnpackWithInfoZip(const fs::path& destination) {
    const std::string command =
        "unzip -qo '" + Archive().string() + "' -d '" + destination.string() + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("unzip -qo failed (is the package unzip installed?)");
}

void SetThroughput(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileCount * kFileSize));
}

void BM_UnzipLibrary(benchmark::State& state) {
    install::SetDunzipEntry(&dunzip);
    std::vector<double> ours;
    std::vector<double> yardstick;
    for (auto _ : state) {
        ours.push_back(TimeIntoFreshFolder(UnpackWithLibrary));
        state.SetIterationTime(ours.back());
        state.PauseTiming();
        yardstick.push_back(TimeIntoFreshFolder(UnpackWithInfoZip));
        state.ResumeTiming();
    }
    SetThroughput(state);
    state.counters["x_unzip_qo"] = bench_timing::Median(yardstick) / bench_timing::Median(ours);
    state.counters["archive_MB"] = static_cast<double>(fs::file_size(Archive())) / 1e6;
}

void BM_UnzipInfoZip(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(TimeIntoFreshFolder(UnpackWithInfoZip));
    SetThroughput(state);
}

BENCHMARK(BM_UnzipLibrary)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_UnzipInfoZip)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

} // namespace

BENCHMARK_MAIN();
