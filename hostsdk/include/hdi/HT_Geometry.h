#pragma once
// Device-coordinate points as the host hands them to drawing actions: "DC" points are floats,
// "DCI" points integers. Both carry a z value that 2-D devices ignore.
#include <cstdint>

struct HT_DC_Point {
    float x;
    float y;
    float z;
};

struct HT_DCI_Point {
    std::int32_t x;
    std::int32_t y;
    std::int32_t z;
};

static_assert(sizeof(HT_DC_Point) == 12 && sizeof(HT_DCI_Point) == 12);

// A 24-bit colour as the host passes it: blue, green, red from the low byte, fourth byte unused.
struct HT_RGB {
    std::uint8_t b;
    std::uint8_t g;
    std::uint8_t r;
    std::uint8_t a;
};
static_assert(sizeof(HT_RGB) == 4);
