#pragma once
// Hands a drawing's image to the device the way a host does: rgb32, index8 and bitonal images as
// device-coordinate images over their rectangle (the host's standard routine resamples them to
// dots and calls the device's integer-coordinate action), general-road images through the
// device's image action. Pixels come from the image's PNG.
#include "hdi/HT_Plotter_Device_Data.h"
#include "tools/xomplot/Drawing.h"

namespace xomplot {

void DrawImage(HT_Plotter_Device_Data& device, const DrawingAction& action);

// The host's pixel conversions from 8-bit RGBA, exposed for tests.
std::vector<std::uint8_t> ToRgb32(const RgbaImage& png);  // blue, green, red, 0
std::vector<std::uint8_t> ToBitonal(const RgbaImage& png, int threshold,
                                    int& rowBytes);  // high bit first, a 1 is ink
// Nearest entry of the palette (squared RGB distance, lowest index on a tie); transparent
// pixels take the entry nearest white.
std::vector<std::uint8_t> ToIndex8(const RgbaImage& png, const HT_Palette& palette);

}  // namespace xomplot
