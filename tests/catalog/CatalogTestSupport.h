// Helpers for the catalogue tests: decoding stored records back to their bytes, building script
// sources, writing damaged records.
#pragma once

#include "catalog/CatalogBuilder.h"
#include "catalog/Container.h"
#include "catalog/PackedStream.h"
#include "catalog/ScriptSource.h"
#include "rtl/Stream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace catalog_test {

// The decoded bytes of every block of a packed stream from position `from` to its end.
inline std::vector<std::uint8_t> DecodeBlocks(rtl::TMemoryStream& packed, std::int64_t from,
                                              int* blockCount = nullptr) {
    catalog::TKVPacker packer(packed);
    packer.SetPosition(from);
    std::vector<std::uint8_t> buffer(1000000);
    std::vector<std::uint8_t> bytes;
    int blocks = 0;
    while (packer.Position() < packed.Size()) {
        const std::int32_t n = packer.Read(buffer.data(), static_cast<std::int32_t>(buffer.size()));
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + n);
        ++blocks;
    }
    if (blockCount)
        *blockCount = blocks;
    return bytes;
}

inline catalog::ScriptSource SourceOf(const std::string& text) {
    return catalog::ScriptSource(catalog::SplitSourceLines(text),
                                 std::vector<std::string>(std::begin(catalog::kSectionKeywords),
                                                          std::end(catalog::kSectionKeywords)));
}

// A data stream with the index written beside it, as the build does.
struct MemoryCatalogue {
    rtl::TMemoryStream data;
    rtl::TMemoryStream index;
    catalog::TIndexedStream indexed{data, index};
};

inline std::string Bytes(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

} // namespace catalog_test
