// Entry of the benchmarks that need the GUI library: headless (offscreen), with a configuration
// folder of the benchmarks' own, never the user's; programs they start inherit both.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path config =
        std::filesystem::temp_directory_path() / "vitrine-bench-config";
    std::filesystem::create_directories(config);
    setenv("VITRINE_CONFIG_DIR", config.c_str(), 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
