#pragma once
// Splits a closed outline that may cross or touch itself into simple loops. Every crossing and
// every vertex that lies on another edge becomes a point of both edges, and the outline is cut
// into loops wherever it comes back to a point it has already passed. The winding numbers of the
// loops add up to the outline's, so the outline's even-odd region is the symmetric difference of
// the loops' regions.
#include <cstddef>
#include <vector>

#include "ScanFill.h"

namespace hostsdk {

// Loops of at least 3 points without a repeated point; loops that enclose nothing (spikes, back
// and forth strokes) are left out. False when the outline has more than `maxCrossings` crossings
// and touches, or a coordinate that is not finite; `loops` is then unspecified.
bool SplitIntoSimpleLoops(const Contour& outline, std::size_t maxCrossings,
                          std::vector<Contour>& loops);

}  // namespace hostsdk
