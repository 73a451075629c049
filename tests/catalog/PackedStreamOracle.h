// The packed-stream block codec written out step by step, one bit and one candidate at a time:
// the yardstick the fast codec in catalog/PackedStream.cpp must match byte for byte. Used by the
// tests, the fuzz target and the benchmarks.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace packed_oracle {

inline constexpr int kRingSize = 2048;
inline constexpr int kRingMask = kRingSize - 1;
inline constexpr int kRingStart = 2031;
inline constexpr int kMaxMatch = 17;

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

// A 4096-byte work buffer that slides by 2048; every candidate from r - 1 down to the floor is
// compared, a strictly longer match wins. Stopping once a match reaches the limit changes
// nothing: no later candidate can be strictly longer.
inline std::vector<std::uint8_t> BruteForceEncode(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out;
    BitWriter bits(out);
    std::uint8_t buf[2 * kRingSize];
    std::memset(buf, ' ', kRingStart);
    std::size_t taken = 0;
    int fillEnd = kRingStart;
    auto refill = [&] {
        const auto n = std::min<std::size_t>(size - taken, sizeof buf - fillEnd);
        if (n != 0)
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

// One bit and one ring byte at a time, the whole ring preset to spaces. Nothing when the block
// decodes to more than capacity bytes.
inline std::optional<std::vector<std::uint8_t>>
RingDecode(const std::uint8_t* packed, std::size_t packedSize, std::size_t capacity) {
    std::uint8_t ring[kRingSize];
    std::memset(ring, ' ', sizeof ring);
    unsigned r = kRingStart;
    BitReader bits(packed, packedSize);
    std::vector<std::uint8_t> out;
    auto append = [&](std::uint8_t b) {
        if (out.size() == capacity)
            return false;
        out.push_back(b);
        ring[r] = b;
        r = (r + 1) & kRingMask;
        return true;
    };
    unsigned flag;
    while (bits.Bits(1, flag)) {
        if (flag) {
            unsigned byte;
            if (!bits.Bits(8, byte))
                break;
            if (!append(static_cast<std::uint8_t>(byte)))
                return std::nullopt;
        } else {
            unsigned position, length;
            if (!bits.Bits(11, position) || !bits.Bits(4, length))
                break;
            for (unsigned k = 0; k < length + 2; ++k)
                if (!append(ring[(position + k) & kRingMask]))
                    return std::nullopt;
        }
    }
    return out;
}

} // namespace packed_oracle
