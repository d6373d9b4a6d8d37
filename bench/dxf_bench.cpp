// A DXF drawing of 1,000,000 entities (lines, polylines, arcs and a few thousand texts) plotted
// end to end through xomplot's host, beside reading the file alone. Figures: time, and the
// process's peak resident memory after each (reading runs first, so its peak is its own).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "bench/BenchLinkedPrinter.h"
#include "tools/xomplot/DxfReader.h"
#include "tools/xomplot/PlotRun.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEntities = 1000000;
constexpr int kTexts = 5000;

double PeakMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// A plain writer of the groups the benchmark needs: the header and the entities section.
const fs::path& Drawing() {
    static const fs::path path = [] {
        const fs::path dir = fs::temp_directory_path() / "xom_dxf_bench";
        fs::create_directories(dir);
        setenv("XDG_DATA_HOME", dir.c_str(), 1);  // the plot log of these plots stays here
        fs::path p = dir / "million.dxf";
        std::FILE* f = std::fopen(p.c_str(), "w");
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> x(0, 280), y(0, 200), d(-3, 3), r(0.2, 4);
        std::fprintf(f,
                     "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$INSUNITS\n70\n4\n0\n"
                     "ENDSEC\n0\nSECTION\n2\nENTITIES\n");
        for (int i = 0; i < kEntities; ++i) {
            const double px = x(rng), py = y(rng);
            if (i < kTexts) {
                std::fprintf(f,
                             "0\nTEXT\n8\nTEXT\n10\n%.3f\n20\n%.3f\n30\n0\n40\n1.5\n1\nRoom %d\n",
                             px, py, i);
            } else if (i % 5 < 3) {
                std::fprintf(f,
                             "0\nLINE\n8\nWALLS\n62\n%d\n10\n%.3f\n20\n%.3f\n30\n0\n11\n%.3f\n21\n"
                             "%.3f\n31\n0\n",
                             i % 7 + 1, px, py, px + d(rng), py + d(rng));
            } else if (i % 5 == 3) {
                std::fprintf(f, "0\nLWPOLYLINE\n8\nFURNITURE\n90\n4\n70\n1\n");
                for (int k = 0; k < 4; ++k)
                    std::fprintf(f, "10\n%.3f\n20\n%.3f\n", px + d(rng), py + d(rng));
            } else {
                std::fprintf(
                    f, "0\nARC\n8\nDOORS\n10\n%.3f\n20\n%.3f\n30\n0\n40\n%.3f\n50\n0\n51\n90\n", px,
                    py, r(rng));
            }
        }
        std::fprintf(f, "0\nENDSEC\n0\nEOF\n");
        std::fclose(f);
        return p;
    }();
    return path;
}

bool StartLinkedPrinter(const fs::path& dir) {
    return xombench::StartLinkedPrinter(dir / "config", "127.0.0.96", "dxf_bench");
}

void BM_DxfReadOnly(benchmark::State& state) {
    const fs::path& path = Drawing();
    for (auto _ : state) {
        xomplot::dxf::Document doc;
        std::string error;
        if (!xomplot::dxf::ReadDxfFile(path.string(), doc, error))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(doc.entities.size());
    }
    state.counters["file_mb"] = static_cast<double>(fs::file_size(path)) / 1e6;
    state.counters["peak_rss_mb"] = PeakMb();
}
BENCHMARK(BM_DxfReadOnly)->Unit(benchmark::kSecond)->Iterations(1);

void BM_DxfPlotEndToEnd(benchmark::State& state) {
    const fs::path& path = Drawing();
    const fs::path job = path.parent_path() / "million.job";
    if (!StartLinkedPrinter(path.parent_path())) {
        state.SkipWithError("the linked printer's agent did not start");
        return;
    }
    for (auto _ : state) {
        xomplot::PlotOptions o;
        o.config_name = "bench";
        o.driver_path = std::string(XOM_BENCH_DRIVER_DIR) + "/xomq15.hdi";
        o.drawing_path = path.string();
        o.output_file = job.string();
        o.media = "ISO_A1";
        o.messages = nullptr;
        const xomplot::PlotResult result = xomplot::RunPlot(o);
        if (result.outcome != xomplot::PlotOutcome::Complete) state.SkipWithError("plot failed");
    }
    state.counters["job_mb"] = static_cast<double>(fs::file_size(job)) / 1e6;
    state.counters["peak_rss_mb"] = PeakMb();
}
BENCHMARK(BM_DxfPlotEndToEnd)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
