// PNG files named by drawings are outside input: the reader must refuse a bad file with a reason,
// keep no pixels of it, and never take memory for more pixels than its limit.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/xomplot/PngImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    xomplot::RgbaImage image;
    std::string error;
    if (!xomplot::DecodePng(data, size, image, error)) {
        if (error.empty() || !image.rgba.empty()) __builtin_trap();
        return 0;
    }
    const auto pixels = static_cast<std::uint64_t>(image.width) * image.height;
    if (pixels == 0 || pixels > xomplot::kMaxPngPixels || image.rgba.size() != pixels * 4)
        __builtin_trap();
    return 0;
}
