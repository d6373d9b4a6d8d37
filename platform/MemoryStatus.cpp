#include "platform/MemoryStatus.h"

#include <sys/sysinfo.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

namespace xomplatform {

namespace {

std::optional<std::uint64_t> ParseDecimal(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, value);
    if (r.ec != std::errc{} || r.ptr == text.data()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::uint64_t> ParseMemAvailable(std::string_view meminfo) {
    constexpr std::string_view key = "MemAvailable:";
    std::size_t at = 0;
    while ((at = meminfo.find(key, at)) != std::string_view::npos) {
        if (at == 0 || meminfo[at - 1] == '\n') break;
        at += key.size();
    }
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view rest = meminfo.substr(at + key.size());
    rest = rest.substr(0, rest.find('\n'));
    const auto kib = ParseDecimal(rest);
    if (!kib || rest.find("kB") == std::string_view::npos) return std::nullopt;
    if (*kib > std::numeric_limits<std::uint64_t>::max() / 1024) return std::nullopt;
    return *kib * 1024;
}

std::uint64_t AvailablePhysicalMemory() {
    if (const char* fixed = std::getenv("XOM_AVAILABLE_MEMORY")) {
        const std::string_view text(fixed);
        std::uint64_t value = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
        if (r.ec == std::errc{} && r.ptr == text.data() + text.size() && !text.empty())
            return value;
    }
    std::ifstream in("/proc/meminfo");
    if (in) {
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        if (const auto available = ParseMemAvailable(text)) return *available;
    }
    struct sysinfo info {};
    if (sysinfo(&info) == 0) return static_cast<std::uint64_t>(info.freeram) * info.mem_unit;
    return 0;
}

}  // namespace xomplatform
