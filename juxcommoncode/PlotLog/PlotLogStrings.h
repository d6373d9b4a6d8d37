#pragma once
// Labels of the plot log's text dump and view. The texts live in the driver's string table, which
// this library cannot reach; callers pass a loader, and the built-in English texts serve when none
// is given.
#include <functional>
#include <string>

namespace JuxNetwork {

// Returns the string-table text for the number (empty when it has none).
using StringLoader = std::function<std::wstring(unsigned id)>;

inline constexpr unsigned kIdsPrinter = 240;
inline constexpr unsigned kIdsRecentPlotLog = 287;
inline constexpr unsigned kIdsDrawing = 288;
inline constexpr unsigned kIdsByteCount = 289;
inline constexpr unsigned kIdsDateAndTime = 290;
inline constexpr unsigned kIdsDestination = 291;
inline constexpr unsigned kIdsStatus = 292;

// The English texts of the numbers above; empty for any other number.
std::wstring DefaultPlotLogString(unsigned id);

// loader when it is set, else DefaultPlotLogString.
std::wstring LoadPlotLogString(const StringLoader& loader, unsigned id);

}  // namespace JuxNetwork
