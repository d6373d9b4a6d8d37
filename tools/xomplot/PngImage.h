#pragma once
// PNG files for the images of a drawing, read with libpng into 8-bit RGBA. PNG files are outside
// input: a truncated, corrupt or oversized file gives a clear error and no image.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace xomplot {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // rows top first, 4 bytes a pixel (red, green, blue, alpha)
};

// Images above this many pixels are refused before any pixel memory is taken.
inline constexpr std::uint64_t kMaxPngPixels = 64ull << 20;

bool DecodePng(const std::uint8_t* bytes, std::size_t length, RgbaImage& out, std::string& error);
bool ReadPng(const std::string& path, RgbaImage& out, std::string& error);

}  // namespace xomplot
