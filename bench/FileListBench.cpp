// Listing a folder of 5 000 files in the sorted file list box, set up as the install dialog's
// destination list (several columns, program icons): the time to fill it (directory search,
// sorting, glyphs, the list's lines) and the time to paint it once in the dialog's size. Every
// hundredth file is a program with an icon group, so icon reading is part of the fill.
#include "install/FileListBox.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kFileCount = 5000;

// The folder with its files, made once per process and mapped as drive e:.
const fs::path& Folder() {
    static const fs::path folder = [] {
        const fs::path root = fs::temp_directory_path() / "vitrine-bench-filelist";
        fs::remove_all(root);
        fs::create_directories(root / "files");
        std::ifstream program(VITRINE_SAMPLE_PROGRAM, std::ios::binary);
        const std::string programBytes{std::istreambuf_iterator<char>(program), {}};
        for (int i = 0; i < kFileCount; ++i) {
            const bool isProgram = i % 100 == 0;
            const std::string name = "FILE" + std::to_string(i) + (isProgram ? ".EXE" : ".TXT");
            std::ofstream(root / "files" / name, std::ios::binary)
                << (isProgram ? programBytes : std::string(static_cast<std::size_t>(i % 977), 'x'));
        }
        std::ofstream(root / "drives") << "e: = " << (root / "files").string() << " fixed\n";
        setenv("VITRINE_CONFIG_DIR", root.c_str(), 1);
        return root / "files";
    }();
    return folder;
}

void SetUpAsDestination(install::TxFileListBox& box) {
    box.resize(260, 176);
    box.SetMultiSelect(true);
    box.SetSFShow(install::sfsProcIcons);
    box.SetMultiColumnWidth(130);
    box.SetMultiColumns(true);
}

void FillFileList(benchmark::State& state) {
    Folder();
    install::TxFileListBox box;
    SetUpAsDestination(box);
    for (auto _ : state) {
        box.SetDirectory("e:\\");
        benchmark::DoNotOptimize(box.count());
    }
    state.counters["lines"] = box.count();
}
BENCHMARK(FillFileList)->Unit(benchmark::kMillisecond);

void PaintFileList(benchmark::State& state) {
    Folder();
    install::TxFileListBox box;
    SetUpAsDestination(box);
    box.SetDirectory("e:\\");
    box.show();
    QImage image(box.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        box.viewport()->update();
        box.render(&image);
    }
}
BENCHMARK(PaintFileList)->Unit(benchmark::kMillisecond);

} // namespace
