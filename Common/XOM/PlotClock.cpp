#include "Common/XOM/PlotClock.h"

#include <utility>

namespace {
LocalTimeSource g_source;
}  // namespace

std::tm PlotLocalTime() {
    if (g_source) return g_source();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

LocalTimeSource SetPlotClock(LocalTimeSource source) {
    return std::exchange(g_source, std::move(source));
}
