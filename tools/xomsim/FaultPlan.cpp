#include "tools/xomsim/FaultPlan.h"

#include <algorithm>
#include <charconv>

namespace xomsim {
namespace {

bool ParseCount(const std::string& text, std::uint64_t& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return !text.empty() && ec == std::errc() && ptr == end;
}

}  // namespace

std::optional<std::uint64_t> FaultPlan::limit() const {
    std::optional<std::uint64_t> least;
    for (const auto& n : {closeAfter, resetAfter, stopReadingAfter})
        if (n && (!least || *n < *least)) least = n;
    return least;
}

bool AddFault(FaultPlan& plan, const std::string& text, std::string& error) {
    if (text == "refuse") {
        plan.refuse = true;
        return true;
    }
    if (text == "never-read") {
        plan.stopReadingAfter = 0;
        return true;
    }
    const std::size_t eq = text.find('=');
    const std::string name = text.substr(0, eq);
    std::uint64_t n = 0;
    if (eq == std::string::npos || !ParseCount(text.substr(eq + 1), n)) {
        error = "bad fault '" + text + "' (" + FaultModesHelp() + ")";
        return false;
    }
    if (name == "close-after") {
        plan.closeAfter = n;
    } else if (name == "reset-after") {
        plan.resetAfter = n;
    } else if (name == "stop-reading-after") {
        plan.stopReadingAfter = n;
    } else if (name == "rate" && n > 0) {
        plan.bytesPerSecond = n;
    } else {
        error = "bad fault '" + text + "' (" + FaultModesHelp() + ")";
        return false;
    }
    return true;
}

std::string FaultModesHelp() {
    return "refuse, close-after=N, reset-after=N, rate=BYTES_PER_SECOND, stop-reading-after=N, "
           "never-read";
}

}  // namespace xomsim
