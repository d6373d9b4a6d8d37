// Row encoding of the raster encoder on 36-inch rows at 600 dpi: 64,800-byte RGB rows (21,600
// pixels) and 21,600-byte gray rows, for all-white rows after white rows, 1% line art and
// photo-like rows, beside a memcpy of the same rows and the plain byte-at-a-time encoder.
// Figures are bytes of input per second.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "Common/XomImage/RowCompressor.h"
#include "tests/Common/XomImage/PlainRowCodec.h"

namespace {

constexpr int kRowsPerSet = 64;

std::size_t g_sink = 0;
void CountBytes(const char*, std::size_t length) {
    g_sink += length;
}

enum Kind { kWhite = 0, kLineArt = 1, kPhoto = 2 };

std::vector<std::vector<std::uint8_t>> MakeRows(int kind, std::size_t bytes, int bpp) {
    std::mt19937 rng(42);
    std::vector<std::vector<std::uint8_t>> rows(kRowsPerSet, std::vector<std::uint8_t>(bytes, 255));
    if (kind == kLineArt) {
        // Vertical strokes that stay put, plus a few that wander: 1% of the pixels are ink.
        const std::size_t pixels = bytes / static_cast<std::size_t>(bpp);
        std::vector<std::size_t> fixed(pixels / 150);
        for (auto& x : fixed) x = rng() % pixels;
        for (auto& row : rows) {
            for (std::size_t x : fixed)
                std::memset(&row[x * static_cast<std::size_t>(bpp)], 0,
                            static_cast<std::size_t>(bpp));
            for (std::size_t k = 0; k < pixels / 300; ++k) {
                const std::size_t x = rng() % pixels;
                std::memset(&row[x * static_cast<std::size_t>(bpp)], 0,
                            static_cast<std::size_t>(bpp));
            }
        }
    } else if (kind == kPhoto) {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (std::size_t i = 0; i < bytes; ++i) {
                const int base = static_cast<int>((i / 3 + r * 7) % 200) + 20;
                rows[r][i] = static_cast<std::uint8_t>(base + static_cast<int>(rng() % 17) - 8);
            }
        }
    }
    return rows;
}

void Args(benchmark::internal::Benchmark* b) {
    for (int kind : {kWhite, kLineArt, kPhoto}) {
        b->Args({kind, 64800, 3});
        b->Args({kind, 21600, 1});
    }
    b->ArgNames({"kind", "bytes", "bpp"});
}

void BM_EncodeRow(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(1));
    const int bpp = static_cast<int>(state.range(2));
    const auto rows = MakeRows(static_cast<int>(state.range(0)), bytes, bpp);
    PlotStreamState stream;
    stream.byteSender = &CountBytes;
    auto c = xomimage::RowCompressor::Create("Color compressor",
                                             static_cast<std::int32_t>(bytes) / bpp, bpp, stream);
    std::size_t r = 0;
    for (auto _ : state) {
        std::memcpy(c->Row(), rows[r].data(), bytes);
        c->Encode();
        r = (r + 1) % rows.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
    state.counters["out_per_row"] =
        static_cast<double>(c->Method2Bytes() + c->Method3Bytes()) / static_cast<double>(c->Rows());
}
BENCHMARK(BM_EncodeRow)->Apply(Args);

// The copy into the compressor's row that BM_EncodeRow includes, on its own.
void BM_MemcpyRow(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(1));
    const auto rows =
        MakeRows(static_cast<int>(state.range(0)), bytes, static_cast<int>(state.range(2)));
    std::vector<std::uint8_t> target(bytes);
    std::size_t r = 0;
    for (auto _ : state) {
        std::memcpy(target.data(), rows[r].data(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
        r = (r + 1) % rows.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_MemcpyRow)->Apply(Args);

// Both forms of every row, a byte at a time: the figure the encoder is measured against.
void BM_PlainEncodeRow(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(1));
    const auto rows =
        MakeRows(static_cast<int>(state.range(0)), bytes, static_cast<int>(state.range(2)));
    std::size_t r = 0;
    for (auto _ : state) {
        const auto& seed = rows[(r + rows.size() - 1) % rows.size()];
        auto m2 = plaincodec::Method2(rows[r].data(), bytes);
        auto m3 = plaincodec::Method3(rows[r].data(), seed.data(), bytes);
        benchmark::DoNotOptimize(m2.data());
        benchmark::DoNotOptimize(m3.data());
        r = (r + 1) % rows.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_PlainEncodeRow)->Apply(Args);

}  // namespace

BENCHMARK_MAIN();
