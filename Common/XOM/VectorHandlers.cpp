#include "Common/XOM/VectorHandlers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>
#include <new>

#include "Common/XOM/ColorIndexTable.h"
#include "Common/XOM/DciPoint.h"
#include "Common/XOM/HpglWriter.h"
#include "Common/XOM/XomDriver.h"
#include "Common/XomImage/GeneralRaster.h"
#include "platform/Saturate.h"

namespace {

// The host's integer points are handed to the writer as they are.
static_assert(sizeof(HT_DCI_Point) == sizeof(DciPoint));
static_assert(offsetof(HT_DCI_Point, x) == offsetof(DciPoint, x) &&
              offsetof(HT_DCI_Point, y) == offsetof(DciPoint, y) &&
              offsetof(HT_DCI_Point, z) == offsetof(DciPoint, z));

const DciPoint* AsWriterPoints(const HT_DCI_Point* points) {
    return reinterpret_cast<const DciPoint*>(points);
}
const DciPoint& AsWriterPoint(const HT_DCI_Point& point) {
    return *reinterpret_cast<const DciPoint*>(&point);
}

// Polygons above this many points are left to the host.
constexpr int kMaxDirectPolygonPoints = 1024;
// The host's single-precision 2 pi, which a full ellipse spans.
constexpr double kFullTurn = 6.2831854820251465;

// The device behind a handler call; null for a call that is not ours or a picture that has
// stopped drawing.
XOM_Driver* ActiveDevice(HT_Renderer_Data* device) {
    auto* d = dynamic_cast<XOM_Driver*>(device);
    return d != nullptr && !d->drawing_stopped() ? d : nullptr;
}

// After a primitive: a user cancel ends the picture here. Returns true when it did.
bool CancelledAfterPrimitive(XOM_Driver& d) {
    if (!d.poll_cancel()) return false;
    d.cancel_picture();
    return true;
}

std::unique_ptr<HT_DCI_Point[]> ToDci(int count, const HT_DC_Point* points) {
    std::unique_ptr<HT_DCI_Point[]> out(new (std::nothrow)
                                            HT_DCI_Point[static_cast<std::size_t>(count)]);
    if (!out) return out;
    for (int i = 0; i < count; ++i) {
        out[i] = {RoundDcCoordinate(points[i].x), RoundDcCoordinate(points[i].y),
                  RoundDcCoordinate(points[i].z)};
    }
    return out;
}

std::unique_ptr<HT_DC_Point[]> ToDc(int count, const HT_DCI_Point* points) {
    std::unique_ptr<HT_DC_Point[]> out(new (std::nothrow)
                                           HT_DC_Point[static_cast<std::size_t>(count)]);
    if (!out) return out;
    for (int i = 0; i < count; ++i) {
        out[i] = {static_cast<float>(points[i].x), static_cast<float>(points[i].y),
                  static_cast<float>(points[i].z)};
    }
    return out;
}

void SetLineAttributes(const HT_Rendition& r) {
    g_plotStream.wantedLineWeight = r.line.weight;
    g_plotStream.wantedLineCap = r.line.start_cap == r.line.end_cap ? r.line.start_cap : -1;
    g_plotStream.wantedLineJoin = r.line.join;
}

}  // namespace

std::int32_t RoundDcCoordinate(float v) {
    const double rounded = v >= 0 ? std::trunc(static_cast<double>(v) + 0.5)
                                  : std::trunc(static_cast<double>(v) - 0.499999);
    return xomplatform::SaturateToInt32(rounded);
}

void SetDrawingColour(const XOM_Driver& device, const HT_Rendition& r, const HT_RGB* colour) {
    switch (device.color_system()) {
        case HT_COLOR_SYSTEM_MAPPED: {
            const int index = r.color.index;
            g_plotStream.wantedPenIndex = index >= 0 && index <= 255 ? index : 1;
            break;
        }
        case HT_COLOR_SYSTEM_RGB: {
            const HT_RGB& c = colour != nullptr ? *colour : r.color.rgb;
            g_plotStream.wantedColor = PackColor(c.r, c.g, c.b);
            break;
        }
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------------
// Lines and dots

void DrawDciPolyline(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                     const HT_DCI_Point* points) {
    XOM_Driver* d = ActiveDevice(device);
    if (d == nullptr || count <= 0 || points == nullptr) return;
    if (count == 1) {
        DrawDciDot(device, r, points[0], nullptr);
        return;
    }
    if (r.clip != nullptr || r.line.pattern != 0) {
        HD_Standard_Draw_DCI_Polyline(device, r, count, points);
        return;
    }
    SetDrawingColour(*d, r, nullptr);
    SetLineAttributes(r);
    DrawPolyline(g_plotStream, count, AsWriterPoints(points));
    CancelledAfterPrimitive(*d);
}

void DrawDcPolyline(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                    const HT_DC_Point* points) {
    if (ActiveDevice(device) == nullptr || count <= 0 || points == nullptr) return;
    if (auto converted = ToDci(count, points)) {
        DrawDciPolyline(device, r, count, converted.get());
    } else {
        HD_Standard_Draw_DC_Polyline(device, r, count, points);
    }
}

void DrawDciDot(HT_Renderer_Data* device, const HT_Rendition& r, const HT_DCI_Point& point,
                const HT_RGB* colour) {
    XOM_Driver* d = ActiveDevice(device);
    if (d == nullptr) return;
    if (r.clip != nullptr &&
        !r.clip->point_inside(static_cast<float>(point.x), static_cast<float>(point.y))) {
        return;
    }
    SetDrawingColour(*d, r, colour);
    DrawDot(g_plotStream, AsWriterPoint(point), r.line.weight);
    CancelledAfterPrimitive(*d);
}

void DrawDciEllipse(HT_Renderer_Data* device, const HT_Rendition& r, const HT_DCI_Point& centre,
                    const HT_DCI_Point& radii, float start, float end, const HT_RGB* colour) {
    XOM_Driver* d = ActiveDevice(device);
    if (d == nullptr) return;
    const bool fullCircle =
        radii.x == radii.y &&
        std::fabs(static_cast<double>(end) - static_cast<double>(start) - kFullTurn) < 1e-10;
    if (r.clip != nullptr || !fullCircle || r.line.pattern != 0) {
        HD_Standard_Draw_DCI_Ellipse(device, r, centre, radii, start, end, colour);
        return;
    }
    // A filled circle is a round dot. Its outline weight wins when it is at most two dots wider
    // than the circle, so the outline's own width is not lost.
    const std::int64_t diameter = 2 * static_cast<std::int64_t>(radii.x);
    const std::int64_t weight = r.line.weight;
    const std::int64_t width = diameter <= weight && weight <= diameter + 2 ? weight : diameter;
    SetDrawingColour(*d, r, colour);
    DrawDot(g_plotStream, AsWriterPoint(centre),
            static_cast<std::int32_t>(
                std::clamp<std::int64_t>(width, 0, std::numeric_limits<std::int32_t>::max())));
    CancelledAfterPrimitive(*d);
}

// ---------------------------------------------------------------------------------------------
// Faces

void DrawDciPolygon(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                    const HT_DCI_Point* points, const HT_RGB* colour) {
    XOM_Driver* d = ActiveDevice(device);
    if (d == nullptr || count < 3 || points == nullptr) return;
    if (r.clip != nullptr) {
        // The host clips floating-point polygons.
        if (auto converted = ToDc(count, points)) {
            HD_Standard_Draw_DC_Polygon(device, r, count, converted.get(), colour);
        } else {
            HD_Standard_Draw_DCI_Polygon(device, r, count, points, colour);
        }
        return;
    }
    if (count > kMaxDirectPolygonPoints || r.line.pattern != 0) {
        HD_Standard_Draw_DCI_Polygon(device, r, count, points, colour);
        return;
    }
    if (r.face.pattern != HT_FACE_PATTERN_SOLID) {
        FillPatternPolygon(device, r, count, points);
        return;
    }
    if (CancelledAfterPrimitive(*d)) return;
    SetDrawingColour(*d, r, colour);
    FillPolygon(g_plotStream, count, AsWriterPoints(points));
    CancelledAfterPrimitive(*d);
}

void DrawDcPolygon(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                   const HT_DC_Point* points, const HT_RGB* colour) {
    if (ActiveDevice(device) == nullptr || count < 3 || points == nullptr) return;
    if (count <= kMaxDirectPolygonPoints && r.clip == nullptr) {
        if (auto converted = ToDci(count, points)) {
            DrawDciPolygon(device, r, count, converted.get(), colour);
            return;
        }
    }
    HD_Standard_Draw_DC_Polygon(device, r, count, points, colour);
}

void DrawDciPolytriangle(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                         const HT_DCI_Point* points) {
    XOM_Driver* d = ActiveDevice(device);
    if (d == nullptr || count < 3 || points == nullptr) return;
    if (r.clip != nullptr || r.line.pattern != 0) {
        HD_Standard_Draw_DCI_Polytriangle(device, r, count, points);
        return;
    }
    if (r.face.pattern != HT_FACE_PATTERN_SOLID) {
        for (int i = 0; i + 2 < count && !d->drawing_stopped(); ++i) {
            FillPatternPolygon(device, r, 3, points + i);
        }
        return;
    }
    SetDrawingColour(*d, r, nullptr);
    for (int i = 0; i + 2 < count; ++i) {
        FillPolygon(g_plotStream, 3, AsWriterPoints(points + i));
        if (CancelledAfterPrimitive(*d)) return;
    }
}

void FillPatternPolygon(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                        const HT_DCI_Point* points) {
    if (ActiveDevice(device) == nullptr || count < 1 || points == nullptr) return;
    std::int64_t minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (int i = 1; i < count; ++i) {
        minX = std::min<std::int64_t>(minX, points[i].x);
        maxX = std::max<std::int64_t>(maxX, points[i].x);
        minY = std::min<std::int64_t>(minY, points[i].y);
        maxY = std::max<std::int64_t>(maxY, points[i].y);
    }
    const double inchesPerDot = g_plotStream.inchesPerDot;
    double spacing = inchesPerDot > 0 ? std::trunc(0.1 / inchesPerDot) : 1.0;
    if (r.line.pattern_scale > 0) spacing = std::trunc(spacing * r.line.pattern_scale);
    // At least one dot, and never beyond what the hatcher can count in.
    spacing = std::clamp(spacing, 1.0, 1e9);
    HD_Fill_2DI_Polygon(device, r, count, points, 1, static_cast<int>(spacing),
                        maxX - minX > maxY - minY, 0);
}

// ---------------------------------------------------------------------------------------------
// Images: those of the general road with a row source go to the raster encoder; the host's
// image routine serves the others.

void DrawDciImage(HT_Renderer_Data* device, const HT_Rendition& r, const HT_DCI_Point& position,
                  const HT_Image& image) {
    if (ActiveDevice(device) == nullptr) return;
    if (image.kind == HT_IMAGE_KIND_GENERAL && image.source != nullptr) {
        newhandleraster(device, r, position, image);
        return;
    }
    HD_Standard_Draw_DCI_Image(device, r, position, image);
}

void DrawDcImage(HT_Renderer_Data* device, const HT_Rendition& r, const HT_DC_Point& position,
                 const HT_Image& image) {
    const HT_DCI_Point truncated{xomplatform::SaturateToInt32(position.x),
                                 xomplatform::SaturateToInt32(position.y), 0};
    DrawDciImage(device, r, truncated, image);
}
