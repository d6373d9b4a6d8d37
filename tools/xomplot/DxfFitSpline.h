#pragma once
// A spline given only by the points it passes through, as CAD programs draw it: a cubic B-spline
// that interpolates the fit points (chord-length parameters, the parameters themselves as inner
// knots) with the given end tangents, or tangents estimated from the first and last five points.
#include <vector>

#include "tools/xomplot/DxfDocument.h"

namespace xomplot::dxf {

struct CubicSpline {
    std::vector<Point> control;
    std::vector<double> knots;
};

// An end tangent of (0,0) is estimated. A closed spline runs back to its first point with one
// tangent at the seam. False when fewer than two distinct points remain.
bool InterpolateFitPoints(const std::vector<Point>& fit, Point start_tangent, Point end_tangent,
                          bool closed, CubicSpline& out);

}  // namespace xomplot::dxf
