#pragma once

#include <cstdint>

#include "Common/XOM/PlotStreamState.h"

// Pen model set-up that the device performs at picture start and when the colour mode changes.

// Writer defaults of a new picture: merge flag, colour model (kPenModelUnset becomes the colour
// model, with its pens loaded), job not started and empty, wanted line attributes (weight 1,
// join 2, cap 2, solid, black, pen index 1), minimum weight 1, pen count 255, palette entry 0
// white, and per model: monochrome gets pen count 2 and an all-black palette; gray gets entry 1
// black and n = (n, n, n) for 2..255; the virtual-pen models set the virtual pens flag.
void ApplyWriterDefaults(PlotStreamState& state, bool mergeFlag, uint32_t colorModel);

// Colour mode "Color": pens 1..255 take the colour index table and the dynamic pen queue starts
// afresh. Does not change the colour model itself.
void LoadColorIndexPens(PlotStreamState& state);
