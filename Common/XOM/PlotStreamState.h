#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Common/XOM/DynamicPenQueue.h"

// Receives every byte of the job stream. Installed by the output channel at picture start; the
// bytes are only valid during the call. A null sender drops the bytes.
using ByteSender = void (*)(const char* bytes, std::size_t length);

// Pen models (the colour mode chooses one at picture start).
enum PenModel : uint32_t {
    kPenModelMonochrome = 0,
    kPenModelGray = 1,
    kPenModelColor = 3,
    kPenModelVirtualMono = 4,
    kPenModelVirtualColor = 5,
    // The value an unset colour model carries; picture start turns it into kPenModelColor.
    kPenModelUnset = 0xFFFFFFFFu,
};

// What the HP-GL/2 stream of the current job has told the printer, and what the next drawing
// wants. One process-wide instance (g_plotStream): one plot at a time on the host's thread, so
// it is not locked. Colours are 0x00RRGGBB (blue in the low byte).
struct PlotStreamState {
    // Page geometry, set by the device's establish.
    double mediaWidth = 0.0;     // inches
    double mediaLength = 0.0;    // inches
    double printableLeft = 0.0;  // inches from the media origin
    double printableRight = 0.0;
    double printableBottom = 0.0;
    double printableTop = 0.0;
    double inchesPerDot = 1.0 / 600.0;

    // PE coordinate state.
    uint8_t absoluteNext = 1;    // next coordinate carries "=" (absolute)
    int32_t lastRequestedX = 0;  // last point handed to the encoder, before offset and rotation
    int32_t lastRequestedY = 0;
    int32_t lastEncodedX = 0;  // last point after offset and rotation: base of relative deltas
    int32_t lastEncodedY = 0;
    int32_t offsetX = 0;  // printable origin in dots, computed at job start
    int32_t offsetY = 0;
    int32_t mediaWidthDots = 0;
    int32_t mediaLengthDots = 0;

    // What the next drawing wants (filled by the vector handlers).
    int32_t wantedLineWeight = 1;  // dots
    int32_t wantedLineJoin = 2;    // host join code
    int32_t wantedLineCap = 2;     // host cap code; -1 when the two ends differ
    int32_t wantedLineType = 1;    // always 1 (solid)
    uint32_t wantedColor = 0;      // 0x00RRGGBB
    int32_t wantedPenIndex = 1;    // host colour index, virtual pen models
    int32_t penCount = 255;        // value for "NP"
    int32_t minLineWeight = 1;     // dots; lines are never thinner

    // What was sent (attribute caches); the "none" values force the next command out.
    int32_t sentLineWeight = -1;
    int32_t sentLineJoin = -2;
    int32_t sentLineCap = -2;
    int32_t sentLineType = -2;
    uint32_t lastColorLookedUp = 0x77777777u;
    int32_t currentPen = -1;
    int32_t sentPenCount = -1;
    int32_t sentFillType = -2;

    // Pen model.
    uint32_t colorModel = kPenModelUnset;  // until a colour mode is applied
    DynamicPenQueue penQueue;
    std::array<uint8_t, 256> penDefined{};   // the pen's colour was sent in this job
    std::array<uint32_t, 256> penPalette{};  // 0x00RRGGBB per pen

    uint8_t rotate = 0;        // media longer than wide: coordinates turned a quarter
    uint8_t virtualPens = 0;   // printer's own pen table: no "PC", "LA", "LT"
    uint8_t mergeFlag = 0;     // transparency and merge on
    uint8_t jobStarted = 0;    // the opening block was sent
    uint8_t plotNotEmpty = 0;  // something was drawn

    ByteSender byteSender = nullptr;
    std::array<char, 96> formatBuffer{};  // scratch for one formatted command
    uint8_t peOpen = 0;                   // the stream is inside a "PE" command
    std::string jobPrefix;  // XML job ticket and PJL header, sent before the opening block
};

extern PlotStreamState g_plotStream;
