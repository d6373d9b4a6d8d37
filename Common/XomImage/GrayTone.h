#pragma once
// The raster tone curve and luminance. A tone maps an 8-bit gray level through the settings'
// RasterGamma and RasterIntensity; at gamma 1 and intensity 100 it is the identity.
#include <array>
#include <cstdint>

namespace xomimage {

using ToneTable = std::array<std::uint8_t, 256>;

// tone(i) for every i. The general road stores a result of 0 as 1 (forGeneralRoad).
ToneTable BuildToneTable(double gamma, int intensityPercent, bool forGeneralRoad = false);

// (2 * blue + 5 * green + 9 * red) >> 4.
constexpr std::uint8_t Luminance(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return static_cast<std::uint8_t>((2 * blue + 5 * green + 9 * red) >> 4);
}

}  // namespace xomimage
