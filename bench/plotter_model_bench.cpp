// Cost of the driver's plotter definition, which every plot's configure makes: identifying the
// driver reads its DRC data (the build's own file), then the part objects are made.
#include <benchmark/benchmark.h>

#include "Common/XOM/DriverApp.h"
#include "Common/xompldef/XomPlotterDefinition.h"

namespace {

void BM_PlotterDefinition(benchmark::State& state) {
    theApp().setDriverPath(XOM_BENCH_DRIVER_DIR "/xomq15.hdi");
    SPMP<HT_Error_Handler> handler(new HT_Error_Handler);
    for (auto _ : state) {
        SPMP<HT_XOM_Plotter_Definition> def(new HT_XOM_Plotter_Definition(handler.get(), nullptr));
        benchmark::DoNotOptimize(def->get_meta_capabilities());
    }
    theApp().setDriverPath({});
}
BENCHMARK(BM_PlotterDefinition)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
