#pragma once
// Hand-written job streams for the renderer's tests: HP-GL/2 text and Polyline Encoded numbers
// built from the language's rules, not from the driver's writer.
#include <cstdint>
#include <string>

#include "tools/jobrender/JobRenderer.h"

namespace jobrender::testing {

// One PE number: sign in the lowest bit, base 64 digits (63-126), the last one 191-254; in the
// 7-bit form base 32 digits (63-94), the last one 95-126.
inline std::string PeNumber(std::int64_t v, bool sevenBit = false) {
    std::uint64_t u =
        v >= 0 ? 2 * static_cast<std::uint64_t>(v) : 2 * static_cast<std::uint64_t>(-v) + 1;
    const std::uint64_t base = sevenBit ? 32 : 64;
    const char last = sevenBit ? 95 : static_cast<char>(191);
    std::string s;
    while (u >= base) {
        s += static_cast<char>(63 + u % base);
        u /= base;
    }
    s += static_cast<char>(static_cast<unsigned char>(last) + u);
    return s;
}
inline std::string PePair(std::int64_t x, std::int64_t y, bool sevenBit = false) {
    return PeNumber(x, sevenBit) + PeNumber(y, sevenBit);
}

// A page of length x width plotter units in HP-GL/2 mode, no scaling. At 101.6 dpi one pixel is
// ten plotter units: (x, y) lies in column x / 10, row (length - y) / 10 for media wider than
// long.
inline std::string Page(int length = 1000, int width = 2000) {
    return "\x1b"
           "E\x1b%0BBP5,1;PS" +
           std::to_string(length) + "," + std::to_string(width) + ";IN;";
}
inline const char* kEnd =
    "PUSP0PG;\x1b%0A\x1b"
    "E";

inline RenderOptions TenPluPerPixel() {
    RenderOptions o;
    o.dpi = 101.6;
    return o;
}

inline int CountColour(const Image& img, Rgb c) {
    int n = 0;
    for (int r = 0; r < img.height; ++r)
        for (int col = 0; col < img.width; ++col) n += img.at(col, r) == c;
    return n;
}

}  // namespace jobrender::testing
