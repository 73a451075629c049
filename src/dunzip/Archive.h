// Opening ZIP archives read-only through libzip, from a file or from memory.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <zip.h>

namespace unzip {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipArchive = std::unique_ptr<zip_t, ArchiveCloser>;

// nullptr on failure, with zipError set to the libzip error code.
ZipArchive OpenArchiveFile(const std::string& nativePath, int& zipError);

// The bytes must outlive the archive.
ZipArchive OpenArchiveInMemory(const void* data, std::size_t size, int& zipError);

} // namespace unzip
