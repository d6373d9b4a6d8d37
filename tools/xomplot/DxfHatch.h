#pragma once
// The lines of a pattern-filled HATCH: each family of parallel pattern lines clipped to the
// hatch's loops (even-odd, so islands stay clear).
#include <cstddef>
#include <string>
#include <vector>

#include "tools/xomplot/DxfDocument.h"

namespace xomplot::dxf {

// What a hatch's lines had to leave out.
struct HatchShortfall {
    bool out_of_points = false;  // the lines stopped at the drawing's point budget
    int dense_families = 0;      // families of more lines than a sheet can take, not drawn
};

// Line segments (dashes) and single points (dots) in drawing units; dashes too small to show at
// `tolerance`, or too many for one hatch, are drawn as continuous lines. `points` counts what the
// drawing has so far and stops the lines at `max_points`; what is left out is told in shortfall.
std::vector<std::vector<Point>> HatchLines(const std::vector<std::vector<Point>>& loops,
                                           const std::vector<HatchPatternLine>& definition,
                                           const std::string& pattern, double angle_deg,
                                           double scale, double tolerance, std::size_t points,
                                           std::size_t max_points, HatchShortfall& shortfall);

}  // namespace xomplot::dxf
