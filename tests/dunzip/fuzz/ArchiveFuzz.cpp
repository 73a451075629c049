// Fuzz target for the archive reading path: the input is a ZIP archive, extracted into a fresh
// folder with every question answered Yes. Checks: no crash or sanitizer error, nothing but plain
// files and folders inside the destination (no link, no temporary file left), and the count of
// files written never above the archive's members. Files cannot grow beyond 4 MiB here, so a
// member that inflates to more fails as on a full disk.
#include "dunzip/Archive.h"
#include "dunzip/Extraction.h"
#include "dunzip/dunzip.h"

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr rlim_t kLargestFile = 4 * 1024 * 1024;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

class YesHost final : public unzip::Host {
public:
    std::string Text(int number) override { return "text " + std::to_string(number) + " %s"; }
    bool MinorStatus(const std::string&, int percent) override {
        Require(percent >= 0 && percent <= 100);
        return false;
    }
    bool MajorStatus(const std::string&, int percent) override {
        Require(percent >= 0 && percent <= 100);
        return false;
    }
    int Ask(const std::string&, const std::string&) override { return DUNZIP_YES; }
    void Stopped(int, int, const std::string&, const std::string&) override {}
};

// A fresh folder below the system's temporary folder, removed when done.
class Scratch {
public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "archive-fuzz-XXXXXX").string();
        Require(mkdtemp(pattern.data()) != nullptr);
        path_ = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        for (auto it = fs::recursive_directory_iterator(path_, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored))
            if (!it->is_symlink())
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

// Writes that would make a file larger than the limit fail instead of ending the process.
const bool limited = [] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kLargestFile, kLargestFile};
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}();

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Require(limited);
    int zipError = 0;
    const unzip::ZipArchive archive = unzip::OpenArchiveInMemory(data, size, zipError);
    if (!archive)
        return 0;
    const Scratch scratch;
    const fs::path destination = scratch.Path() / "out";
    fs::create_directory(destination);

    YesHost host;
    unzip::ExtractOptions options;
    options.archiveShown = "fuzz.zip";
    options.destination = destination.string();
    options.destinationShown = options.destination;
    const unzip::ExtractResult result = unzip::Extract(*archive, options, host);

    Require(result.result == DUNZIP_OK || result.result == DUNZIP_MEMBER_FAILED);
    Require(result.filesWritten >= 0 &&
            result.filesWritten <= zip_get_num_entries(archive.get(), 0));
    for (const auto& entry : fs::recursive_directory_iterator(scratch.Path())) {
        Require(!entry.is_symlink());
        Require(entry.is_regular_file() || entry.is_directory());
        Require(!entry.path().filename().string().starts_with(".~unpack-"));
        const std::string relative = fs::relative(entry.path(), scratch.Path()).string();
        Require(relative == "out" || relative.starts_with("out/"));
    }
    return 0;
}
