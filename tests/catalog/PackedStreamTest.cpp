#include "catalog/PackedStream.h"

#include "catalog/AllocationProbe.h"
#include "catalog/PackedStreamOracle.h"
#include "rtl/Exceptions.h"
#include "rtl/Stream.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using catalog::DecodeBlock;
using catalog::EncodeBlock;
using catalog::TKVPacker;

enum class Kind { Text, Random, Runs, TwoLetters };

std::string KindName(Kind kind) {
    switch (kind) {
    case Kind::Text:
        return "text";
    case Kind::Random:
        return "random";
    case Kind::Runs:
        return "runs";
    case Kind::TwoLetters:
        return "two letters";
    }
    return {};
}

Bytes MakeInput(Kind kind, std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    Bytes data;
    switch (kind) {
    case Kind::Text: {
        // Catalogue source text, from a place the seed chooses, wrapping around at its end.
        static const std::string source = testing_support::ReadFileBytes(VITRINE_SAMPLE_TEXT);
        for (std::size_t at = seed % source.size(); data.size() < size; at = 0)
            data.insert(data.end(), source.begin() + static_cast<std::ptrdiff_t>(at),
                        source.begin() + static_cast<std::ptrdiff_t>(
                                             std::min(source.size(), at + size - data.size())));
        break;
    }
    case Kind::Random:
        while (data.size() < size)
            data.push_back(static_cast<std::uint8_t>(random()));
        break;
    case Kind::Runs: {
        static constexpr std::uint8_t kSymbols[] = {' ', 'a', 'b', 0x00, 0xFF};
        while (data.size() < size) {
            const auto symbol = random() % 8 == 0 ? static_cast<std::uint8_t>(random())
                                                  : kSymbols[random() % std::size(kSymbols)];
            data.insert(data.end(), 1 + random() % 40, symbol);
        }
        data.resize(size);
        break;
    }
    case Kind::TwoLetters:
        while (data.size() < size)
            data.push_back(random() % 2 ? 'a' : 'b');
        break;
    }
    return data;
}

// Copies bytes into an allocation of exactly their size, so that reading past them is an
// address-sanitizer error even where a vector would have spare capacity.
std::unique_ptr<std::uint8_t[]> ExactCopy(const std::uint8_t* data, std::size_t size) {
    auto copy = std::make_unique<std::uint8_t[]>(size);
    std::copy(data, data + size, copy.get());
    return copy;
}

constexpr std::uint8_t kCanary = 0xA5;
constexpr std::size_t kCanaryBytes = 16;

// Decodes packed[0, size) from an exact allocation into an exact capacity followed by canary
// bytes, which must survive. Nothing when the block does not fit.
std::optional<Bytes> Decode(const std::uint8_t* packed, std::size_t size, std::size_t capacity) {
    const auto input = ExactCopy(packed, size);
    Bytes out(capacity + kCanaryBytes, kCanary);
    std::size_t decoded = 0;
    const bool fits = DecodeBlock(input.get(), size, out.data(), capacity, decoded);
    for (std::size_t i = capacity; i < out.size(); ++i)
        EXPECT_EQ(out[i], kCanary) << "written past the capacity at " << i;
    if (!fits)
        return std::nullopt;
    EXPECT_LE(decoded, capacity);
    out.resize(decoded);
    return out;
}

std::optional<Bytes> Decode(const Bytes& packed, std::size_t capacity) {
    return Decode(packed.data(), packed.size(), capacity);
}

// The fast decoder and the bit-by-bit decoder must agree on every input, well-formed or not.
void ExpectDecodersAgree(const Bytes& packed, std::size_t capacity) {
    const auto fast = Decode(packed, capacity);
    const auto reference = packed_oracle::RingDecode(packed.data(), packed.size(), capacity);
    ASSERT_EQ(fast.has_value(), reference.has_value());
    if (fast) {
        EXPECT_EQ(*fast, *reference);
    }
}

// Encodes like the brute-force search and decodes back to the input.
void ExpectFaithfulRoundTrip(const Bytes& input) {
    const Bytes packed = EncodeBlock(input.data(), input.size());
    ASSERT_EQ(packed, packed_oracle::BruteForceEncode(input.data(), input.size()));
    const auto decoded = Decode(packed, input.size());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, input);
}

std::uint32_t BaseSeed() {
    const char* seed = std::getenv("PACKED_STREAM_SEED");
    return seed ? static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10)) : 20240601u;
}

// A fault in the encoder's match window can make it loop forever: the child running it is
// stopped by an alarm instead of hanging the test run.
TEST(PackedStreamCodec, EncodingEndsWithinBoundedTime) {
    const int status = testing_support::RunInChild([] {
        alarm(30);
        for (const Kind kind : {Kind::Text, Kind::Random, Kind::Runs, Kind::TwoLetters}) {
            const Bytes input = MakeInput(kind, 64000, 11);
            const Bytes packed = EncodeBlock(input.data(), input.size());
            Bytes out(input.size());
            std::size_t decoded = 0;
            if (!DecodeBlock(packed.data(), packed.size(), out.data(), out.size(), decoded) ||
                out != input)
                return 1;
        }
        return 0;
    });
    EXPECT_EQ(status, 0);
}

TEST(PackedStreamCodec, EncodesLikeTheBruteForceSearchAtEverySizeThatMatters) {
    for (const Kind kind : {Kind::Text, Kind::Random, Kind::Runs, Kind::TwoLetters})
        for (const std::size_t size : {0, 1, 2, 3, 17, 18, 2030, 2031, 2048, 4079, 4096, 64000}) {
            SCOPED_TRACE(KindName(kind) + ", " + std::to_string(size) + " bytes");
            ExpectFaithfulRoundTrip(MakeInput(kind, size, static_cast<std::uint32_t>(size)));
        }
}

TEST(PackedStreamCodec, SeededRandomRoundTripsMatchTheBruteForceSearch) {
    const std::uint32_t base = BaseSeed();
    for (std::uint32_t i = 0; i < 60; ++i) {
        const std::uint32_t seed = base + i;
        SCOPED_TRACE("seed " + std::to_string(seed) +
                     " (rerun with PACKED_STREAM_SEED=" + std::to_string(base) + ")");
        std::mt19937 random(seed);
        const auto kind = static_cast<Kind>(random() % 4);
        const std::size_t size = random() % 9000;
        ExpectFaithfulRoundTrip(MakeInput(kind, size, seed));
        if (HasFatalFailure())
            return;
    }
}

TEST(PackedStreamCodec, SeventeenSpacesAreOneCopyFromThePresetRing) {
    const Bytes spaces(17, ' ');
    // 0, position 2030 (the nearest candidate), length 17 - 2 = 15.
    EXPECT_EQ(EncodeBlock(spaces.data(), spaces.size()), (Bytes{0x7E, 0xEF}));
    EXPECT_EQ(Decode(Bytes{0x7E, 0xEF}, 17), spaces);
}

TEST(PackedStreamDecoder, OutputOfExactlyTheCapacityFitsAndOneLessFails) {
    const Bytes input = MakeInput(Kind::Text, 5000, 7);
    const Bytes packed = EncodeBlock(input.data(), input.size());
    EXPECT_EQ(Decode(packed, input.size()), input);
    EXPECT_EQ(Decode(packed, input.size() - 1), std::nullopt);
    EXPECT_EQ(Decode(packed, 0), std::nullopt);
}

TEST(PackedStreamDecoder, TruncatedInputDecodesAStrictPrefixWithoutOverreading) {
    for (const Kind kind : {Kind::Text, Kind::Runs, Kind::Random}) {
        SCOPED_TRACE(KindName(kind));
        const Bytes input = MakeInput(kind, 3000, 11);
        const Bytes packed = EncodeBlock(input.data(), input.size());
        for (std::size_t cut = 1; cut <= 40 && cut <= packed.size(); ++cut) {
            const auto decoded = Decode(packed.data(), packed.size() - cut, input.size());
            ASSERT_TRUE(decoded.has_value());
            ASSERT_LT(decoded->size(), input.size()) << "cut " << cut;
            EXPECT_TRUE(std::equal(decoded->begin(), decoded->end(), input.begin()));
        }
    }
}

TEST(PackedStreamDecoder, CorruptedBlocksDecodeLikeTheReferenceWithinBounds) {
    const std::uint32_t base = BaseSeed();
    for (std::uint32_t i = 0; i < 200; ++i) {
        const std::uint32_t seed = base + i;
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const Bytes input = MakeInput(static_cast<Kind>(random() % 4), 1 + random() % 5000, seed);
        Bytes packed = EncodeBlock(input.data(), input.size());
        for (unsigned flips = 1 + random() % 4; flips > 0; --flips)
            packed[random() % packed.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
        const std::size_t capacity = random() % 2 ? input.size() : random() % (2 * input.size());
        ExpectDecodersAgree(packed, capacity);
        if (HasFatalFailure())
            return;
    }
}

// A stream holding the given bytes, positioned at the start.
std::unique_ptr<rtl::TMemoryStream> StreamOf(const Bytes& bytes) {
    auto stream = std::make_unique<rtl::TMemoryStream>();
    stream->Bytes() = bytes;
    return stream;
}

Bytes Header(std::uint32_t packedSize, std::uint32_t unpackedSize) {
    Bytes header;
    for (const std::uint32_t v : {packedSize, unpackedSize})
        for (int i = 0; i < 4; ++i)
            header.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return header;
}

Bytes PackedBlock(const Bytes& input) {
    rtl::TMemoryStream stream;
    TKVPacker packer(stream);
    EXPECT_EQ(packer.Write(input.data(), static_cast<std::int32_t>(input.size())),
              static_cast<std::int32_t>(input.size()));
    return stream.Bytes();
}

TEST(PackedStreamPacker, WritesHeaderAndBitStreamAndReadsThemBack) {
    const Bytes input = MakeInput(Kind::Text, 10000, 3);
    const Bytes block = PackedBlock(input);
    const Bytes packed = EncodeBlock(input.data(), input.size());
    Bytes expected = Header(static_cast<std::uint32_t>(packed.size()), 10000);
    expected.insert(expected.end(), packed.begin(), packed.end());
    EXPECT_EQ(block, expected);

    auto stream = StreamOf(block);
    TKVPacker packer(*stream);
    Bytes out(64000);
    EXPECT_EQ(packer.Read(out.data(), 64000), 10000); // the count is a capacity
    out.resize(10000);
    EXPECT_EQ(out, input);
    EXPECT_EQ(stream->Position(), static_cast<std::int64_t>(block.size()));
}

TEST(PackedStreamPacker, EmptyBlockIsAHeaderOfZerosAndReadsAsNothing) {
    const Bytes block = PackedBlock({});
    EXPECT_EQ(block, Header(0, 0));
    auto stream = StreamOf(block);
    TKVPacker packer(*stream);
    std::uint8_t out[4];
    EXPECT_EQ(packer.Read(out, sizeof out), 0);
}

TEST(PackedStreamPacker, ConsecutiveBlocksReadInTurnAndSeekPassesThrough) {
    rtl::TMemoryStream stream;
    TKVPacker packer(stream);
    const Bytes first = MakeInput(Kind::Text, 700, 1);
    const Bytes second = MakeInput(Kind::Runs, 5000, 2);
    packer.Write(first.data(), 700);
    const std::int64_t secondStart = packer.Seek(0, rtl::SeekOrigin::Current);
    packer.Write(second.data(), 5000);

    EXPECT_EQ(packer.Seek(0, rtl::SeekOrigin::Beginning), 0);
    Bytes out(5000);
    ASSERT_EQ(packer.Read(out.data(), 5000), 700);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), out.begin()));
    EXPECT_EQ(stream.Position(), secondStart);
    ASSERT_EQ(packer.Read(out.data(), 5000), 5000);
    EXPECT_EQ(out, second);
}

TEST(PackedStreamPacker, ShortHeaderIsAReadError) {
    const Bytes header = Header(0, 0);
    for (std::size_t size = 0; size < header.size(); ++size) {
        auto stream = StreamOf(Bytes(header.begin(), header.begin() + size));
        TKVPacker packer(*stream);
        std::uint8_t out[16];
        EXPECT_THROW(packer.Read(out, sizeof out), rtl::EReadError) << size << " header bytes";
    }
}

TEST(PackedStreamPacker, ShortBodyIsAReadError) {
    Bytes block = PackedBlock(MakeInput(Kind::Text, 3000, 5));
    block.pop_back();
    auto stream = StreamOf(block);
    TKVPacker packer(*stream);
    Bytes out(3000);
    try {
        packer.Read(out.data(), 3000);
        FAIL() << "a short body was accepted";
    } catch (const rtl::EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
}

TEST(PackedStreamPacker, HugePackedSizeIsAReadErrorWithoutAllocatingIt) {
    for (const std::uint32_t packedSize : {0x40000000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        Bytes block = Header(packedSize, 100);
        block.resize(block.size() + 100, 0xFF);
        auto stream = StreamOf(block);
        TKVPacker packer(*stream);
        Bytes out(100);
        const testing_support::AllocationProbe probe;
        EXPECT_THROW(packer.Read(out.data(), 100), rtl::EReadError);
        EXPECT_LT(probe.Largest(), std::size_t{1} << 20);
    }
}

TEST(PackedStreamPacker, PackedSizeBeyondWhatIsLeftOfTheStreamIsAReadErrorWithoutAllocatingIt) {
    constexpr std::uint32_t kPackedSize = 600000;
    Bytes data(1000000, 0x20);
    const Bytes header = Header(kPackedSize, 100);
    const std::size_t at = data.size() - 1000; // less is left than the block claims
    std::copy(header.begin(), header.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
    auto stream = StreamOf(data);
    stream->Seek(static_cast<std::int64_t>(at), rtl::SeekOrigin::Beginning);
    TKVPacker packer(*stream);
    Bytes out(1000000);
    const testing_support::AllocationProbe probe;
    EXPECT_THROW(packer.Read(out.data(), 1000000), rtl::EReadError);
    EXPECT_LT(probe.Largest(), std::size_t{kPackedSize});
}

TEST(PackedStreamPacker, BlockLargerThanTheBufferIsAReadError) {
    const Bytes input = MakeInput(Kind::Text, 1000, 9);
    auto stream = StreamOf(PackedBlock(input));
    TKVPacker packer(*stream);
    Bytes out(999 + kCanaryBytes, kCanary);
    EXPECT_THROW(packer.Read(out.data(), 999), rtl::EReadError);
    for (std::size_t i = 999; i < out.size(); ++i)
        EXPECT_EQ(out[i], kCanary);
}

} // namespace
