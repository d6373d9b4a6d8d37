#pragma once
// The host's standard colour indexes and the 24-bit colours they stand for. The host fills a
// rendition's 24-bit colour from its colour index with this table, so a device drawing in RGB
// (colour system 1) shows the colour the drawing asked for by index.
#include "hdi/HT_Geometry.h"

// The colour of a host colour index; an index outside 0-255 gives the colour of index 7.
HT_RGB HT_Color_Index_To_RGB(int index);
