// The packed stream against its yardsticks, on German catalogue text in 64000-byte blocks (the
// record buffer size): decoding through TKVPacker against zlib's inflate of the same blocks
// compressed at level 6, and the hash-chain encoder against the brute-force search whose output
// it reproduces. Each of our benchmarks also reports its speed as a multiple of its yardstick's
// ("x_inflate", "x_brute_force"), measured in the same run.
#include "CatalogueText.h"
#include "catalog/PackedStream.h"
#include "catalog/PackedStreamOracle.h"
#include "rtl/Stream.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kBlockSize = 64000;
constexpr std::size_t kBlockCount = 16;

// The text cut into record-sized blocks, packed both ways.
struct Corpus {
    std::vector<Bytes> blocks;
    rtl::TMemoryStream packedStream; // the blocks one after another, as TKVPacker writes them
    std::vector<Bytes> deflated;     // each block compressed by zlib at level 6
    std::size_t totalBytes = 0;

    Corpus() {
        const std::string text = catalogue_text::Generator(2024).Text(kBlockSize * kBlockCount);
        catalog::TKVPacker packer(packedStream);
        for (std::size_t i = 0; i < kBlockCount; ++i) {
            const auto* start = reinterpret_cast<const std::uint8_t*>(text.data()) + i * kBlockSize;
            blocks.emplace_back(start, start + kBlockSize);
            packer.Write(start, static_cast<std::int32_t>(kBlockSize));
            uLongf size = compressBound(kBlockSize);
            Bytes z(size);
            if (compress2(z.data(), &size, start, kBlockSize, 6) != Z_OK)
                throw std::runtime_error("compress2 failed");
            z.resize(size);
            deflated.push_back(std::move(z));
            totalBytes += kBlockSize;
        }
    }
    std::size_t PackedBytes() const {
        return packedStream.Bytes().size() - kBlockCount * 8; // without the block headers
    }
    std::size_t DeflatedBytes() const {
        std::size_t n = 0;
        for (const Bytes& z : deflated)
            n += z.size();
        return n;
    }
};

const Corpus& TheCorpus() {
    static const Corpus corpus;
    return corpus;
}

// Process CPU seconds. Rates are taken over CPU time, as Google Benchmark's own, so that other
// load on the machine does not skew a ratio.
double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Bytes per CPU second of fn, which handles bytesPerCall bytes: the best of several rounds.
double MeasureRate(const std::function<void()>& fn, std::size_t bytesPerCall) {
    double best = 0;
    for (int round = 0; round < 5; ++round) {
        const double start = CpuSeconds();
        int calls = 0;
        double seconds = 0;
        do {
            fn();
            ++calls;
            seconds = CpuSeconds() - start;
        } while (seconds < 0.1);
        best = std::max(best, static_cast<double>(bytesPerCall) * calls / seconds);
    }
    return best;
}

// Runs the benchmark loop and reports its throughput as a multiple of the yardstick's.
void RunAgainst(benchmark::State& state, const char* counter, const std::function<void()>& ours,
                const std::function<void()>& yardstick) {
    const double start = CpuSeconds();
    for (auto _ : state)
        ours();
    const double bytes =
        static_cast<double>(state.iterations()) * static_cast<double>(TheCorpus().totalBytes);
    const double rate = bytes / (CpuSeconds() - start);
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters[counter] = rate / MeasureRate(yardstick, TheCorpus().totalBytes);
}

class Inflater {
public:
    Inflater() {
        if (inflateInit(&stream_) != Z_OK)
            throw std::runtime_error("inflateInit failed");
    }
    ~Inflater() { inflateEnd(&stream_); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    std::size_t Inflate(const Bytes& in, std::uint8_t* out, std::size_t capacity) {
        inflateReset(&stream_);
        stream_.next_in = const_cast<Bytef*>(in.data());
        stream_.avail_in = static_cast<uInt>(in.size());
        stream_.next_out = out;
        stream_.avail_out = static_cast<uInt>(capacity);
        if (inflate(&stream_, Z_FINISH) != Z_STREAM_END)
            throw std::runtime_error("inflate failed");
        return stream_.total_out;
    }

private:
    z_stream stream_{};
};

void InflateAll(Inflater& inflater, Bytes& out) {
    for (const Bytes& z : TheCorpus().deflated)
        benchmark::DoNotOptimize(inflater.Inflate(z, out.data(), out.size()));
    benchmark::ClobberMemory();
}

void ReadAllBlocks(rtl::TMemoryStream& stream, Bytes& out) {
    catalog::TKVPacker packer(stream);
    stream.SetPosition(0);
    for (std::size_t i = 0; i < kBlockCount; ++i)
        benchmark::DoNotOptimize(packer.Read(out.data(), static_cast<std::int32_t>(out.size())));
    benchmark::ClobberMemory();
}

void EncodeAll(bool bruteForce) {
    for (const Bytes& block : TheCorpus().blocks) {
        const Bytes packed = bruteForce
                                 ? packed_oracle::BruteForceEncode(block.data(), block.size())
                                 : catalog::EncodeBlock(block.data(), block.size());
        benchmark::DoNotOptimize(packed.data());
    }
}

void SetThroughput(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(TheCorpus().totalBytes));
}

void BM_DecodeTKVPacker(benchmark::State& state) {
    const Corpus& corpus = TheCorpus();
    rtl::TMemoryStream stream;
    stream.Bytes() = corpus.packedStream.Bytes();
    Bytes out(kBlockSize);
    Inflater inflater;
    RunAgainst(
        state, "x_inflate", [&] { ReadAllBlocks(stream, out); },
        [&] { InflateAll(inflater, out); });
    state.counters["packed/unpacked"] =
        static_cast<double>(corpus.PackedBytes()) / static_cast<double>(corpus.totalBytes);
}

void BM_DecodeZlibInflate(benchmark::State& state) {
    Inflater inflater;
    Bytes out(kBlockSize);
    for (auto _ : state)
        InflateAll(inflater, out);
    SetThroughput(state);
    const Corpus& corpus = TheCorpus();
    state.counters["packed/unpacked"] =
        static_cast<double>(corpus.DeflatedBytes()) / static_cast<double>(corpus.totalBytes);
}

void BM_EncodeHashChains(benchmark::State& state) {
    RunAgainst(
        state, "x_brute_force", [] { EncodeAll(false); }, [] { EncodeAll(true); });
}

void BM_EncodeBruteForce(benchmark::State& state) {
    for (auto _ : state)
        EncodeAll(true);
    SetThroughput(state);
}

BENCHMARK(BM_DecodeTKVPacker)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeZlibInflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeHashChains)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeBruteForce)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
