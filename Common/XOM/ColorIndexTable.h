#pragma once

#include <array>
#include <cstdint>

// The colour index table: the host's 256 standard colour indexes as red, green, blue. It gives
// the colour pen model its initial pens and the virtual-pen modes their host palette.
struct RgbColor {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

extern const std::array<RgbColor, 256> kColorIndexTable;

// 0x00RRGGBB (blue in the low byte), the form the pen palette stores.
constexpr uint32_t PackColor(uint8_t red, uint8_t green, uint8_t blue) {
    return (uint32_t{red} << 16) | (uint32_t{green} << 8) | uint32_t{blue};
}
constexpr uint32_t PackColor(RgbColor c) {
    return PackColor(c.red, c.green, c.blue);
}
constexpr uint8_t RedOf(uint32_t packed) {
    return static_cast<uint8_t>(packed >> 16);
}
constexpr uint8_t GreenOf(uint32_t packed) {
    return static_cast<uint8_t>(packed >> 8);
}
constexpr uint8_t BlueOf(uint32_t packed) {
    return static_cast<uint8_t>(packed);
}

// Luminance (0..255) of a packed colour as the gray pen model weighs it.
constexpr int GrayLuminance(uint32_t packed) {
    return (2 * BlueOf(packed) + 5 * GreenOf(packed) + 9 * RedOf(packed)) >> 4;
}

// Gray pen for a luminance: 0 shares pen 1 (black) with the darkest gray, every other value is
// its own pen. Values outside 0..255 are clamped.
constexpr int GrayPen(int luminance) {
    if (luminance <= 1) return 1;
    return luminance > 255 ? 255 : luminance;
}
