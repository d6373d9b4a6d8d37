// End-to-end plots through xomplot's host (drawing file -> driver -> job file), and the preview
// of a large page. Figures: segments per second, job bytes beside the native PE size of the same
// outline, peak memory of a banded A0 preview.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "bench/BenchLinkedPrinter.h"
#include "tools/jobrender/JobRenderer.h"
#include "tools/jobrender/PngBandWriter.h"
#include "tools/xomplot/PlotRun.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Dir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "xom_plot_bench";
        fs::create_directories(d);
        setenv("XDG_DATA_HOME", d.c_str(), 1);  // the plot log of these plots stays here
        return d;
    }();
    return dir;
}

bool StartLinkedPrinter() {
    return xombench::StartLinkedPrinter(Dir() / "config", "127.0.0.93", "plot_bench");
}

bool Plot(const fs::path& drawing, const fs::path& job, const std::string& media = "ISO_A4") {
    if (!StartLinkedPrinter()) return false;
    xomplot::PlotOptions o;
    o.config_name = "bench";
    o.driver_path = std::string(XOM_BENCH_DRIVER_DIR) + "/xomq15.hdi";
    o.drawing_path = drawing.string();
    o.output_file = job.string();
    o.media = media;
    o.resolution = "600_DPI";
    o.color_mode = "Color";
    o.messages = nullptr;
    return xomplot::RunPlot(o).outcome == xomplot::PlotOutcome::Complete;
}

// 1,000,000 segments in polylines of 2-50 points and 100,000 filled quadrilaterals on ISO A4 at
// 600 dpi; `attrs` makes variants (a clip window, a dash pattern). Returns the segment count.
long long WriteSegmentsDrawing(const fs::path& path, long long segments, int polygons,
                               const std::string& attrs) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> len(2, 50), x(200, 4500), y(200, 6500), step(-40, 40);
    std::ofstream out(path);
    long long done = 0;
    while (done < segments) {
        const int n = len(rng);
        int px = x(rng), py = y(rng);
        out << "polyline weight=2 " << attrs << " :";
        for (int i = 0; i < n; ++i) {
            out << ' ' << px << ',' << py;
            px = std::clamp(px + step(rng), 100, 4600);
            py = std::clamp(py + step(rng), 100, 6600);
        }
        out << '\n';
        done += n - 1;
    }
    for (int i = 0; i < polygons; ++i) {
        const int px = x(rng), py = y(rng);
        out << "polygon color=" << (i % 255 + 1) << " : " << px << ',' << py << ' ' << px + 30
            << ',' << py << ' ' << px + 25 << ',' << py + 30 << ' ' << px + 3 << ',' << py + 20
            << '\n';
    }
    return done;
}

void RunSegments(benchmark::State& state, const std::string& name, long long segments, int polygons,
                 const std::string& attrs) {
    const fs::path drawing = Dir() / (name + ".drw"), job = Dir() / (name + ".job");
    const long long n = WriteSegmentsDrawing(drawing, segments, polygons, attrs);
    for (auto _ : state)
        if (!Plot(drawing, job)) state.SkipWithError("plot failed");
    state.counters["segments_per_s"] =
        benchmark::Counter(double(n) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["job_MB"] = double(fs::file_size(job)) / 1e6;
}

void BM_PlotMillionSegments(benchmark::State& state) {
    RunSegments(state, "segments", 1000000, 100000, "");
}
BENCHMARK(BM_PlotMillionSegments)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PlotClippedSegments(benchmark::State& state) {
    RunSegments(state, "clipped", 100000, 0, "clip=1000,1000,3500,5500");
}
BENCHMARK(BM_PlotClippedSegments)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PlotDashedSegments(benchmark::State& state) {
    RunSegments(state, "dashed", 100000, 0, "pattern=1");
}
BENCHMARK(BM_PlotDashedSegments)->Unit(benchmark::kMillisecond)->Iterations(1);

// Bytes of one PE polygon holding the outline: the measure of what the outline needs natively.
double NativePeBytes(const std::vector<std::pair<int, int>>& pts) {
    auto bytes = [](long long d) {
        unsigned long long v = d >= 0 ? 2ull * d : 2ull * -d + 1;
        int n = 1;
        while (v >= 64) v >>= 6, ++n;
        return n;
    };
    double total = 12;  // "PE<", ";PMPE", ";PM2FP"
    for (size_t i = 0; i < pts.size(); ++i) {
        const auto& a = pts[i];
        const auto& b = pts[(i + 1) % pts.size()];
        total += bytes(b.first - a.first) + bytes(b.second - a.second);
    }
    return total;
}

void PlotOutline(benchmark::State& state, const std::vector<std::pair<int, int>>& pts,
                 const std::string& name) {
    const fs::path drawing = Dir() / (name + ".drw"), job = Dir() / (name + ".job"),
                   empty = Dir() / "empty.drw", emptyJob = Dir() / "empty.job";
    {
        std::ofstream out(drawing);
        out << "polygon :";
        for (const auto& [x, y] : pts) out << ' ' << x << ',' << y;
        out << '\n';
        std::ofstream(empty) << "dot : 10,10\n";
    }
    Plot(empty, emptyJob);
    for (auto _ : state)
        if (!Plot(drawing, job)) state.SkipWithError("plot failed");
    const double outlineBytes = double(fs::file_size(job)) - double(fs::file_size(emptyJob));
    state.counters["outline_job_bytes"] = outlineBytes;
    state.counters["native_pe_bytes"] = NativePeBytes(pts);
    state.counters["ratio"] = outlineBytes / NativePeBytes(pts);
}

void BM_Plot20000PointOutline(benchmark::State& state) {
    std::vector<std::pair<int, int>> pts;
    for (int i = 0; i < 20000; ++i) {
        const double a = 2 * M_PI * i / 20000, r = 2000 + 150 * std::sin(40 * a);
        pts.emplace_back(int(std::lround(2350 + r * std::cos(a))),
                         int(std::lround(3350 + r * std::sin(a))));
    }
    PlotOutline(state, pts, "outline");
}
BENCHMARK(BM_Plot20000PointOutline)->Unit(benchmark::kMillisecond);

// A random curve that crosses itself: a circle run twice, carried round once by a second and
// bent by two smaller random ones (wound twice inside its inner loop), filled even-odd.
void BM_Plot20000PointSelfIntersectingOutline(benchmark::State& state) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int turns[] = {2, 1, -3, 5};
    const double amplitude[] = {0.5, 0.25 + 0.1 * unit(rng), 0.05 + 0.05 * unit(rng),
                                0.03 + 0.03 * unit(rng)};
    double phase[4], total = 0;
    for (int k = 0; k < 4; ++k) phase[k] = 2 * M_PI * unit(rng), total += amplitude[k];
    std::vector<std::pair<int, int>> pts;
    for (int i = 0; i < 20000; ++i) {
        const double a = 2 * M_PI * i / 20000;
        double x = 0, y = 0;
        for (int k = 0; k < 4; ++k) {
            x += amplitude[k] * std::cos(turns[k] * a + phase[k]);
            y += amplitude[k] * std::sin(turns[k] * a + phase[k]);
        }
        pts.emplace_back(int(std::lround(2350 + x / total * 2200)),
                         int(std::lround(3350 + y / total * 2200)));
    }
    PlotOutline(state, pts, "tangled");
}
BENCHMARK(BM_Plot20000PointSelfIntersectingOutline)->Unit(benchmark::kMillisecond);

// Uniformly random vertices over the page: millions of crossings, cut into cells.
void BM_Plot20000PointRandomOutline(benchmark::State& state) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> x(150, 4550), y(150, 6550);
    std::vector<std::pair<int, int>> pts;
    pts.reserve(20000);
    for (int i = 0; i < 20000; ++i) pts.emplace_back(x(rng), y(rng));
    PlotOutline(state, pts, "random");
}
BENCHMARK(BM_Plot20000PointRandomOutline)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PreviewA0At150Dpi(benchmark::State& state) {
    const fs::path job = Dir() / "a0.job";
    if (!Plot(fs::path(XOM_BENCH_EXAMPLE_DRAWING), job, "ISO_A0")) {
        state.SkipWithError("plot failed");
        return;
    }
    std::ifstream in(job, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    for (auto _ : state) {
        jobrender::RenderOptions o;
        o.dpi = 150;
        jobrender::PngBandWriter png((Dir() / "a0.png").string(), o.dpi);
        if (!jobrender::RenderJob(bytes, o, png).ok) state.SkipWithError("render failed");
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_PreviewA0At150Dpi)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
