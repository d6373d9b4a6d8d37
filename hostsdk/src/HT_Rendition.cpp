// Clip-region point test and the host's dash patterns.
#include "hdi/HT_Rendition.h"

#include <cstddef>

bool HT_Contour_Set_Data::point_inside(float x, float y) const {
    // Even-odd over all contours: count edge crossings of a ray towards +x.
    bool inside = false;
    for (const auto& contour : contours) {
        const size_t n = contour.size();
        if (n < 3) continue;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const double xi = contour[i].x, yi = contour[i].y;
            const double xj = contour[j].x, yj = contour[j].y;
            if ((yi > y) != (yj > y)) {
                const double cross = xj + (y - yj) * (xi - xj) / (yi - yj);
                if (x < cross) inside = !inside;
            }
        }
    }
    return inside;
}

std::vector<float> HT_Line_Pattern_Dashes(int pattern) {
    // On/off lengths in dots; the host scales them by the rendition's pattern scale.
    switch (pattern) {
        case 1:
            return {24.0f, 12.0f};  // dashed
        case 2:
            return {4.0f, 8.0f};  // dotted
        case 3:
            return {24.0f, 8.0f, 4.0f, 8.0f};  // dash dot
        case 4:
            return {48.0f, 12.0f};  // long dash
        case 5:
            return {24.0f, 8.0f, 4.0f, 8.0f, 4.0f, 8.0f};  // dash dot dot
        case 6:
            return {48.0f, 8.0f, 24.0f, 8.0f};  // long dash short dash
        default:
            return {};
    }
}
