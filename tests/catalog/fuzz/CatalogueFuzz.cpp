// Fuzz target for a catalogue folder as the tool and the viewer read it: the first four input
// bytes (little-endian) give the index file's size, the next bytes are the index file and the
// rest the data file. The catalogue is opened, its overview loaded, every entry's searchable
// text read and the whole catalogue searched. Checks: a damaged catalogue fails only with the
// program's own errors (the sanitizers watch memory; the read budgets keep allocations small).
#include "cli/OpenCatalogue.h"
#include "rtl/Exceptions.h"
#include "search/matching/CatalogueSearch.h"
#include "search/matching/EntryReaders.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// The folder the catalogue files are written to, removed when the process ends.
class FuzzFolder {
public:
    FuzzFolder() {
        std::string name = (fs::temp_directory_path() / "catalogue-fuzz-XXXXXX").string();
        if (!mkdtemp(name.data()))
            std::abort();
        path_ = name;
    }
    ~FuzzFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

const fs::path& Folder() {
    static const FuzzFolder folder;
    return folder.Path();
}

void WriteFile(const fs::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void ReadEverything(const std::string& folder) {
    cli::OpenCatalogue catalogue(folder);
    search::TEntryReaders readers;
    search::TEntryText text;
    for (int index = 0; index < catalogue.Tree().Count(); ++index)
        readers.ReadEntryText(catalogue.Indexed(), catalogue.Tree(), index, text);
    search::SearchCatalogue(catalogue.Indexed(), catalogue.Tree(), "e", false,
                            [](int, const std::string&) {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    const std::size_t claimed = data[0] | data[1] << 8 | data[2] << 16 | std::size_t{data[3]} << 24;
    const std::size_t indexSize = std::min(claimed, size - 4);
    WriteFile(Folder() / catalog::kDefaultIndexFileName, data + 4, indexSize);
    WriteFile(Folder() / catalog::kDefaultDataFileName, data + 4 + indexSize, size - 4 - indexSize);
    try {
        ReadEverything(Folder().string());
    } catch (const rtl::Exception&) {
    }
    return 0;
}
