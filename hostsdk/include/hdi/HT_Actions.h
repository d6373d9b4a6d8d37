#pragma once
// The device's table of drawing actions. Each action names its owner, its handler, a zero word and
// an enabled flag; the host calls an enabled handler, otherwise its own standard routine.
#include <cstdint>

#include "hdi/HT_Geometry.h"
#include "hdi/HT_Image.h"
#include "hdi/HT_Rendition.h"

class HT_Renderer_Data;

// colour: the colour a polygon, dot or ellipse is filled with; null means "use the rendition's".
using HD_DC_Polyline_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                       const HT_DC_Point* points);
using HD_DCI_Polyline_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                        const HT_DCI_Point* points);
using HD_DC_Polygon_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                      const HT_DC_Point* points, const HT_RGB* colour);
using HD_DCI_Polygon_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                       const HT_DCI_Point* points, const HT_RGB* colour);
using HD_DCI_Polytriangle_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r,
                                            int count, const HT_DCI_Point* points);
using HD_DCI_Dot_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r,
                                   const HT_DCI_Point& point, const HT_RGB* colour);
// Angles in radians; a full ellipse runs from start to start + 2 pi.
using HD_DCI_Ellipse_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r,
                                       const HT_DCI_Point& centre, const HT_DCI_Point& radii,
                                       float start, float end, const HT_RGB* colour);
// An elliptical arc's outline, counter-clockwise from start to end (through 0 when end is the
// smaller); a sweep of a full turn or more is the whole ellipse, drawn once.
using HD_DCI_Elliptical_Arc_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r,
                                              const HT_DCI_Point& centre, const HT_DCI_Point& radii,
                                              float start, float end);
using HD_DC_Image_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r,
                                    const HT_DC_Point& position, const HT_Image& image);
using HD_DCI_Image_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r,
                                     const HT_DCI_Point& position, const HT_Image& image);
// Integer-coordinate raster images: corner 1 is the top-left pixel (smaller x, larger y), corner
// 2 the bottom-right one; the image has x2 - x1 + 1 columns and y1 - y2 + 1 rows of row_bytes
// bytes, the top row first (pixel layouts in HT_Image.h).
using HD_DCI_Pixel_Image_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r,
                                           const HT_DCI_Point& corner1, const HT_DCI_Point& corner2,
                                           int row_bytes, const std::uint8_t* pixels);
using HD_DCI_Bitonal_Image_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r,
                                             const HT_DCI_Point& corner1,
                                             const HT_DCI_Point& corner2, int row_bytes,
                                             const std::uint8_t* pixels, std::uint8_t flags);
// Device-coordinate raster images: the image's pixels stretched over the rectangle between the
// two corners (corner 1 top-left, corner 2 bottom-right).
using HD_DC_Raster_Image_Action = void (*)(HT_Renderer_Data* device, const HT_Rendition& r,
                                           const HT_DC_Point& corner1, const HT_DC_Point& corner2,
                                           const HT_Image& image);
using HD_Nothing_Action = void (*)(HT_Renderer_Data* device);

template <class Handler>
struct HT_Action {
    HT_Renderer_Data* owner = nullptr;
    Handler handler = nullptr;
    std::uint32_t zero = 0;
    bool enabled = false;

    void set(HT_Renderer_Data* o, Handler h) {
        owner = o;
        handler = h;
        zero = 0;
        enabled = h != nullptr;
    }
};

struct HT_Action_Table {
    HT_Action<HD_DC_Polyline_Action> draw_dc_polyline;
    HT_Action<HD_DC_Polyline_Action> draw_dc_colorized_polyline;
    HT_Action<HD_DCI_Polyline_Action> draw_dci_polyline;
    HT_Action<HD_DCI_Polyline_Action> draw_dci_colorized_polyline;
    HT_Action<HD_DC_Polygon_Action> draw_dc_polygon;
    HT_Action<HD_DCI_Polygon_Action> draw_dci_polygon;
    HT_Action<HD_DCI_Polytriangle_Action> draw_dci_polytriangle;
    HT_Action<HD_DCI_Dot_Action> draw_dci_dot;
    HT_Action<HD_DCI_Ellipse_Action> draw_dci_ellipse;
    HT_Action<HD_DCI_Elliptical_Arc_Action> draw_dci_elliptical_arc;
    HT_Action<HD_DC_Image_Action> draw_dc_image;
    HT_Action<HD_DCI_Image_Action> draw_dci_image;
    HT_Action<HD_DC_Raster_Image_Action> draw_dc_bitonal_image;
    HT_Action<HD_DC_Raster_Image_Action> draw_dc_index8_image;
    HT_Action<HD_DC_Raster_Image_Action> draw_dc_rgb32_image;
    HT_Action<HD_DCI_Bitonal_Image_Action> draw_dci_bitonal_image;
    HT_Action<HD_DCI_Pixel_Image_Action> draw_dci_index8_image;
    HT_Action<HD_DCI_Pixel_Image_Action> draw_dci_rgb32_image;
    HT_Action<HD_Nothing_Action> nothing;
};

// The host's standard routines: what the host does for an action that the device leaves to it, and
// what a device handler calls for what it does not write itself. They clip, dash, tessellate and
// hatch, then call the device's enabled actions again with simpler primitives (solid, unclipped
// polylines; unclipped polygons of at most 1024 points; or horizontal spans).
void HD_Standard_Draw_DC_Polyline(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                  const HT_DC_Point* points);
void HD_Standard_Draw_DCI_Polyline(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                   const HT_DCI_Point* points);
void HD_Standard_Draw_DC_Polygon(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                 const HT_DC_Point* points, const HT_RGB* colour);
void HD_Standard_Draw_DCI_Polygon(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                  const HT_DCI_Point* points, const HT_RGB* colour);
void HD_Standard_Draw_DCI_Polytriangle(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                       const HT_DCI_Point* points);
void HD_Standard_Draw_DCI_Ellipse(HT_Renderer_Data* device, const HT_Rendition& r,
                                  const HT_DCI_Point& centre, const HT_DCI_Point& radii,
                                  float start, float end, const HT_RGB* colour);
void HD_Standard_Draw_DCI_Elliptical_Arc(HT_Renderer_Data* device, const HT_Rendition& r,
                                         const HT_DCI_Point& centre, const HT_DCI_Point& radii,
                                         float start, float end);
// Images: an RGB32, index-8 or bitonal image with pixels is drawn 1:1 with its top-left pixel at
// `position` through the device's integer-coordinate image action of its kind. What the host
// cannot draw (another kind, no pixels, no such action) is reported as error 90 and counted on
// the device (HT_Renderer_Data::undrawn_primitives).
void HD_Standard_Draw_DCI_Image(HT_Renderer_Data* device, const HT_Rendition& r,
                                const HT_DCI_Point& position, const HT_Image& image);
// Device-coordinate images: the corners are rounded to dots, the pixels resampled (nearest
// pixel) to the rectangle they span, and the result handed to the device's integer-coordinate
// image action of the same kind.
void HD_Standard_Draw_DC_Bitonal_Image(HT_Renderer_Data* device, const HT_Rendition& r,
                                       const HT_DC_Point& corner1, const HT_DC_Point& corner2,
                                       const HT_Image& image);
void HD_Standard_Draw_DC_Index8_Image(HT_Renderer_Data* device, const HT_Rendition& r,
                                      const HT_DC_Point& corner1, const HT_DC_Point& corner2,
                                      const HT_Image& image);
void HD_Standard_Draw_DC_RGB32_Image(HT_Renderer_Data* device, const HT_Rendition& r,
                                     const HT_DC_Point& corner1, const HT_DC_Point& corner2,
                                     const HT_Image& image);
// Hatches a polygon with lines `spacing` dots apart (mode 1: parallel lines; horizontal when
// `horizontal` is true, else vertical), drawn through the device's polyline action.
void HD_Fill_2DI_Polygon(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                         const HT_DCI_Point* points, int mode, int spacing, bool horizontal,
                         int reserved);
