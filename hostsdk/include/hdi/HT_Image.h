#pragma once
// A raster image handed to an image action.
//
// Pixels are rows of row_bytes bytes, the top row first. By kind:
// - HT_IMAGE_KIND_RGB32: 4 bytes a pixel, blue, green, red and an ignored fourth byte;
// - HT_IMAGE_KIND_INDEX8: 1 byte a pixel, an index into the device's palette;
// - HT_IMAGE_KIND_BITONAL: 1 bit a pixel, rows padded to whole bytes; `flags` bit 0 set: the
//   first pixel is the byte's highest bit (else its lowest); bit 1 set: a 0 bit is white and a 1
//   bit black (else the reverse).
// - HT_IMAGE_KIND_GENERAL: an image of the general road, drawn from its row source.
#include <cstdint>
#include <vector>

inline constexpr int HT_IMAGE_KIND_BITONAL = 1;
inline constexpr int HT_IMAGE_KIND_INDEX8 = 8;
inline constexpr int HT_IMAGE_KIND_RGB32 = 32;
inline constexpr int HT_IMAGE_KIND_GENERAL = 9;

inline constexpr std::uint8_t HT_BITONAL_HIGH_BIT_FIRST = 1;
inline constexpr std::uint8_t HT_BITONAL_ZERO_IS_WHITE = 2;

struct HT_Image {
    int kind = 0;
    int width = 0;
    int height = 0;
    int row_bytes = 0;
    const std::uint8_t* pixels = nullptr;  // null: no pixel data
    std::uint8_t flags = 0;                // bitonal images: bit order and polarity
};
