#pragma once
// How many bytes one plot may write. HP-GL/2 is compact, so a job far larger than its drawing
// means a fallback ran away (a pattern too fine, a fill the host scanned): xomplot gives such a
// plot up rather than fill a disk or a printer's queue.
#include <cstdint>
#include <string>

#include "tools/xomplot/Drawing.h"

namespace xomplot {

inline constexpr std::uint64_t kJobFloorBytes = 4ull << 20;  // what any drawing may need
inline constexpr std::uint64_t kJobBytesPerDrawingByte = 1000;
inline constexpr std::uint64_t kJobBytesPerImageDot = 4;
inline constexpr std::uint64_t kMaxJobLimitMb = 1000000;

// 4 MB, or 1,000 bytes for each byte of the drawing file when that is more, plus 4 bytes for each
// dot of every image's placed size; saturates instead of overflowing.
std::uint64_t JobSizeLimit(std::uint64_t drawingFileBytes, const Drawing& drawing);

// The error a plot ends with when its job would pass the limit (the status the driver records).
std::wstring JobSizeLimitText(std::uint64_t limit, bool fromOption);

}  // namespace xomplot
