// The host's standard drawing routines. They clip (Boost.Geometry), dash, tessellate, fill large
// polygons as spans and hatch, and then call the device's own DCI polyline and polygon actions with
// primitives a device writes directly: unclipped, solid-line, at most 1024 points. They never call
// a standard routine through the device's table, and a nesting guard stops a device whose handler
// keeps handing the same primitive back, so every call terminates.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
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

#include "CellTiling.h"
#include "OutlineLoops.h"
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
// A line whose pattern would cut it into more dashes than this (inside the window) is refused
// with a report, never drawn solid.
constexpr double kMaxDashPieces = 1e6;
// Pattern lengths are given in dots of a 600 dpi device; the renderer's pattern scale is the
// device's dots per half inch (300 at 600 dpi), so a dash keeps its length on paper.
constexpr double kPatternScaleOf600Dpi = 300.0;
constexpr long long kMaxScanExtent = 1 << 20;
// An outline that crosses or touches itself more often than this is scanned, not resolved into
// polygons: its pieces would not fit a job of reasonable size anyway.
constexpr std::size_t kMaxOutlineCrossings = 200000;

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

bool OwnPolygonAction(const HT_Renderer_Data* device) {
    const auto& a = device->actions().draw_dci_polygon;
    return a.enabled && a.handler && a.handler != &HD_Standard_Draw_DCI_Polygon;
}

bool Patterned(const HT_Rendition& r) {
    return r.face.pattern != HT_FACE_PATTERN_SOLID;
}

// Hatches contours (even-odd) the way a device hatches: lines a tenth of an inch apart at the
// device's resolution (scaled by the line pattern scale), along the longer side of the box.
void HatchContours(HT_Renderer_Data* device, const HT_Rendition& r,
                   const std::vector<Contour>& contours, const HT_RGB* colour,
                   const HT_Contour_Set_Data* clip = nullptr) {
    double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
    for (const auto& c : contours)
        for (const Pt& p : c) {
            x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
        }
    double step = device->renderer_options().pattern_scale / 5.0;
    if (r.line.pattern_scale > 0) step *= r.line.pattern_scale;
    if (!std::isfinite(step) || step < 1) step = 1;
    HT_Rendition s = Simple(r, colour);
    ScanLines(device, s, contours, clip, x1 - x0 > y1 - y0,
              static_cast<long long>(std::min(step, 1e9)));
}

std::vector<Contour> PolygonContours(const BPolygon& poly);

// The even-odd region of an outline that may cross itself, as valid polygons: the symmetric
// difference of its simple loops, taken pairwise so that neighbouring loops meet first. False
// when the outline is too tangled or Boost cannot take a piece; Boost may also throw.
bool ResolveEvenOdd(const Contour& ring, BMultiPolygon& region) {
    region.clear();
    std::vector<Contour> loops;
    if (!hostsdk::SplitIntoSimpleLoops(ring, kMaxOutlineCrossings, loops)) return false;
    std::vector<BMultiPolygon> parts;
    parts.reserve(loops.size());
    for (const Contour& loop : loops) {
        BPolygon poly;
        for (const Pt& p : loop) bg::append(poly.outer(), BPoint(p.x, p.y));
        bg::correct(poly);
        if (!bg::is_valid(poly)) return false;
        parts.push_back(BMultiPolygon{std::move(poly)});
    }
    if (parts.empty()) return true;
    while (parts.size() > 1) {
        std::vector<BMultiPolygon> next;
        next.reserve(parts.size() / 2 + 1);
        for (size_t i = 0; i + 1 < parts.size(); i += 2) {
            BMultiPolygon out;
            bg::sym_difference(parts[i], parts[i + 1], out);
            next.push_back(std::move(out));
        }
        if (parts.size() % 2) next.push_back(std::move(parts.back()));
        parts.swap(next);
    }
    region = std::move(parts.front());
    return bg::is_valid(region);
}

// Cuts a valid polygon into pieces of at most kMaxDevicePolygon points without holes that tile
// it: a piece too big, or with a hole, is halved across its longer side (through its first hole,
// or at the median vertex) and each half cut again. False when the pieces do not converge.
bool Tile(const BPolygon& poly, std::vector<Contour>& out, int depth) {
    const size_t points = poly.outer().size() > 0 ? poly.outer().size() - 1 : 0;
    if (poly.inners().empty() && points <= static_cast<size_t>(kMaxDevicePolygon)) {
        if (points >= 3 && bg::area(poly) != 0) out.push_back(PolygonContours(poly)[0]);
        return true;
    }
    if (depth > 48) return false;
    bg::model::box<BPoint> box;
    bg::envelope(poly, box);
    const double w = box.max_corner().x() - box.min_corner().x();
    const double h = box.max_corner().y() - box.min_corner().y();
    const bool alongX = w >= h;
    double cut;
    if (!poly.inners().empty()) {
        bg::model::box<BPoint> hole;
        bg::envelope(poly.inners().front(), hole);
        cut = alongX ? (hole.min_corner().x() + hole.max_corner().x()) / 2
                     : (hole.min_corner().y() + hole.max_corner().y()) / 2;
    } else {
        std::vector<double> v;
        v.reserve(points);
        for (size_t i = 0; i < points; ++i)
            v.push_back(alongX ? poly.outer()[i].x() : poly.outer()[i].y());
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        // Half a dot off the median vertex, so the cut passes through no vertex of the outline.
        cut = v[v.size() / 2] + 0.5;
        const double lo = alongX ? box.min_corner().x() : box.min_corner().y();
        const double hi = alongX ? box.max_corner().x() : box.max_corner().y();
        if (!(cut > lo && cut < hi)) cut = (lo + hi) / 2;
    }
    // The halves reach past the outline on their outer sides: Boost 1.74 loses a piece whose
    // extreme vertex lies on the clipping box's edge.
    const BPoint lo(box.min_corner().x() - 1, box.min_corner().y() - 1);
    const BPoint hi(box.max_corner().x() + 1, box.max_corner().y() + 1);
    BPoint a0 = lo, a1 = hi, b0 = lo, b1 = hi;
    if (alongX) {
        a1.x(cut);
        b0.x(cut);
    } else {
        a1.y(cut);
        b0.y(cut);
    }
    for (const auto& half : {bg::model::box<BPoint>(a0, a1), bg::model::box<BPoint>(b0, b1)}) {
        BMultiPolygon pieces;
        bg::intersection(poly, half, pieces);
        for (const auto& piece : pieces)
            if (!Tile(piece, out, depth + 1)) return false;
    }
    return true;
}

void EmitRing(HT_Renderer_Data* device, const HT_Rendition& r, const Contour& ring,
              const HT_RGB* colour) {
    const auto& a = device->actions().draw_dci_polygon;
    std::vector<HT_DCI_Point> pts;
    pts.reserve(ring.size());
    for (const Pt& p : ring) pts.push_back({RoundHalfAway(p.x), RoundHalfAway(p.y), 0});
    a.handler(a.owner ? a.owner : device, Simple(r, nullptr), static_cast<int>(pts.size()),
              pts.data(), colour);
}

// A polygon the device cannot take whole. Patterned faces are hatched whole, so the hatch runs
// one way across it; solid ones are cut into device polygons, limited to the device window.
void FillLarge(HT_Renderer_Data* device, const HT_Rendition& r, const BPolygon& poly,
               const HT_RGB* colour) {
    std::vector<Contour> contours = PolygonContours(poly);
    if (Patterned(r) || !OwnPolygonAction(device)) {
        if (Patterned(r))
            HatchContours(device, r, contours, colour);
        else
            FillSpans(device, r, contours, nullptr, colour);
        return;
    }
    const Window w = DeviceWindow(device);
    BMultiPolygon onPage;
    bg::intersection(poly,
                     bg::model::box<BPoint>(BPoint(double(w.x0) - 1, double(w.y0) - 1),
                                            BPoint(double(w.x1) + 1, double(w.y1) + 1)),
                     onPage);
    std::vector<Contour> tiles;
    bool tiled = true;
    for (const auto& piece : onPage) tiled = tiled && Tile(piece, tiles, 0);
    // The tiles must cover the outline exactly once; if the cutting went wrong, scan instead.
    double tileArea = 0;
    for (const Contour& t : tiles) {
        double a = 0;
        for (size_t i = 0; i < t.size(); ++i) {
            const Pt& p = t[i];
            const Pt& q = t[(i + 1) % t.size()];
            a += p.x * q.y - q.x * p.y;
        }
        tileArea += std::fabs(a) / 2;
    }
    bg::model::box<BPoint> extent;
    bg::envelope(poly, extent);
    const bool onPageWhole = extent.min_corner().x() >= double(w.x0) - 1 &&
                             extent.min_corner().y() >= double(w.y0) - 1 &&
                             extent.max_corner().x() <= double(w.x1) + 1 &&
                             extent.max_corner().y() <= double(w.y1) + 1;
    const double area = std::fabs(onPageWhole ? bg::area(poly) : bg::area(onPage));
    if (!tiled || std::fabs(tileArea - area) > 1e-6 * std::max(area, 1.0)) {
        FillSpans(device, r, contours, nullptr, colour);
        return;
    }
    for (const Contour& tile : tiles) EmitRing(device, r, tile, colour);
}

// An outline too tangled to resolve into simple pieces: its cells, each filled even-odd by the
// device; the rare cell of a dot that many edges pass through is scanned.
void FillByCells(HT_Renderer_Data* device, const HT_Rendition& r, const Contour& ring,
                 const HT_RGB* colour) {
    const Window w = DeviceWindow(device);
    hostsdk::CellBox box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const Pt& p : ring) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
        box.x0 = std::min(box.x0, p.x), box.x1 = std::max(box.x1, p.x);
        box.y0 = std::min(box.y0, p.y), box.y1 = std::max(box.y1, p.y);
    }
    box.x0 = std::max(box.x0, double(w.x0) - 1), box.x1 = std::min(box.x1, double(w.x1) + 1);
    box.y0 = std::max(box.y0, double(w.y0) - 1), box.y1 = std::min(box.y1, double(w.y1) + 1);
    if (!(box.x0 < box.x1 && box.y0 < box.y1)) return;
    const hostsdk::CellTiles tiles =
        hostsdk::TileByCells(ring, box, static_cast<std::size_t>(kMaxDevicePolygon));
    for (const Contour& piece : tiles.pieces) EmitRing(device, r, piece, colour);
    if (!tiles.dense.empty()) FillSpans(device, r, tiles.dense, nullptr, colour);
}

void EmitPolygon(HT_Renderer_Data* device, const HT_Rendition& r, const Contour& ring,
                 const HT_RGB* colour) {
    if (OwnPolygonAction(device) && ring.size() <= static_cast<size_t>(kMaxDevicePolygon)) {
        EmitRing(device, r, ring, colour);
        return;
    }
    try {
        BPolygon poly;  // without repeated points, which Boost's set operations stumble over
        for (const Pt& p : ring)
            if (poly.outer().empty() || poly.outer().back().x() != p.x ||
                poly.outer().back().y() != p.y)
                bg::append(poly.outer(), BPoint(p.x, p.y));
        bg::correct(poly);
        if (bg::is_valid(poly)) {
            FillLarge(device, r, poly, colour);
            return;
        }
        // A self-intersecting outline: its even-odd region in pieces. Hatching scans the
        // outline itself (even-odd), so it runs one way across the whole.
        BMultiPolygon region;
        if (!Patterned(r) && OwnPolygonAction(device) && ResolveEvenOdd(ring, region)) {
            for (const auto& piece : region) FillLarge(device, r, piece, colour);
            return;
        }
    } catch (const std::exception&) {
        // Degenerate outlines Boost refuses are cut into cells or scanned below.
    }
    if (!Patterned(r) && OwnPolygonAction(device)) {
        FillByCells(device, r, ring, colour);
        return;
    }
    if (Patterned(r))
        HatchContours(device, r, {ring}, colour);
    else
        FillSpans(device, r, {ring}, nullptr, colour);
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
        BMultiPolygon piece;
        if (bg::is_valid(poly)) {
            piece.push_back(std::move(poly));
        } else {
            Contour ring;
            for (const auto& p : contour) ring.push_back({p.x, p.y});
            if (!ResolveEvenOdd(ring, piece)) return false;
        }
        if (region.empty()) {
            region.swap(piece);
        } else {
            BMultiPolygon out;
            bg::sym_difference(region, piece, out);
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
bool Dash(const std::vector<Pt>& line, const HT_Line_Rendition& rendition, double deviceScale,
          std::vector<std::vector<Pt>>& pieces) {
    pieces.clear();
    std::vector<float> dashes = HT_Line_Pattern_Dashes(rendition.pattern);
    double scale = rendition.pattern_scale;
    if (!std::isfinite(scale) || scale <= 0) scale = 1.0;
    if (std::isfinite(deviceScale) && deviceScale > 0) scale *= deviceScale / kPatternScaleOf600Dpi;
    double period = 0, length = 0;
    std::vector<double> d;
    for (float v : dashes) {
        d.push_back(v * scale);
        period += v * scale;
    }
    for (size_t i = 0; i + 1 < line.size(); ++i)
        length += std::hypot(line[i + 1].x - line[i].x, line[i + 1].y - line[i].y);
    if (d.empty()) {  // solid or unknown pattern
        pieces.push_back(line);
        return true;
    }
    if (!(period > 0) || !std::isfinite(length) ||
        length / period * static_cast<double>(d.size()) > kMaxDashPieces)
        return false;

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
    return true;
}

// The parts of a line inside the device window widened by half the line weight, so that what
// lies off the page is neither dashed nor written, and ends that reach the page still show.
std::vector<std::vector<Pt>> ClipToWindow(const std::vector<Pt>& line,
                                          const HT_Renderer_Data* device, int weight) {
    const Window w = DeviceWindow(device);
    const double pad = std::max(weight, 1) / 2.0 + 1;
    const double x0 = static_cast<double>(w.x0) - pad, x1 = static_cast<double>(w.x1) + pad;
    const double y0 = static_cast<double>(w.y0) - pad, y1 = static_cast<double>(w.y1) + pad;
    bool inside = true;
    for (const Pt& p : line) inside = inside && p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1;
    if (inside) return {line};
    std::vector<std::vector<Pt>> pieces;
    if (w.x1 < w.x0 || w.y1 < w.y0) return pieces;
    BLine ls;
    for (const Pt& p : line) bg::append(ls, BPoint(p.x, p.y));
    BMultiLine out;
    bg::intersection(ls, bg::model::box<BPoint>(BPoint(x0, y0), BPoint(x1, y1)), out);
    for (const auto& piece : out) {
        std::vector<Pt> pts;
        for (const auto& p : piece) pts.push_back({p.x(), p.y()});
        if (!pts.empty()) pieces.push_back(std::move(pts));
    }
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

void Report(const char* function, const std::string& what) {
    if (HT_Error_Handler* h = HT_Get_Host_Error_Handler()) {
        h->report(HT_MSG_NOT_SUPPORTED, function, what);
    } else {
        std::fprintf(stderr, "%s: %s\n", function, what.c_str());
    }
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
    std::vector<std::vector<Pt>> dashes;
    for (const auto& clipped : pieces) {
        if (clipped.empty()) continue;
        if (r.line.pattern == 0) {
            EmitPolyline(device, s, clipped);
            continue;
        }
        for (const auto& piece : ClipToWindow(clipped, device, r.line.weight)) {
            if (!Dash(piece, r.line, device->renderer_options().pattern_scale, dashes)) {
                Report("HD_Standard_Draw_DCI_Polyline",
                       "line pattern too fine: more than 1000000 dashes; the line is not drawn");
                return;
            }
            for (const auto& dash : dashes) EmitPolyline(device, s, dash);
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
        BMultiPolygon region, subject;
        BPolygon outline;
        for (const Pt& p : ring) bg::append(outline.outer(), BPoint(p.x, p.y));
        bg::correct(outline);
        bool subjectOk = bg::is_valid(outline);
        if (subjectOk)
            subject.push_back(std::move(outline));
        else
            subjectOk = ResolveEvenOdd(ring, subject);  // crosses itself: its even-odd pieces
        if (subjectOk && BuildRegion(*r.clip, region)) {
            BMultiPolygon out;
            bg::intersection(subject, region, out);
            for (const auto& poly : out) {
                if (poly.inners().empty() && poly.outer().size() <= size_t(kMaxDevicePolygon) + 1 &&
                    OwnPolygonAction(device)) {
                    const std::vector<Contour> contours = PolygonContours(poly);
                    if (contours[0].size() >= 3) EmitRing(device, r, contours[0], colour);
                } else {
                    FillLarge(device, r, poly, colour);  // big, or with holes
                }
            }
            return;
        }
    } catch (const std::exception&) {
        // Fall through to the scan clip, which takes any outline and region.
    }
    if (Patterned(r))
        HatchContours(device, r, {ring}, colour, r.clip);
    else
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

namespace {

// Counter-clockwise sweep from start to end: CAD arcs pass through 0 when end is the smaller; a
// sweep of a full turn or more (or none at all) is the whole ellipse. Sets full for that case.
double CounterClockwiseSweep(float start, float end, bool& full) {
    const double twoPi = 2.0 * 3.14159265358979323846;
    double sweep = static_cast<double>(end) - static_cast<double>(start);
    full = sweep == 0 || std::fabs(sweep) >= twoPi - 1e-6;
    if (full) return twoPi;
    if (sweep < 0) sweep += twoPi * std::ceil(-sweep / twoPi);
    return sweep;
}

// Points on the ellipse from start over sweep, about one per 4 dots of arc, within a device
// polygon's limit. A full ellipse gives its points once, without repeating the first.
std::vector<HT_DCI_Point> EllipsePoints(const HT_DCI_Point& centre, double rx, double ry,
                                        double start, double sweep, bool full) {
    const double arc = std::fabs(sweep) * std::max(rx, ry);
    const int limit = full ? kMaxDevicePolygon : kMaxDevicePolygon - 1;
    const int segments = std::clamp(static_cast<int>(std::ceil(arc / 4.0)), full ? 16 : 4, limit);
    const int count = full ? segments : segments + 1;
    std::vector<HT_DCI_Point> pts;
    pts.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double a = start + sweep * i / segments;
        pts.push_back({RoundHalfAway(centre.x + rx * std::cos(a)),
                       RoundHalfAway(centre.y + ry * std::sin(a)), 0});
    }
    return pts;
}

}  // namespace

void HD_Standard_Draw_DCI_Ellipse(HT_Renderer_Data* device, const HT_Rendition& r,
                                  const HT_DCI_Point& centre, const HT_DCI_Point& radii,
                                  float start, float end, const HT_RGB* colour) {
    const double rx = std::fabs(static_cast<double>(radii.x));
    const double ry = std::fabs(static_cast<double>(radii.y));
    if (!device || !std::isfinite(start) || !std::isfinite(end) || (rx == 0 && ry == 0)) return;
    bool full = false;
    const double sweep = CounterClockwiseSweep(start, end, full);
    std::vector<HT_DCI_Point> pts = EllipsePoints(centre, rx, ry, start, sweep, full);
    if (full) {
        HD_Standard_Draw_DCI_Polygon(device, r, static_cast<int>(pts.size()), pts.data(), colour);
    } else {
        HT_Rendition s = r;
        if (colour) s.color.rgb = *colour;
        HD_Standard_Draw_DCI_Polyline(device, s, static_cast<int>(pts.size()), pts.data());
    }
}

void HD_Standard_Draw_DCI_Elliptical_Arc(HT_Renderer_Data* device, const HT_Rendition& r,
                                         const HT_DCI_Point& centre, const HT_DCI_Point& radii,
                                         float start, float end) {
    const double rx = std::fabs(static_cast<double>(radii.x));
    const double ry = std::fabs(static_cast<double>(radii.y));
    if (!device || !std::isfinite(start) || !std::isfinite(end) || (rx == 0 && ry == 0)) return;
    bool full = false;
    const double sweep = CounterClockwiseSweep(start, end, full);
    std::vector<HT_DCI_Point> pts = EllipsePoints(centre, rx, ry, start, sweep, full);
    if (full) pts.push_back(pts.front());  // one closed outline
    const auto& a = device->actions().draw_dci_polyline;
    if (a.enabled && a.handler && a.handler != &HD_Standard_Draw_DCI_Polyline)
        a.handler(a.owner ? a.owner : device, r, static_cast<int>(pts.size()), pts.data());
    else
        HD_Standard_Draw_DCI_Polyline(device, r, static_cast<int>(pts.size()), pts.data());
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
