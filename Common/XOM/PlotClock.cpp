#include "Common/XOM/PlotClock.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace {
LocalTimeSource g_source;

// SOURCE_DATE_EPOCH (seconds since 1970, the reproducible-builds convention) pins the clock, so
// a host process can make its job streams reproducible; it is read as UTC.
bool PinnedTime(std::tm& out) {
    const char* text = std::getenv("SOURCE_DATE_EPOCH");
    if (text == nullptr || *text == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const long long seconds = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || seconds < 0) return false;
    const std::time_t t = static_cast<std::time_t>(seconds);
    return gmtime_r(&t, &out) != nullptr;
}

}  // namespace

std::tm PlotLocalTime() {
    if (g_source) return g_source();
    std::tm local{};
    if (PinnedTime(local)) return local;
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &local);
    return local;
}

LocalTimeSource SetPlotClock(LocalTimeSource source) {
    return std::exchange(g_source, std::move(source));
}
