#pragma once
// What the host tells a drawing action about how to draw: clip region, line and face renditions,
// and the current colour.
#include <cstdint>
#include <vector>

#include "hdi/HT_Geometry.h"

// Clip region: a set of closed contours in device coordinates (even-odd rule).
class HT_Contour_Set_Data {
  public:
    std::vector<std::vector<HT_DC_Point>> contours;
    bool point_inside(float x, float y) const;
};

// Host cap and join codes.
inline constexpr int HT_CAP_BUTT = 0;
inline constexpr int HT_CAP_SQUARE = 1;
inline constexpr int HT_CAP_ROUND = 2;
inline constexpr int HT_CAP_TRIANGLE = 3;
inline constexpr int HT_JOIN_MITER = 0;
inline constexpr int HT_JOIN_BEVEL = 1;
inline constexpr int HT_JOIN_ROUND = 2;
inline constexpr int HT_JOIN_DIAMOND = 3;

struct HT_Line_Rendition {
    // 0 solid; other values name the host's dash patterns (see HT_Line_Pattern_Dashes).
    int pattern = 0;
    int start_cap = HT_CAP_ROUND;
    int end_cap = HT_CAP_ROUND;
    int join = HT_JOIN_ROUND;
    int weight = 1;  // dots
    float pattern_scale = 1.0f;
};

inline constexpr int HT_FACE_PATTERN_SOLID = 64;

struct HT_Face_Rendition {
    int pattern = HT_FACE_PATTERN_SOLID;
};

struct HT_Color_Rendition {
    int index = 7;           // host colour index 0-255 (out-of-range values are possible)
    HT_RGB rgb{0, 0, 0, 0};  // 24-bit colour
};

struct HT_Rendition {
    const HT_Contour_Set_Data* clip = nullptr;  // null: no clip region
    HT_Line_Rendition line;
    HT_Face_Rendition face;
    HT_Color_Rendition color;
};

// Dash lengths (in dots before pattern scale) of the host's line patterns; empty for solid or
// unknown patterns.
std::vector<float> HT_Line_Pattern_Dashes(int pattern);
