#include "catalog/PackedStream.h"

#include "rtl/Exceptions.h"

#include <algorithm>
#include <cstring>

namespace catalog {
namespace {

constexpr int kRingSize = 2048;
constexpr int kRingMask = kRingSize - 1;
constexpr int kRingStart = 2031;
constexpr int kMaxMatch = 17;

class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    // Assembles n bits, most significant first; false when the input runs out.
    bool Bits(int n, unsigned& value) {
        value = 0;
        while (n-- > 0) {
            if (mask_ == 0) {
                if (index_ == size_)
                    return false;
                current_ = data_[index_++];
                mask_ = 0x80;
            }
            value = value << 1 | ((current_ & mask_) != 0);
            mask_ >>= 1;
        }
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t index_ = 0;
    unsigned current_ = 0;
    unsigned mask_ = 0;
};

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void Bits(int n, unsigned value) {
        while (n-- > 0) {
            if (value >> n & 1)
                pending_ |= mask_;
            mask_ >>= 1;
            if (mask_ == 0) {
                out_.push_back(pending_);
                pending_ = 0;
                mask_ = 0x80;
            }
        }
    }
    void Finish() {
        if (mask_ != 0x80)
            out_.push_back(pending_);
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint8_t pending_ = 0;
    std::uint8_t mask_ = 0x80;
};

std::uint32_t LoadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void StoreU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

bool DecodeBlock(const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* out,
                 std::size_t capacity, std::size_t& outSize) {
    std::uint8_t ring[kRingSize];
    std::memset(ring, ' ', sizeof ring);
    unsigned r = kRingStart;
    BitReader bits(packed, packedSize);
    std::size_t n = 0;
    unsigned flag;
    while (bits.Bits(1, flag)) {
        if (flag) {
            unsigned byte;
            if (!bits.Bits(8, byte))
                break;
            if (n == capacity)
                return false;
            out[n++] = static_cast<std::uint8_t>(byte);
            ring[r] = static_cast<std::uint8_t>(byte);
            r = (r + 1) & kRingMask;
        } else {
            unsigned position, length;
            if (!bits.Bits(11, position) || !bits.Bits(4, length))
                break;
            for (unsigned k = 0; k < length + 2; ++k) {
                if (n == capacity)
                    return false;
                const std::uint8_t b = ring[(position + k) & kRingMask];
                out[n++] = b;
                ring[r] = b;
                r = (r + 1) & kRingMask;
            }
        }
    }
    outSize = n;
    return true;
}

std::vector<std::uint8_t> EncodeBlock(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out;
    out.reserve(size + size / 8 + 1);
    BitWriter bits(out);
    std::uint8_t buf[2 * kRingSize];
    std::memset(buf, ' ', kRingStart);
    std::size_t taken = 0;
    int fillEnd = kRingStart;
    auto refill = [&] {
        const auto n = std::min<std::size_t>(size - taken, sizeof buf - fillEnd);
        std::memcpy(buf + fillEnd, data + taken, n);
        taken += n;
        fillEnd += static_cast<int>(n);
    };
    refill();
    int r = kRingStart;
    int floor = 0;
    while (r < fillEnd) {
        const int limit = std::min(fillEnd - r, kMaxMatch);
        int best = 1, bestPos = 0;
        for (int c = r - 1; c >= floor; --c) {
            if (buf[c] != buf[r])
                continue;
            int m = 1;
            while (m < limit && buf[c + m] == buf[r + m])
                ++m;
            if (m > best) {
                best = m;
                bestPos = c;
                if (best == limit)
                    break;
            }
        }
        int consumed;
        if (best <= 1) {
            bits.Bits(1, 1);
            bits.Bits(8, buf[r]);
            consumed = 1;
        } else {
            bits.Bits(1, 0);
            bits.Bits(11, static_cast<unsigned>(bestPos) & kRingMask);
            bits.Bits(4, static_cast<unsigned>(best - 2));
            consumed = best;
        }
        r += consumed;
        floor += consumed;
        if (r >= 2 * kRingSize - kMaxMatch) {
            std::memmove(buf, buf + kRingSize, kRingSize);
            fillEnd -= kRingSize;
            r -= kRingSize;
            floor -= kRingSize;
            refill();
        }
    }
    bits.Finish();
    return out;
}

std::int32_t TKVPacker::Read(void* buffer, std::int32_t count) {
    std::uint8_t header[8];
    if (stream_.Read(header, 8) != 8)
        throw rtl::EReadError();
    const std::uint32_t packedSize = LoadU32(header);
    const std::int64_t left = stream_.Size() - stream_.Position();
    if (packedSize > left)
        throw rtl::EReadError();
    std::vector<std::uint8_t> packed(packedSize);
    stream_.ReadBuffer(packed.data(), static_cast<std::int32_t>(packedSize));
    std::size_t decoded = 0;
    if (!DecodeBlock(packed.data(), packed.size(), static_cast<std::uint8_t*>(buffer),
                     static_cast<std::size_t>(std::max(count, 0)), decoded))
        throw rtl::EReadError();
    return static_cast<std::int32_t>(decoded);
}

std::int32_t TKVPacker::Write(const void* buffer, std::int32_t count) {
    const auto packed = EncodeBlock(static_cast<const std::uint8_t*>(buffer),
                                    static_cast<std::size_t>(std::max(count, 0)));
    std::uint8_t header[8];
    StoreU32(header, static_cast<std::uint32_t>(packed.size()));
    StoreU32(header + 4, static_cast<std::uint32_t>(count));
    stream_.WriteBuffer(header, 8);
    stream_.WriteBuffer(packed.data(), static_cast<std::int32_t>(packed.size()));
    return count;
}

} // namespace catalog
