#pragma once
// The device's integer-coordinate image actions: 32-bit colour, 8-bit index and 1-bit images
// whose pixels the host hands over whole. Each is written as one PCL raster in the HP-GL/2
// stream: a move to the start corner, "TR0MC0\e%1A", the configure-image-data block when the
// job needs it, the palette, the raster start, the rows (each the shorter of methods 2 and 3),
// "\e*rC\e%1B", the merge mode and a fresh pen state.
//
// Rows run in the printer's direction: with the rotate flag (media longer than wide) from the
// top row, left to right, starting at corner 1; without it from the bottom row, right to left
// (the image turned by half a turn), starting at corner 2. device is the XOM_Driver that
// installed the action; nothing is drawn for an empty image or a stopped picture. An output
// error stops the image after its row and adds a diagnostic line; a cancel seen by the poll
// after the image ends the picture.
#include <cstdint>

#include "hdi/HT_Actions.h"

void XOM_plotter_draw_dci_rgb32_image(HT_Renderer_Data* device, const HT_Rendition& r,
                                      const HT_DCI_Point& corner1, const HT_DCI_Point& corner2,
                                      int row_bytes, const std::uint8_t* pixels);
void XOM_plotter_draw_dci_index8_image(HT_Renderer_Data* device, const HT_Rendition& r,
                                       const HT_DCI_Point& corner1, const HT_DCI_Point& corner2,
                                       int row_bytes, const std::uint8_t* pixels);
// flags bit 0: the host's bytes hold the first pixel in their highest bit (else the lowest);
// bit 1: index 0 is white and 1 black (else the reverse).
void XOM_plotter_draw_dci_bitonal_image(HT_Renderer_Data* device, const HT_Rendition& r,
                                        const HT_DCI_Point& corner1, const HT_DCI_Point& corner2,
                                        int row_bytes, const std::uint8_t* pixels,
                                        std::uint8_t flags);
