#include "tools/xomplot/JobSizeLimit.h"

#include <limits>

namespace xomplot {
namespace {

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
    return a > std::numeric_limits<std::uint64_t>::max() - b
               ? std::numeric_limits<std::uint64_t>::max()
               : a + b;
}

std::uint64_t SaturatingMul(std::uint64_t a, std::uint64_t b) {
    return b != 0 && a > std::numeric_limits<std::uint64_t>::max() / b
               ? std::numeric_limits<std::uint64_t>::max()
               : a * b;
}

}  // namespace

std::uint64_t JobSizeLimit(std::uint64_t drawingFileBytes, const Drawing& drawing) {
    std::uint64_t limit = SaturatingMul(drawingFileBytes, kJobBytesPerDrawingByte);
    if (limit < kJobFloorBytes) limit = kJobFloorBytes;
    for (const DrawingAction& a : drawing.actions) {
        if (a.kind != ActionKind::Image || a.image.width <= 0 || a.image.height <= 0) continue;
        const std::uint64_t dots = SaturatingMul(static_cast<std::uint64_t>(a.image.width),
                                                 static_cast<std::uint64_t>(a.image.height));
        limit = SaturatingAdd(limit, SaturatingMul(dots, kJobBytesPerImageDot));
    }
    return limit;
}

std::wstring JobSizeLimitText(std::uint64_t limit, bool fromOption) {
    const std::uint64_t mb = (limit + (1ull << 20) - 1) >> 20;
    std::wstring text = L"Plot failed: the job would exceed " + std::to_wstring(mb) + L" MB, ";
    text += fromOption ? L"the limit of --max-job-mb"
                       : L"the limit for this drawing (--max-job-mb raises it)";
    return text;
}

}  // namespace xomplot
