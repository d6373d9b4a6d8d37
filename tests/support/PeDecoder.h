#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/HpglTokenizer.h"

// Decodes the Polyline Encoded ("PE") coordinates of an HP-GL/2 stream back into pen moves in
// the drawing's device dots, undoing the writer's page offsets and quarter turn, so tests can
// compare what the printer would draw with what was asked for.

// How the writer placed the page: printable-area offsets in dots and, for media longer than
// wide, the quarter turn (x, y) -> (media length in dots - (y + offset y), x + offset x).
struct PeFrame {
    bool rotate = false;
    int64_t mediaLengthDots = 0;
    int64_t offsetX = 0;
    int64_t offsetY = 0;
};

struct PePoint {
    int64_t x = 0;
    int64_t y = 0;
    bool penDown = true;
    bool absolute = false;   // carried the "=" flag
    bool inPolygon = false;  // inside polygon mode (between "PM0" and "PM2")
    bool operator==(const PePoint&) const = default;
};

struct PeDecodeResult {
    bool ok = true;
    std::string error;                   // empty when ok
    std::size_t errorOffset = 0;         // in the stream
    std::vector<PePoint> points;         // in drawing coordinates (frame undone)
    std::vector<PePoint> printerPoints;  // as the printer sees them (frame applied)
    bool peOpenAtEnd = false;            // the stream ended inside a PE command
};

// Decodes every PE command of the stream. Pen position carries over from one PE command to the
// next, as on the printer; the first relative coordinate starts from (0, 0).
PeDecodeResult DecodePeStream(std::string_view stream, const PeFrame& frame = {});

// The strokes of a decoded stream: each run of pen-down points with the pen-up point before it.
// Runs of one point stand for a dot.
std::vector<std::vector<PePoint>> SplitStrokes(const std::vector<PePoint>& points);
