#pragma once
// Cuts an outline that crosses itself too often to be resolved into simple pieces into pieces the
// device can fill whole. Each piece is the outline clipped to one cell of a box halved until the
// piece has few enough points. Clipping a closed outline to a box keeps the winding number of every
// point inside the box, so the pieces, each filled even-odd, tile the outline's even-odd region;
// no crossing is ever computed, so the cost grows with the points the pieces hold, not with the
// square of the outline's.
#include <cstddef>
#include <vector>

#include "ScanFill.h"

namespace hostsdk {

struct CellBox {
    double x0, y0, x1, y1;
};

// The outline clipped to `box` (Sutherland-Hodgman); points of the box's edges that lie between
// two others on the same edge are left out, since they add no area.
Contour ClipToBox(const Contour& outline, const CellBox& box);

struct CellTiles {
    std::vector<Contour> pieces;  // at most maxPoints points each
    // Cells a dot wide and high that still hold more than maxPoints points (many edges through
    // one spot), each its outline clipped to the cell: the caller scans these.
    std::vector<Contour> dense;
};

CellTiles TileByCells(const Contour& outline, const CellBox& box, std::size_t maxPoints);

}  // namespace hostsdk
