#pragma once
// The memory status: how much physical memory is free for the plot to use. Raster bands are sized
// from it, so a job stream depends on it; XOM_AVAILABLE_MEMORY (bytes, decimal) fixes the value
// for reproducible jobs and tests.
#include <cstdint>
#include <optional>
#include <string_view>

namespace xomplatform {

// Available physical memory in bytes: XOM_AVAILABLE_MEMORY when it is set to a number, else the
// kernel's MemAvailable, else free RAM from sysinfo; 0 when none can be read.
std::uint64_t AvailablePhysicalMemory();

// The "MemAvailable:" value of a /proc/meminfo text in bytes; empty when absent or malformed.
std::optional<std::uint64_t> ParseMemAvailable(std::string_view meminfo);

}  // namespace xomplatform
