#pragma once
// The device's handlers for the host's drawing actions. Solid, unclipped lines, solid fills and
// round dots are written as HP-GL/2; clipped, patterned, large or non-circular primitives go back
// to the host's standard routines, which call these handlers again with simpler ones.
//
// device is always the XOM_Driver that installed the handler. Every handler returns at once
// once the picture is cancelled or its output failed; a user cancel seen by the poll after a
// primitive ends the picture from inside the handler.
#include <cstdint>

#include "hdi/HT_Actions.h"

class XOM_Driver;

void DrawDcPolyline(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                    const HT_DC_Point* points);
void DrawDciPolyline(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                     const HT_DCI_Point* points);
void DrawDcPolygon(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                   const HT_DC_Point* points, const HT_RGB* colour);
void DrawDciPolygon(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                    const HT_DCI_Point* points, const HT_RGB* colour);
void DrawDciPolytriangle(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                         const HT_DCI_Point* points);
void DrawDciDot(HT_Renderer_Data* device, const HT_Rendition& r, const HT_DCI_Point& point,
                const HT_RGB* colour);
void DrawDciEllipse(HT_Renderer_Data* device, const HT_Rendition& r, const HT_DCI_Point& centre,
                    const HT_DCI_Point& radii, float start, float end, const HT_RGB* colour);
void DrawDcImage(HT_Renderer_Data* device, const HT_Rendition& r, const HT_DC_Point& position,
                 const HT_Image& image);
void DrawDciImage(HT_Renderer_Data* device, const HT_Rendition& r, const HT_DCI_Point& position,
                  const HT_Image& image);
// Hatches a patterned face with lines a tenth of an inch apart (times the line pattern scale)
// through the host's polygon hatcher, which draws them with the polyline handlers.
void FillPatternPolygon(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                        const HT_DCI_Point* points);

// Fills the writer's wanted colour (RGB colour system) or pen index (mapped colour system) from
// the colour passed to a handler, or the rendition's when none is passed.
void SetDrawingColour(const XOM_Driver& device, const HT_Rendition& r, const HT_RGB* colour);

// A device coordinate rounded to the nearest dot: trunc(v + 0.5) for v >= 0, else
// trunc(v - 0.499999), so -2.5 gives -2. Values beyond int32 saturate; NaN gives 0.
std::int32_t RoundDcCoordinate(float v);
