// The settings hive with 20 000 sections (a hand-grown configuration): reading one value and
// writing one value through the registry calls, each on its own. A read costs a look at the
// file's state when nothing changed; a write parses nothing again and rewrites the file.
#include "platform/Registry.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class LargeHive {
public:
    LargeHive() : folder_(fs::temp_directory_path() / "vitrine-bench-registry") {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        setenv("VITRINE_CONFIG_DIR", folder_.c_str(), 1);
        std::ofstream hive(folder_ / "HKEY_LOCAL_MACHINE.reg");
        hive << "REGEDIT4\n";
        for (int i = 0; i < 20000; ++i)
            hive << "\n[HKEY_LOCAL_MACHINE\\Software\\Section" << i << "]\n\"Value\"=\"" << i
                 << "\"\n";
        hive.close();
        platform::RegOpenKeyEx(platform::HKEY_LOCAL_MACHINE, "Software\\Section19999", key_);
    }
    ~LargeHive() {
        platform::RegCloseKey(key_);
        fs::remove_all(folder_);
    }
    LargeHive(const LargeHive&) = delete;
    LargeHive& operator=(const LargeHive&) = delete;
    platform::HKEY Key() const { return key_; }

private:
    fs::path folder_;
    platform::HKEY key_ = 0;
};

void QueryValue(benchmark::State& state) {
    const LargeHive hive;
    char buffer[64];
    for (auto _ : state) {
        platform::DWORD size = sizeof buffer;
        benchmark::DoNotOptimize(
            platform::RegQueryValueEx(hive.Key(), "Value", nullptr, buffer, &size));
    }
}

void SetValue(benchmark::State& state) {
    const LargeHive hive;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            platform::RegSetValueEx(hive.Key(), "Written", platform::REG_SZ, "x", 1));
}

} // namespace

BENCHMARK(QueryValue)->Unit(benchmark::kMillisecond);
BENCHMARK(SetValue)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
