#pragma once
// HP-GL/2 line types ("LT"): the eight fixed patterns (1 to 8) and their adaptive forms (-1 to
// -8), each a sequence of pen-down and pen-up shares of the pattern length; a share of 0 is a dot.
// Line type 0 puts a dot at each point of a path.
#include <cstddef>
#include <vector>

#include "tools/jobrender/BandCanvas.h"

namespace jobrender {

struct DashedPath {
    std::vector<std::vector<PointF>> pieces;  // pen-down pieces; a dot is two equal points
    double phase = 0;                         // where the pattern stands at the path's end, 0..1
};

// Cuts a path (page pixels) into the pieces a line type draws. A fixed type starts `phase` into
// its pattern (the residue of the previous line) and reports where it ends; an adaptive type
// stretches the pattern so that each segment holds whole patterns, each starting afresh.
// `lineType` must lie in -8..8 and `patternLength` be above 0. No more than `maxPieces` pieces
// are made; false when the path would need more.
bool DashPath(const std::vector<PointF>& path, int lineType, double patternLength, double phase,
              std::size_t maxPieces, DashedPath& out);

}  // namespace jobrender
