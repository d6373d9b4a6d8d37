// The host's standard drawing routines. They clip (Boost.Geometry), dash, tessellate, fill large
// polygons as spans and hatch, and then call the device's own DCI polyline and polygon actions with
// primitives a device writes directly: unclipped, solid-line, at most 1024 points. They never call
// a standard routine through the device's table, and a nesting guard stops a device whose handler
// keeps handing the same primitive back, so every call terminates.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

// Boost.Geometry 1.74's envelope code trips GCC's maybe-uninitialized analysis (a false positive).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/linestring.hpp>
#include <boost/geometry/geometries/multi_linestring.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>

#include "ScanFill.h"
#include "hdi/HT_Plotter_Device_Data.h"

namespace bg = boost::geometry;

namespace {

using hostsdk::Contour;
using hostsdk::Pt;
using BPoint = bg::model::d2::point_xy<double>;
using BPolygon = bg::model::polygon<BPoint>;
using BMultiPolygon = bg::model::multi_polygon<BPolygon>;
using BLine = bg::model::linestring<BPoint>;
using BMultiLine = bg::model::multi_linestring<BLine>;

constexpr int kMaxDevicePolygon = 1024;
constexpr int kMaxNesting = 8;
constexpr double kMaxDashPieces = 1e6;
constexpr long long kMaxScanExtent = 1 << 20;

thread_local int g_nesting = 0;

// Counts nested standard-routine calls on this thread; too deep means a device keeps handing
// back what it is given, and the routine then draws nothing more.
class NestingGuard {
  public:
    NestingGuard() { ++g_nesting; }
    ~NestingGuard() { --g_nesting; }
    bool too_deep() const { return g_nesting > kMaxNesting; }
};

std::int32_t RoundHalfAway(double v) {
    if (!std::isfinite(v)) return 0;
    const double r = v >= 0 ? std::floor(v + 0.5) : -std::floor(-v + 0.5);
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(r, lo, hi));
}

std::vector<HT_DCI_Point> ToDci(int count, const HT_DC_Point* points) {
    std::vector<HT_DCI_Point> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        out[static_cast<size_t>(i)] = {RoundHalfAway(points[i].x), RoundHalfAway(points[i].y),
                                       RoundHalfAway(points[i].z)};
    return out;
}

// A rendition for what goes back to the device: no clip, solid line, the fill colour if given.
HT_Rendition Simple(const HT_Rendition& r, const HT_RGB* colour) {
    HT_Rendition s = r;
    s.clip = nullptr;
    s.line.pattern = 0;
    if (colour) s.color.rgb = *colour;
    return s;
}

void EmitPolyline(HT_Renderer_Data* device, const HT_Rendition& r, const std::vector<Pt>& pts) {
    std::vector<HT_DCI_Point> out;
    out.reserve(pts.size());
    for (const Pt& p : pts) {
        HT_DCI_Point q{RoundHalfAway(p.x), RoundHalfAway(p.y), 0};
        if (out.empty() || out.back().x != q.x || out.back().y != q.y) out.push_back(q);
    }
    if (out.empty()) return;
    if (out.size() == 1) out.push_back(out.front());  // a stroke shorter than a dot
    const auto& a = device->actions().draw_dci_polyline;
    if (!a.enabled || !a.handler || a.handler == &HD_Standard_Draw_DCI_Polyline) return;
    a.handler(a.owner ? a.owner : device, r, static_cast<int>(out.size()), out.data());
}

struct Window {
    long long x0, x1, y0, y1;  // inclusive
};

Window DeviceWindow(const HT_Renderer_Data* device) {
    const auto& o = device->renderer_options();
    const long long w = std::min<long long>(std::max(o.window_width, 0), kMaxScanExtent);
    const long long h = std::min<long long>(std::max(o.window_height, 0), kMaxScanExtent);
    return {o.window_x, o.window_x + w - 1, o.window_y, o.window_y + h - 1};
}

std::vector<Contour> ClipContours(const HT_Contour_Set_Data& clip) {
    std::vector<Contour> out;
    for (const auto& c : clip.contours) {
        Contour k;
        for (const auto& p : c) k.push_back({p.x, p.y});
        out.push_back(std::move(k));
    }
    return out;
}

// Lines `step` apart across the subject (even-odd), inside the clip when there is one, each as a
// two-point polyline of the device, limited to the device window.
void ScanLines(HT_Renderer_Data* device, const HT_Rendition& s, const std::vector<Contour>& subject,
               const HT_Contour_Set_Data* clip, bool horizontal, long long step) {
    const Window w = DeviceWindow(device);
    if (w.x1 < w.x0 || w.y1 < w.y0) return;
    const long long lo = horizontal ? w.y0 : w.x0;
    const long long hi = horizontal ? w.y1 : w.x1;
    const double across0 = static_cast<double>(horizontal ? w.x0 : w.y0);
    const double across1 = static_cast<double>(horizontal ? w.x1 : w.y1);
    // Align to multiples of the step so that neighbouring areas hatch seamlessly.
    long long first = lo >= 0 ? (lo + step - 1) / step * step : -((-lo) / step * step);
    std::vector<Contour> clipContours;
    if (clip) clipContours = ClipContours(*clip);
    hostsdk::ScanContours(subject, clip ? &clipContours : nullptr, horizontal, first, hi, step,
                          [&](long long c, double a, double b) {
                              a = std::max(a, across0);
                              b = std::min(b, across1);
                              if (b < a) return;
                              const double cc = static_cast<double>(c);
                              std::vector<Pt> line = horizontal ? std::vector<Pt>{{a, cc}, {b, cc}}
                                                                : std::vector<Pt>{{cc, a}, {cc, b}};
                              EmitPolyline(device, s, line);
                          });
}

void FillSpans(HT_Renderer_Data* device, const HT_Rendition& r, const std::vector<Contour>& subject,
               const HT_Contour_Set_Data* clip, const HT_RGB* colour) {
    HT_Rendition s = Simple(r, colour);
    s.line.weight = 1;
    s.line.start_cap = s.line.end_cap = HT_CAP_BUTT;
    ScanLines(device, s, subject, clip, true, 1);
}

void EmitPolygon(HT_Renderer_Data* device, const HT_Rendition& r, const Contour& ring,
                 const HT_RGB* colour) {
    const auto& a = device->actions().draw_dci_polygon;
    const bool own = a.enabled && a.handler && a.handler != &HD_Standard_Draw_DCI_Polygon;
    if (!own || ring.size() > static_cast<size_t>(kMaxDevicePolygon)) {
        FillSpans(device, r, {ring}, nullptr, colour);
        return;
    }
    std::vector<HT_DCI_Point> pts;
    pts.reserve(ring.size());
    for (const Pt& p : ring) pts.push_back({RoundHalfAway(p.x), RoundHalfAway(p.y), 0});
    a.handler(a.owner ? a.owner : device, Simple(r, nullptr), static_cast<int>(pts.size()),
              pts.data(), colour);
}

// The clip region as Boost polygons (even-odd over the contours); false when a contour is not a
// valid simple polygon, in which case the callers clip by scanning instead.
bool BuildRegion(const HT_Contour_Set_Data& clip, BMultiPolygon& region) {
    region.clear();
    for (const auto& contour : clip.contours) {
        if (contour.size() < 3) continue;
        BPolygon poly;
        for (const auto& p : contour) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
            bg::append(poly.outer(), BPoint(p.x, p.y));
        }
        bg::correct(poly);
        if (!bg::is_valid(poly)) return false;
        if (region.empty()) {
            region.push_back(std::move(poly));
        } else {
            BMultiPolygon out;
            bg::sym_difference(region, poly, out);
            region.swap(out);
        }
    }
    return true;
}

// Splits a polyline at the clip contours' edges and keeps the pieces whose middle is inside: the
// even-odd clip for regions Boost cannot take (self-intersecting contours).
std::vector<std::vector<Pt>> ClipByCrossings(const std::vector<Pt>& line,
                                             const HT_Contour_Set_Data& clip) {
    std::vector<std::vector<Pt>> pieces;
    std::vector<Pt> current;
    auto inside = [&](double x, double y) {
        return clip.point_inside(static_cast<float>(x), static_cast<float>(y));
    };
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const Pt a = line[i], b = line[i + 1];
        std::vector<double> ts{0.0, 1.0};
        for (const auto& contour : clip.contours) {
            const size_t n = contour.size();
            if (n < 3) continue;
            for (size_t k = 0; k < n; ++k) {
                const double cx = contour[k].x, cy = contour[k].y;
                const double dx = contour[(k + 1) % n].x - cx, dy = contour[(k + 1) % n].y - cy;
                const double ex = b.x - a.x, ey = b.y - a.y;
                const double den = ex * dy - ey * dx;
                if (den == 0) continue;
                const double t = ((cx - a.x) * dy - (cy - a.y) * dx) / den;
                const double u = ((cx - a.x) * ey - (cy - a.y) * ex) / den;
                if (t > 0 && t < 1 && u >= 0 && u <= 1) ts.push_back(t);
            }
        }
        std::sort(ts.begin(), ts.end());
        for (size_t k = 0; k + 1 < ts.size(); ++k) {
            const double t0 = ts[k], t1 = ts[k + 1], tm = (t0 + t1) / 2;
            const Pt p0{a.x + (b.x - a.x) * t0, a.y + (b.y - a.y) * t0};
            const Pt p1{a.x + (b.x - a.x) * t1, a.y + (b.y - a.y) * t1};
            if (inside(a.x + (b.x - a.x) * tm, a.y + (b.y - a.y) * tm)) {
                if (current.empty()) current.push_back(p0);
                current.push_back(p1);
            } else if (!current.empty()) {
                pieces.push_back(std::move(current));
                current.clear();
            }
        }
    }
    if (current.size() >= 2) pieces.push_back(std::move(current));
    return pieces;
}

std::vector<std::vector<Pt>> ClipPolyline(const std::vector<Pt>& line,
                                          const HT_Contour_Set_Data& clip) {
    try {
        BMultiPolygon region;
        if (BuildRegion(clip, region)) {
            BLine ls;
            for (const Pt& p : line) bg::append(ls, BPoint(p.x, p.y));
            BMultiLine out;
            bg::intersection(ls, region, out);
            std::vector<std::vector<Pt>> pieces;
            for (const auto& piece : out) {
                std::vector<Pt> pts;
                for (const auto& p : piece) pts.push_back({p.x(), p.y()});
                if (!pts.empty()) pieces.push_back(std::move(pts));
            }
            return pieces;
        }
    } catch (const std::exception&) {
        // Boost refuses some degenerate inputs; the crossing clip below takes any region.
    }
    return ClipByCrossings(line, clip);
}

// Cuts a polyline into its "on" dashes. Returns the line whole when the pattern is solid or so
// fine that it would make an unreasonable number of pieces.
std::vector<std::vector<Pt>> Dash(const std::vector<Pt>& line, const HT_Line_Rendition& rendition) {
    std::vector<float> dashes = HT_Line_Pattern_Dashes(rendition.pattern);
    double scale = rendition.pattern_scale;
    if (!std::isfinite(scale) || scale <= 0) scale = 1.0;
    double period = 0, length = 0;
    std::vector<double> d;
    for (float v : dashes) {
        d.push_back(v * scale);
        period += v * scale;
    }
    for (size_t i = 0; i + 1 < line.size(); ++i)
        length += std::hypot(line[i + 1].x - line[i].x, line[i + 1].y - line[i].y);
    if (d.empty() || !(period > 0) || !std::isfinite(length) ||
        length / period * static_cast<double>(d.size()) > kMaxDashPieces)
        return {line};

    std::vector<std::vector<Pt>> pieces;
    std::vector<Pt> piece{line.front()};
    size_t index = 0;
    bool on = true;
    double remaining = d[0];
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const Pt a = line[i], b = line[i + 1];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len == 0) continue;
        double pos = 0;
        while (len - pos > remaining) {
            pos += remaining;
            const Pt p{a.x + (b.x - a.x) * pos / len, a.y + (b.y - a.y) * pos / len};
            if (on) {
                piece.push_back(p);
                pieces.push_back(std::move(piece));
                piece.clear();
            } else {
                piece = {p};
            }
            on = !on;
            index = (index + 1) % d.size();
            remaining = d[index];
        }
        remaining -= len - pos;
        if (on) piece.push_back(b);
    }
    if (on && piece.size() >= 2) pieces.push_back(std::move(piece));
    return pieces;
}

std::vector<Contour> PolygonContours(const BPolygon& poly) {
    std::vector<Contour> out;
    auto ring = [](const auto& r) {
        Contour c;
        for (const auto& p : r) c.push_back({p.x(), p.y()});
        if (c.size() > 1 && c.front().x == c.back().x && c.front().y == c.back().y) c.pop_back();
        return c;
    };
    out.push_back(ring(poly.outer()));
    for (const auto& inner : poly.inners()) out.push_back(ring(inner));
    return out;
}

}  // namespace

void HD_Standard_Draw_DCI_Polyline(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                   const HT_DCI_Point* points) {
    NestingGuard guard;
    if (!device || !points || count <= 0 || guard.too_deep()) return;
    std::vector<Pt> line;
    line.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) line.push_back({double(points[i].x), double(points[i].y)});
    if (line.size() == 1) line.push_back(line.front());

    std::vector<std::vector<Pt>> pieces;
    if (r.clip)
        pieces = ClipPolyline(line, *r.clip);
    else
        pieces.push_back(std::move(line));

    const HT_Rendition s = Simple(r, nullptr);
    for (const auto& piece : pieces) {
        if (piece.empty()) continue;
        if (r.line.pattern != 0) {
            for (const auto& dash : Dash(piece, r.line)) EmitPolyline(device, s, dash);
        } else {
            EmitPolyline(device, s, piece);
        }
    }
}

void HD_Standard_Draw_DC_Polyline(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                  const HT_DC_Point* points) {
    if (!points || count <= 0) return;
    const auto pts = ToDci(count, points);
    HD_Standard_Draw_DCI_Polyline(device, r, count, pts.data());
}

void HD_Standard_Draw_DCI_Polygon(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                  const HT_DCI_Point* points, const HT_RGB* colour) {
    NestingGuard guard;
    if (!device || !points || count < 3 || guard.too_deep()) return;
    Contour ring;
    ring.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) ring.push_back({double(points[i].x), double(points[i].y)});

    if (!r.clip) {
        EmitPolygon(device, r, ring, colour);
        return;
    }
    try {
        BMultiPolygon region;
        BPolygon subject;
        for (const Pt& p : ring) bg::append(subject.outer(), BPoint(p.x, p.y));
        bg::correct(subject);
        if (bg::is_valid(subject) && BuildRegion(*r.clip, region)) {
            BMultiPolygon out;
            bg::intersection(subject, region, out);
            for (const auto& poly : out) {
                std::vector<Contour> contours = PolygonContours(poly);
                if (contours.size() == 1 && contours[0].size() >= 3) {
                    EmitPolygon(device, r, contours[0], colour);
                } else if (!contours.empty()) {
                    FillSpans(device, r, contours, nullptr, colour);  // a piece with holes
                }
            }
            return;
        }
    } catch (const std::exception&) {
        // Fall through to the scan clip, which takes self-intersecting outlines too.
    }
    FillSpans(device, r, {ring}, r.clip, colour);
}

void HD_Standard_Draw_DC_Polygon(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                 const HT_DC_Point* points, const HT_RGB* colour) {
    if (!points || count < 3) return;
    const auto pts = ToDci(count, points);
    HD_Standard_Draw_DCI_Polygon(device, r, count, pts.data(), colour);
}

void HD_Standard_Draw_DCI_Polytriangle(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                                       const HT_DCI_Point* points) {
    if (!points) return;
    for (int i = 0; i + 2 < count; ++i)
        HD_Standard_Draw_DCI_Polygon(device, r, 3, points + i, nullptr);
}

void HD_Standard_Draw_DCI_Ellipse(HT_Renderer_Data* device, const HT_Rendition& r,
                                  const HT_DCI_Point& centre, const HT_DCI_Point& radii,
                                  float start, float end, const HT_RGB* colour) {
    const double rx = std::fabs(static_cast<double>(radii.x));
    const double ry = std::fabs(static_cast<double>(radii.y));
    if (!device || !std::isfinite(start) || !std::isfinite(end) || (rx == 0 && ry == 0)) return;
    const double twoPi = 2.0 * 3.14159265358979323846;
    double sweep = static_cast<double>(end) - static_cast<double>(start);
    const bool full = std::fabs(sweep) >= twoPi - 1e-6 || sweep == 0;
    if (full) sweep = twoPi;
    // About one segment per 4 dots of arc, within what a device polygon takes.
    const double arc = std::fabs(sweep) * std::max(rx, ry);
    const int limit = full ? kMaxDevicePolygon : kMaxDevicePolygon - 1;
    const int segments = std::clamp(static_cast<int>(std::ceil(arc / 4.0)), full ? 16 : 4, limit);
    std::vector<HT_DCI_Point> pts;
    const int count = full ? segments : segments + 1;
    pts.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double a = start + sweep * i / segments;
        pts.push_back({RoundHalfAway(centre.x + rx * std::cos(a)),
                       RoundHalfAway(centre.y + ry * std::sin(a)), 0});
    }
    if (full) {
        HD_Standard_Draw_DCI_Polygon(device, r, count, pts.data(), colour);
    } else {
        HT_Rendition s = r;
        if (colour) s.color.rgb = *colour;
        HD_Standard_Draw_DCI_Polyline(device, s, count, pts.data());
    }
}

void HD_Fill_2DI_Polygon(HT_Renderer_Data* device, const HT_Rendition& r, int count,
                         const HT_DCI_Point* points, int mode, int spacing, bool horizontal,
                         int reserved) {
    NestingGuard guard;
    if (!device || !points || count < 3 || guard.too_deep()) return;
    Contour ring;
    for (int i = 0; i < count; ++i) ring.push_back({double(points[i].x), double(points[i].y)});
    const long long step = std::max(spacing, 1);
    const HT_Rendition s = Simple(r, nullptr);
    ScanLines(device, s, {ring}, r.clip, horizontal, step);
    if (mode == 2) ScanLines(device, s, {ring}, r.clip, !horizontal, step);  // cross-hatch
}
