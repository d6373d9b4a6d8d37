#pragma once
// Curves of a DXF drawing as polylines whose chords stray at most `tolerance` (drawing units)
// from the curve: arcs, bulged polyline segments, ellipses and splines.
#include <vector>

#include "tools/xomplot/DxfDocument.h"

namespace xomplot::dxf {

// Appends the points of a circular arc after its start point (degrees, counter-clockwise).
void AppendArc(Point centre, double radius, double start_rad, double sweep_rad, double tolerance,
               std::vector<Point>& out);
// Appends the segment from a to b with the bulge of a (tan of a quarter of the sweep), after a.
void AppendBulge(Point a, Point b, double bulge, double tolerance, std::vector<Point>& out);
// The outline of a polyline with bulges, closed when asked.
std::vector<Point> BulgedOutline(const std::vector<Vertex>& v, bool closed, double tolerance);
// An ellipse or elliptical arc from its parameters (radians).
std::vector<Point> EllipsePoints(Point centre, Point axis, double ratio, double start, double end,
                                 double tolerance);
// A (rational) B-spline from control points, weights and knots; the cubic through the fit points
// when there are no control points.
std::vector<Point> SplinePoints(const Entity& e, double tolerance);

}  // namespace xomplot::dxf
