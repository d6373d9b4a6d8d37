#pragma once
// The outlines of a polyline whose width varies along it: each segment's two edges at half its
// width either side, the width running linearly from the segment's start width to its end width.
#include <vector>

#include "tools/xomplot/DxfDocument.h"

namespace xomplot::dxf {

struct TaperedSegment {
    std::vector<Point> centre;       // the segment (an arc for a bulge)
    std::vector<Point> left, right;  // its edges, empty for a segment without width
};

// Segments of a polyline with `widths` per vertex; neighbouring edges meet at their mitre.
std::vector<TaperedSegment> TaperedSegments(const Entity& polyline, double tolerance);

}  // namespace xomplot::dxf
