#include "tools/xomplot/DxfTaper.h"

#include <algorithm>
#include <cmath>

#include "tools/xomplot/DxfCurves.h"

namespace xomplot::dxf {

namespace {

// Where the line through a0 and a1 meets the line through b0 and b1; false when parallel.
bool Meet(Point a0, Point a1, Point b0, Point b1, Point& at) {
    const double dax = a1.x - a0.x, day = a1.y - a0.y, dbx = b1.x - b0.x, dby = b1.y - b0.y;
    const double den = dax * dby - day * dbx;
    const double la = std::hypot(dax, day), lb = std::hypot(dbx, dby);
    if (!(la > 0) || !(lb > 0) || std::fabs(den) < 1e-9 * la * lb) return false;
    const double t = ((b0.x - a0.x) * dby - (b0.y - a0.y) * dbx) / den;
    at = {a0.x + dax * t, a0.y + day * t};
    return std::isfinite(at.x) && std::isfinite(at.y);
}

void Edges(TaperedSegment& seg, double w0, double w1) {
    const std::vector<Point>& c = seg.centre;
    std::vector<double> along(c.size(), 0);
    for (std::size_t j = 1; j < c.size(); ++j)
        along[j] = along[j - 1] + std::hypot(c[j].x - c[j - 1].x, c[j].y - c[j - 1].y);
    const double length = along.back();
    if (!(length > 0)) return;
    for (std::size_t j = 0; j < c.size(); ++j) {
        const Point a = c[j == 0 ? 0 : j - 1], b = c[std::min(j + 1, c.size() - 1)];
        const double d = std::hypot(b.x - a.x, b.y - a.y);
        if (!(d > 0)) continue;
        const double half = (w0 + (w1 - w0) * along[j] / length) / 2;
        const Point n{-(b.y - a.y) / d * half, (b.x - a.x) / d * half};
        seg.left.push_back({c[j].x + n.x, c[j].y + n.y});
        seg.right.push_back({c[j].x - n.x, c[j].y - n.y});
    }
}

// Moves the ends of two neighbouring edges to where they meet, unless the corner is so sharp
// that the mitre would reach far beyond the vertex.
void Mitre(std::vector<Point>& first, std::vector<Point>& second, Point vertex, double width) {
    if (first.size() < 2 || second.size() < 2) return;
    Point at;
    if (!Meet(first[first.size() - 2], first.back(), second[0], second[1], at)) return;
    if (std::hypot(at.x - vertex.x, at.y - vertex.y) > 2 * width) return;
    first.back() = at;
    second.front() = at;
}

}  // namespace

std::vector<TaperedSegment> TaperedSegments(const Entity& e, double tolerance) {
    std::vector<TaperedSegment> out;
    const std::size_t n = e.points.size();
    if (n < 2) return out;
    const std::size_t count = e.closed ? n : n - 1;
    std::vector<double> ends(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const Vertex& a = e.points[i];
        const Vertex& b = e.points[(i + 1) % n];
        const auto [w0, w1] = i < e.widths.size() ? e.widths[i] : std::make_pair(e.width, e.width);
        TaperedSegment seg;
        seg.centre.push_back(a.p);
        AppendBulge(a.p, b.p, a.bulge, tolerance, seg.centre);
        if (w0 > 0 || w1 > 0) Edges(seg, w0, w1);
        ends[i] = std::max(w0, w1);
        out.push_back(std::move(seg));
    }
    for (std::size_t i = 0; i + 1 < out.size() || (e.closed && i + 1 == out.size()); ++i) {
        TaperedSegment& a = out[i];
        TaperedSegment& b = out[(i + 1) % out.size()];
        if (&a == &b) break;
        const Point vertex = e.points[(i + 1) % n].p;
        const double width = std::max(ends[i], ends[(i + 1) % out.size()]);
        Mitre(a.left, b.left, vertex, width);
        Mitre(a.right, b.right, vertex, width);
    }
    return out;
}

}  // namespace xomplot::dxf
