// TKVPacker: a stream over another stream that turns each Read into the decoding of exactly one
// compressed block and each Write into the encoding of exactly one block.
//
// Block: PackedSize (u32 LE), UnpackedSize (u32 LE), PackedSize bytes of bit stream. Tokens, most
// significant bit first: 1 + 8-bit literal, or 0 + 11-bit ring position + 4-bit length - 2. The
// 2048-byte ring starts each block filled with spaces, the write position at 2031.
//
// The decoder never reads outside the packed bytes nor writes outside the caller's buffer: a
// block whose header or body is shorter than stated, whose stated size is more than the stream
// holds, or that decodes to more bytes than the buffer's capacity is "Stream read error".
// Both directions are re-entrant: they keep no state outside the call.
#pragma once

#include "rtl/Stream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace catalog {

class TKVPacker final : public rtl::TStream {
public:
    explicit TKVPacker(rtl::TStream& stream) : stream_(stream) {}

    // Decodes one block into buffer (count is its capacity); returns the decoded size.
    std::int32_t Read(void* buffer, std::int32_t count) override;
    // Encodes count bytes as one block; returns count.
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    // Positions are those of the underlying stream.
    std::int64_t Seek(std::int64_t offset, rtl::SeekOrigin origin) override {
        return stream_.Seek(offset, origin);
    }

private:
    rtl::TStream& stream_;
};

// The block codec on plain memory, for the stream above, tests and benchmarks.
//
// DecodeBlock reads only packed[0, packedSize) and writes only out[0, capacity). It returns false
// when the block decodes to more than capacity bytes; otherwise the decoded size goes to outSize.
// Bytes of out beyond outSize may have been overwritten.
bool DecodeBlock(const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* out,
                 std::size_t capacity, std::size_t& outSize);
// The most packed bytes a block decoding to at most capacity bytes can have: all literals.
std::size_t MaxPackedSize(std::size_t capacity);
// Greedy encoding: at each position the longest match (2 to 17 bytes) within the 2031 bytes
// before it, the nearest of equally long ones; a literal when there is none.
std::vector<std::uint8_t> EncodeBlock(const std::uint8_t* data, std::size_t size);

} // namespace catalog
