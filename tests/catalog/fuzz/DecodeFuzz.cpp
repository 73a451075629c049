// Fuzz target for the packed-stream decoder. The first two input bytes give the output capacity
// (little-endian), the rest is the packed bit stream. Checks: no access outside either buffer
// (the sanitizers watch exact allocations), the same result as the bit-by-bit reference decoder,
// and, for a block that decodes, the same bytes once more through TKVPacker over a memory stream.
#include "catalog/PackedStream.h"
#include "catalog/PackedStreamOracle.h"
#include "rtl/Exceptions.h"
#include "rtl/Stream.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void CheckPackerReadsTheSameBlock(const std::uint8_t* packed, std::size_t packedSize,
                                  const std::uint8_t* decoded, std::size_t decodedSize,
                                  std::size_t capacity) {
    rtl::TMemoryStream stream;
    std::uint8_t header[8] = {};
    for (int i = 0; i < 4; ++i)
        header[i] = static_cast<std::uint8_t>(packedSize >> (8 * i));
    stream.WriteBuffer(header, sizeof header);
    stream.WriteBuffer(packed, static_cast<std::int32_t>(packedSize));
    stream.SetPosition(0);
    catalog::TKVPacker packer(stream);
    const auto out = std::make_unique<std::uint8_t[]>(capacity);
    const std::int32_t n = packer.Read(out.get(), static_cast<std::int32_t>(capacity));
    Require(static_cast<std::size_t>(n) == decodedSize);
    Require(decodedSize == 0 || std::memcmp(out.get(), decoded, decodedSize) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::size_t capacity = data[0] | std::size_t{data[1]} << 8;
    const std::size_t packedSize = size - 2;
    const auto packed = std::make_unique<std::uint8_t[]>(packedSize);
    if (packedSize != 0)
        std::memcpy(packed.get(), data + 2, packedSize);
    const auto out = std::make_unique<std::uint8_t[]>(capacity);

    std::size_t decoded = 0;
    const bool fits = catalog::DecodeBlock(packed.get(), packedSize, out.get(), capacity, decoded);
    const auto reference = packed_oracle::RingDecode(packed.get(), packedSize, capacity);
    Require(fits == reference.has_value());
    if (!fits)
        return 0;
    Require(decoded == reference->size());
    Require(decoded == 0 || std::memcmp(out.get(), reference->data(), decoded) == 0);
    CheckPackerReadsTheSameBlock(packed.get(), packedSize, out.get(), decoded, capacity);
    return 0;
}
