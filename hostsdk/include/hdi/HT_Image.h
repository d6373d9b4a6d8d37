#pragma once
// A raster image handed to an image action.
//
// Pixels are rows of row_bytes bytes, the top row first. By kind:
// - HT_IMAGE_KIND_RGB32: 4 bytes a pixel, blue, green, red and an ignored fourth byte;
// - HT_IMAGE_KIND_INDEX8: 1 byte a pixel, an index into the device's palette;
// - HT_IMAGE_KIND_BITONAL: 1 bit a pixel, rows padded to whole bytes; `flags` bit 0 set: the
//   first pixel is the byte's highest bit (else its lowest); bit 1 set: a 0 bit is white and a 1
//   bit black (else the reverse).
// - HT_IMAGE_KIND_GENERAL: an image of the general road, drawn from its row source over the
//   destination rectangle dest_width x dest_height dots; width and height are the source's
//   size. pixel_format tells what the image holds: 0 one byte a pixel (0 background, 1 white,
//   other the foreground colour), 1 or 2 mapped (index or gray) with bit_depth bits a pixel, 7
//   RGB, 8 RGBA, below 0 a format with alpha of the host's own. bitonal marks a two-level image,
//   transparent one whose background must let the page show through.
#include <cstdint>
#include <vector>

class HT_Image_Row_Source;

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
    // General-road images.
    HT_Image_Row_Source* source = nullptr;  // null: no pixel data
    int pixel_format = 7;
    int bit_depth = 24;
    bool bitonal = false;
    bool transparent = false;
    int dest_width = 0;
    int dest_height = 0;
};

inline constexpr int HT_PIXEL_FORMAT_CLASS = 0;
inline constexpr int HT_PIXEL_FORMAT_INDEX = 1;
inline constexpr int HT_PIXEL_FORMAT_GRAY = 2;
inline constexpr int HT_PIXEL_FORMAT_RGB = 7;
inline constexpr int HT_PIXEL_FORMAT_RGBA = 8;
