#include "catalog/PackedStream.h"

#include "rtl/Exceptions.h"
#include "rtl/LittleEndian.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>

namespace catalog {
namespace {

constexpr unsigned kRingSize = 2048;
constexpr unsigned kRingMask = kRingSize - 1;
// The first byte of a block lands at ring position 2031; a match reaches back at most that far.
constexpr unsigned kRingStart = 2031;
constexpr std::size_t kWindow = kRingStart;
constexpr std::size_t kMinMatch = 2;
constexpr std::size_t kMaxMatch = 17;
constexpr std::uint8_t kSpace = 0x20;
constexpr unsigned kLiteralBits = 9;
constexpr unsigned kCopyBits = 16;

std::uint64_t LoadU64BigEndian(const std::uint8_t* p) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = v << 8 | p[i];
    return v;
}

std::uint64_t LoadU64Native(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Most significant bit first. The valid bits sit at the top of a 64-bit buffer; the bits below
// them may already hold the following input bits, which a later refill ORs in again unchanged.
class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t size) : next_(data), end_(data + size) {}

    // Tops the buffer up to at least 56 bits while input remains.
    void Refill() {
        if (end_ - next_ >= 8) {
            bits_ |= LoadU64BigEndian(next_) >> count_;
            next_ += (63 - count_) >> 3;
            count_ |= 56;
            return;
        }
        while (count_ <= 56 && next_ != end_) {
            bits_ |= std::uint64_t{*next_++} << (56 - count_);
            count_ += 8;
        }
    }
    unsigned Count() const { return count_; }
    // The next n bits (1 <= n <= 16) without consuming them; bits past the input read as 0.
    unsigned Peek(unsigned n) const { return static_cast<unsigned>(bits_ >> (64 - n)); }
    void Skip(unsigned n) {
        bits_ <<= n;
        count_ -= n;
    }

private:
    const std::uint8_t* next_;
    const std::uint8_t* end_;
    std::uint64_t bits_ = 0;
    unsigned count_ = 0;
};

// Bytes a copy may write at out[n]: the match and the overshoot of the 8-byte moves.
constexpr std::size_t kCopyReach = 3 * 8;
// Tokens decoded from one refill of at least 56 bits.
constexpr unsigned kTokensPerRefill = 3;

// Appends len bytes at out[n], copied from dist bytes back. Bytes before the start of the block
// are the ring's preset spaces; an overlapping copy repeats its own output. The caller has
// checked that out holds n + len bytes; writes stay below out + capacity.
void CopyMatch(std::uint8_t* out, std::size_t n, std::size_t dist, std::size_t len,
               std::size_t capacity) {
    std::uint8_t* dst = out + n;
    if (dist > n) {
        const std::size_t spaces = std::min(dist - n, len);
        std::memset(dst, kSpace, spaces);
        for (std::size_t k = spaces; k < len; ++k)
            dst[k] = out[n + k - dist];
        return;
    }
    const std::uint8_t* src = dst - dist;
    if (dist >= 8 && capacity - n >= kCopyReach) {
        // Each 8-byte move reads only bytes already in place.
        std::memcpy(dst, src, 8);
        std::memcpy(dst + 8, src + 8, 8);
        std::memcpy(dst + 16, src + 16, 8);
        return;
    }
    if (dist == 1) {
        std::memset(dst, *src, len);
        return;
    }
    for (std::size_t k = 0; k < len; ++k)
        dst[k] = src[k];
}

// Decodes the token at the head of the bit buffer (which holds at least 16 bits) into out[n];
// the caller has checked that it fits.
void DecodeToken(BitReader& in, std::uint8_t* out, std::size_t& n, std::size_t capacity) {
    const unsigned token = in.Peek(kCopyBits);
    if (token & 0x8000) {
        out[n++] = static_cast<std::uint8_t>(token >> 7);
        in.Skip(kLiteralBits);
        return;
    }
    const std::size_t len = (token & 0xF) + kMinMatch;
    const unsigned writePosition = (kRingStart + static_cast<unsigned>(n)) & kRingMask;
    const std::size_t dist = ((writePosition - (token >> 4) - 1) & kRingMask) + 1;
    std::uint8_t* dst = out + n;
    if (n >= kMaxMatch && dist - kMaxMatch <= n - kMaxMatch && capacity - n >= kMaxMatch) {
        // The usual case: the source lies wholly before the destination.
        const std::uint8_t* src = dst - dist;
        std::memcpy(dst, src, 16);
        dst[16] = src[16];
    } else {
        CopyMatch(out, n, dist, len, capacity);
    }
    n += len;
    in.Skip(kCopyBits);
}

// Collects bits most significant first and hands out whole bytes; Finish pads the last byte
// with zero bits.
class BitWriter {
public:
    explicit BitWriter(std::uint8_t* out) : out_(out) {}
    void Put(unsigned count, unsigned value) {
        bits_ = bits_ << count | value;
        count_ += count;
        while (count_ >= 8) {
            count_ -= 8;
            *out_++ = static_cast<std::uint8_t>(bits_ >> count_);
        }
    }
    // Returns the end of the written bytes.
    std::uint8_t* Finish() {
        if (count_ != 0)
            *out_++ = static_cast<std::uint8_t>(bits_ << (8 - count_));
        return out_;
    }

private:
    std::uint8_t* out_;
    std::uint64_t bits_ = 0;
    unsigned count_ = 0;
};

struct Match {
    std::size_t length; // below kMinMatch: no match, code a literal
    std::size_t position;
};

// Finds at each cursor the choice of a full scan over the window from the nearest candidate
// down: the longest match, the nearest of equally long ones. Matches of 3 bytes and more come
// from hash chains over 3-byte prefixes visited nearest first (a candidate can only be longer if
// it agrees at the current best length); a 2-byte match is the latest position of its 2-byte
// prefix. Positions are stored plus one, so 0 means none.
class MatchFinder {
public:
    // text[0, end) plus 3 * 8 readable bytes after it.
    MatchFinder(const std::uint8_t* text, std::size_t end)
        : text_(text), end_(end), latestPair_(1 << 16), latestTriple_(kTripleHashSize) {}

    // Positions must be inserted in ascending order, each before a search at a later cursor.
    void Insert(std::size_t p) {
        const auto stored = static_cast<std::uint32_t>(p + 1);
        latestPair_[PairKey(p)] = stored;
        std::uint32_t& head = latestTriple_[TripleHash(p)];
        previousTriple_[p & kRingMask] = head;
        head = stored;
    }

    Match Find(std::size_t r) const {
        const std::size_t limit = std::min(end_ - r, kMaxMatch);
        if (limit < kMinMatch)
            return {1, 0};
        const std::size_t floor = r - kWindow + 1; // in stored terms
        if (limit > kMinMatch) {
            Match best{kMinMatch, 0};
            for (std::size_t c = latestTriple_[TripleHash(r)]; c >= floor;
                 c = previousTriple_[(c - 1) & kRingMask]) {
                const std::size_t candidate = c - 1;
                if (text_[candidate + best.length] != text_[r + best.length])
                    continue;
                const std::size_t m = MatchLength(text_ + candidate, text_ + r, limit);
                if (m > best.length) {
                    best = {m, candidate};
                    if (m == limit)
                        break;
                }
            }
            if (best.length > kMinMatch)
                return best;
        }
        const std::size_t pair = latestPair_[PairKey(r)];
        if (pair >= floor)
            return {kMinMatch, pair - 1};
        return {1, 0};
    }

private:
    static constexpr unsigned kTripleHashBits = 14;
    static constexpr std::size_t kTripleHashSize = std::size_t{1} << kTripleHashBits;

    // The bytes at p in the machine's order; the keys below need only be one-to-one.
    std::uint32_t Quad(std::size_t p) const {
        std::uint32_t v;
        std::memcpy(&v, text_ + p, sizeof v);
        return v;
    }
    unsigned PairKey(std::size_t p) const {
        return std::endian::native == std::endian::little ? Quad(p) & 0xFFFF : Quad(p) >> 16;
    }
    unsigned TripleHash(std::size_t p) const {
        const std::uint32_t key =
            std::endian::native == std::endian::little ? Quad(p) & 0xFFFFFF : Quad(p) >> 8;
        return (key * 2654435761u) >> (32 - kTripleHashBits);
    }
    static std::size_t MatchLength(const std::uint8_t* a, const std::uint8_t* b,
                                   std::size_t limit) {
        for (std::size_t m = 0; m < limit; m += 8) {
            const std::uint64_t diff = LoadU64Native(a + m) ^ LoadU64Native(b + m);
            if (diff != 0) {
                const int equalBits = std::endian::native == std::endian::little
                                          ? std::countr_zero(diff)
                                          : std::countl_zero(diff);
                return std::min(m + static_cast<std::size_t>(equalBits / 8), limit);
            }
        }
        return limit;
    }

    const std::uint8_t* text_;
    std::size_t end_;
    std::vector<std::uint32_t> latestPair_;
    std::vector<std::uint32_t> latestTriple_;
    std::uint32_t previousTriple_[kRingSize] = {};
};

} // namespace

std::size_t MaxPackedSize(std::size_t capacity) {
    return (capacity * kLiteralBits + 7) / 8;
}

bool DecodeBlock(const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* out,
                 std::size_t capacity, std::size_t& outSize) {
    BitReader in(packed, packedSize);
    std::size_t n = 0;
    for (;;) {
        in.Refill();
        unsigned tokens = kTokensPerRefill;
        if (in.Count() < kTokensPerRefill * kCopyBits ||
            capacity - n < kTokensPerRefill * kCopyReach) {
            // Near the end of the input or of the buffer: one token at a time, each checked.
            // The block ends where its input ends inside a token (zero padding).
            if (in.Count() < kLiteralBits || (in.Count() < kCopyBits && in.Peek(1) == 0))
                break;
            const unsigned token = in.Peek(kCopyBits);
            const std::size_t length = token & 0x8000 ? 1 : (token & 0xF) + kMinMatch;
            if (length > capacity - n)
                return false;
            tokens = 1;
        }
        for (; tokens > 0; --tokens)
            DecodeToken(in, out, n, capacity);
    }
    outSize = n;
    return true;
}

std::vector<std::uint8_t> EncodeBlock(const std::uint8_t* data, std::size_t size) {
    // Positions are kept in 32 bits; a block's size field has no more anyway.
    if (size > std::numeric_limits<std::uint32_t>::max() - kRingStart - 1)
        throw std::length_error("EncodeBlock: block too large");
    // The preset spaces followed by the input, as one line: a position modulo 2048 is the ring
    // position of its byte.
    constexpr std::size_t kReadSlack = 3 * 8;
    const std::size_t end = kRingStart + size;
    std::vector<std::uint8_t> text(end + kReadSlack);
    std::memset(text.data(), kSpace, kRingStart);
    if (size != 0)
        std::memcpy(text.data() + kRingStart, data, size);

    std::vector<std::uint8_t> out(size + (size + 7) / 8); // 9 bits per byte at worst
    BitWriter bits(out.data());
    MatchFinder finder(text.data(), end);
    for (std::size_t p = 0; p < kRingStart; ++p)
        finder.Insert(p);
    std::size_t r = kRingStart;
    while (r < end) {
        const Match match = finder.Find(r);
        std::size_t consumed = 1;
        if (match.length < kMinMatch) {
            bits.Put(kLiteralBits, 0x100 | text[r]);
        } else {
            const auto position = static_cast<unsigned>(match.position) & kRingMask;
            bits.Put(kCopyBits, position << 4 | static_cast<unsigned>(match.length - kMinMatch));
            consumed = match.length;
        }
        for (std::size_t k = 0; k < consumed; ++k)
            finder.Insert(r + k);
        r += consumed;
    }
    out.resize(static_cast<std::size_t>(bits.Finish() - out.data()));
    return out;
}

std::int32_t TKVPacker::Read(void* buffer, std::int32_t count) {
    std::uint8_t header[8];
    if (stream_.Read(header, sizeof header) != sizeof header)
        throw rtl::EReadError();
    const std::uint32_t packedSize = rtl::LoadU32(header);
    // Checked against the most a block that fits the buffer can take, and against what is left
    // of the stream, before anything is allocated for it.
    const auto capacity = static_cast<std::size_t>(std::max(count, 0));
    if (packedSize > MaxPackedSize(capacity) || packedSize > stream_.Size() - stream_.Position())
        throw rtl::EReadError();
    const auto packed = std::make_unique_for_overwrite<std::uint8_t[]>(packedSize);
    stream_.ReadBuffer(packed.get(), static_cast<std::int32_t>(packedSize));
    std::size_t decoded = 0;
    if (!DecodeBlock(packed.get(), packedSize, static_cast<std::uint8_t*>(buffer), capacity,
                     decoded))
        throw rtl::EReadError();
    return static_cast<std::int32_t>(decoded);
}

std::int32_t TKVPacker::Write(const void* buffer, std::int32_t count) {
    const auto packed = EncodeBlock(static_cast<const std::uint8_t*>(buffer),
                                    static_cast<std::size_t>(std::max(count, 0)));
    std::uint8_t header[8];
    rtl::StoreU32(header, static_cast<std::uint32_t>(packed.size()));
    rtl::StoreU32(header + 4, static_cast<std::uint32_t>(count));
    stream_.WriteBuffer(header, sizeof header);
    stream_.WriteBuffer(packed.data(), static_cast<std::int32_t>(packed.size()));
    return count;
}

} // namespace catalog
