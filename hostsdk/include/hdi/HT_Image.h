#pragma once
// A raster image handed to an image action. Pixel formats and the image row source of the
// general raster road arrive with the raster encoder.
#include <cstdint>
#include <vector>

inline constexpr int HT_IMAGE_KIND_BITONAL = 1;
inline constexpr int HT_IMAGE_KIND_INDEX8 = 8;
inline constexpr int HT_IMAGE_KIND_RGB32 = 32;
inline constexpr int HT_IMAGE_KIND_GENERAL = 9;

struct HT_Image {
    int kind = 0;
    int width = 0;
    int height = 0;
    int row_bytes = 0;
    const std::uint8_t* pixels = nullptr;  // null: no pixel data
};
