#pragma once
// Turns a stroked path into filled rings (page pixels) with HP-GL/2's line ends and joins: one
// rectangle per segment, a cap at each open end, a join at each inner vertex. The rings all run
// the same way round, so filling them together with the non-zero rule paints their union.
#include <vector>

#include "tools/jobrender/BandCanvas.h"

namespace jobrender {

// "LA1" line ends and "LA2" line joins, with HP-GL/2's numbers.
enum class LineEnd { Butt = 1, Square = 2, Triangular = 3, Round = 4 };
enum class LineJoin {
    Mitered = 1,
    MiteredBeveled = 2,
    Triangular = 3,
    Round = 4,
    Beveled = 5,
    None = 6
};

struct StrokeStyle {
    double width = 1;  // pixels
    LineEnd end = LineEnd::Butt;
    LineJoin join = LineJoin::Mitered;
    double miterLimit = 5;  // "LA3": miter length over line width
};

// The path (`input`) in order; closed paths join their last point to the first. A path whose
// points all coincide is a dot: a disc for round ends, a square for square ones, a diamond for
// triangular ones, nothing for butt ends.
std::vector<Ring> StrokePath(const std::vector<PointF>& input, bool closed,
                             const StrokeStyle& style);

// A disc as a polygon fine enough that its outline stays within a quarter pixel of the circle.
Ring Disc(PointF centre, double radius);

}  // namespace jobrender
