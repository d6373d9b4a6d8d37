// Throughput of the HP-GL/2 writer's coordinate path: random-walk polylines (steps up to +-50
// dots, as hatching and tessellated curves produce) through DrawPolyline into a sink that
// discards the bytes, beside a plain copy of the same number of output bytes.
// The benchmark loops' unused "_" is the library's idiom, hence the NOLINTs on them.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "Common/XOM/HpglWriter.h"
#include "Common/XOM/PenModel.h"

namespace {

std::size_t g_sinkBytes = 0;

void DiscardBytes(const char* bytes, std::size_t length) {
    benchmark::DoNotOptimize(bytes);
    g_sinkBytes += length;
}

constexpr int kPolylines = 256;
constexpr int kPointsPerPolyline = 1024;

struct Walks {
    std::vector<std::vector<DciPoint>> polylines;
    std::size_t points = 0;
};

const Walks& RandomWalks() {
    static const Walks walks = [] {
        Walks w;
        std::mt19937 random(20240611);
        std::uniform_int_distribution<int32_t> step(-50, 50);
        std::uniform_int_distribution<int32_t> start(0, 20000);
        for (int i = 0; i < kPolylines; ++i) {
            std::vector<DciPoint> line(kPointsPerPolyline);
            DciPoint at{start(random), start(random), 0};
            for (DciPoint& p : line) {
                p = at;
                at.x += step(random);
                at.y += step(random);
            }
            w.points += line.size();
            w.polylines.push_back(std::move(line));
        }
        return w;
    }();
    return walks;
}

PlotStreamState MakeState(bool rotate) {
    PlotStreamState state;
    state.mediaWidth = rotate ? 24.0 : 36.0;
    state.mediaLength = rotate ? 36.0 : 24.0;
    state.printableLeft = 0.2;
    state.printableBottom = 0.2;
    state.inchesPerDot = 1.0 / 600.0;
    state.rotate = rotate ? 1 : 0;
    state.byteSender = DiscardBytes;
    LoadColorIndexPens(state);
    ApplyWriterDefaults(state, false, kPenModelColor);
    BeginHpglJob(state);
    return state;
}

void BM_DrawPolylineRandomWalk(benchmark::State& bench) {
    const Walks& walks = RandomWalks();
    PlotStreamState state = MakeState(bench.range(0) != 0);
    g_sinkBytes = 0;
    for (auto _ : bench) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        for (const auto& line : walks.polylines) {
            DrawPolyline(state, static_cast<int32_t>(line.size()), line.data());
        }
    }
    const double points =
        static_cast<double>(walks.points) * static_cast<double>(bench.iterations());
    bench.counters["points_per_s"] = benchmark::Counter(points, benchmark::Counter::kIsRate);
    bench.counters["bytes_per_point"] = static_cast<double>(g_sinkBytes) / points;
    bench.SetBytesProcessed(static_cast<int64_t>(g_sinkBytes));
}
BENCHMARK(BM_DrawPolylineRandomWalk)->ArgName("rotate")->Arg(0)->Arg(1);

// The floor: copying as many bytes as the writer produces for the same points.
void BM_MemcpyOfOutputBytes(benchmark::State& bench) {
    const Walks& walks = RandomWalks();
    PlotStreamState state = MakeState(false);
    g_sinkBytes = 0;
    for (const auto& line : walks.polylines) {
        DrawPolyline(state, static_cast<int32_t>(line.size()), line.data());
    }
    const std::size_t outputBytes = g_sinkBytes;
    std::vector<char> source(outputBytes, 'x');
    std::vector<char> target(8192);
    for (auto _ : bench) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        for (std::size_t done = 0; done < outputBytes; done += target.size()) {
            const std::size_t n = std::min(target.size(), outputBytes - done);
            std::memcpy(target.data(), source.data() + done, n);
            benchmark::ClobberMemory();
        }
    }
    const double points =
        static_cast<double>(walks.points) * static_cast<double>(bench.iterations());
    bench.counters["points_per_s"] = benchmark::Counter(points, benchmark::Counter::kIsRate);
    bench.counters["bytes_per_point"] =
        static_cast<double>(outputBytes) / static_cast<double>(walks.points);
    bench.SetBytesProcessed(static_cast<int64_t>(outputBytes) * bench.iterations());
}
BENCHMARK(BM_MemcpyOfOutputBytes);

}  // namespace

BENCHMARK_MAIN();
