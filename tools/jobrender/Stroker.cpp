#include "tools/jobrender/Stroker.h"

#include <algorithm>
#include <cmath>

namespace jobrender {
namespace {

constexpr double kPi = 3.14159265358979323846;

double SignedArea(const Ring& r) {
    double a = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        const PointF& p = r[i];
        const PointF& q = r[(i + 1) % r.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return a / 2;
}

void Add(std::vector<Ring>& out, Ring ring) {
    if (ring.size() < 3) return;
    if (SignedArea(ring) < 0) std::reverse(ring.begin(), ring.end());
    out.push_back(std::move(ring));
}

PointF At(PointF p, PointF d, double s) {
    return {p.x + d.x * s, p.y + d.y * s};
}

void Cap(std::vector<Ring>& out, PointF p, PointF dir, double hw, LineEnd end) {
    const PointF n{-dir.y, dir.x};
    switch (end) {
        case LineEnd::Butt:
            break;
        case LineEnd::Square:
            Add(out, {At(p, n, hw), At(At(p, n, hw), dir, hw), At(At(p, n, -hw), dir, hw),
                      At(p, n, -hw)});
            break;
        case LineEnd::Triangular:
            Add(out, {At(p, n, hw), At(p, dir, hw), At(p, n, -hw)});
            break;
        case LineEnd::Round:
            Add(out, Disc(p, hw));
            break;
    }
}

void Join(std::vector<Ring>& out, PointF p, PointF da, PointF db, const StrokeStyle& s) {
    const double hw = s.width / 2;
    const double cross = da.x * db.y - da.y * db.x;
    const double dot = da.x * db.x + da.y * db.y;
    if (s.join == LineJoin::None) return;
    if (s.join == LineJoin::Round) {
        Add(out, Disc(p, hw));
        return;
    }
    if (std::fabs(cross) < 1e-12 && dot > 0) return;  // straight on: the rectangles meet
    // The outer side of the turn: normals point left of the direction; a left turn opens right.
    const double side = cross > 0 ? -1.0 : 1.0;
    const PointF na{-da.y * side, da.x * side};
    const PointF nb{-db.y * side, db.x * side};
    const PointF a = At(p, na, hw), b = At(p, nb, hw);
    const double cosPhi = na.x * nb.x + na.y * nb.y;  // angle between the two normals
    PointF bis{na.x + nb.x, na.y + nb.y};
    const double bl = std::hypot(bis.x, bis.y);
    if (bl > 1e-12) bis = {bis.x / bl, bis.y / bl};
    switch (s.join) {
        case LineJoin::Mitered:
        case LineJoin::MiteredBeveled: {
            // Miter length over width is 1 / cos(phi / 2); past the limit the join is beveled.
            const double halfCos = std::sqrt(std::max(0.0, (1 + cosPhi) / 2));
            if (halfCos > 1e-9 && 1 / halfCos <= s.miterLimit) {
                Add(out, {p, a, At(p, bis, hw / halfCos), b});
                return;
            }
            Add(out, {p, a, b});
            return;
        }
        case LineJoin::Triangular: {
            // A bevel with a triangle on top whose apex lies half a line width beyond the bevel.
            const double halfCos = std::sqrt(std::max(0.0, (1 + cosPhi) / 2));
            Add(out, {p, a, At(p, bis, hw * halfCos + hw), b});
            return;
        }
        default:
            Add(out, {p, a, b});
            return;
    }
}

}  // namespace

Ring Disc(PointF c, double r) {
    int n = 8;
    if (r > 0.25) n = static_cast<int>(std::ceil(kPi / std::acos(1 - 0.25 / r)));
    n = std::clamp(n, 8, 2048);
    Ring ring;
    ring.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double a = 2 * kPi * i / n;
        ring.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    return ring;
}

std::vector<Ring> StrokePath(const std::vector<PointF>& input, bool closed,
                             const StrokeStyle& style) {
    std::vector<Ring> out;
    if (input.empty()) return out;
    std::vector<PointF> pts;
    pts.reserve(input.size());
    for (const PointF& p : input)
        if (pts.empty() || pts.back().x != p.x || pts.back().y != p.y) pts.push_back(p);
    if (closed && pts.size() > 1 && pts.front().x == pts.back().x && pts.front().y == pts.back().y)
        pts.pop_back();
    const double hw = std::max(style.width, 1.0) / 2;
    StrokeStyle s = style;
    s.width = hw * 2;
    if (pts.size() == 1) {
        const PointF p = pts[0];
        switch (style.end) {
            case LineEnd::Round:
                Add(out, Disc(p, hw));
                break;
            case LineEnd::Square:
                Add(out, {{p.x - hw, p.y - hw},
                          {p.x + hw, p.y - hw},
                          {p.x + hw, p.y + hw},
                          {p.x - hw, p.y + hw}});
                break;
            case LineEnd::Triangular:
                Add(out, {{p.x - hw, p.y}, {p.x, p.y - hw}, {p.x + hw, p.y}, {p.x, p.y + hw}});
                break;
            case LineEnd::Butt:
                break;
        }
        return out;
    }
    const std::size_t n = pts.size();
    const std::size_t segments = closed ? n : n - 1;
    std::vector<PointF> dirs(segments);
    for (std::size_t i = 0; i < segments; ++i) {
        const PointF a = pts[i], b = pts[(i + 1) % n];
        const double l = std::hypot(b.x - a.x, b.y - a.y);
        dirs[i] = {(b.x - a.x) / l, (b.y - a.y) / l};
        const PointF nn{-dirs[i].y, dirs[i].x};
        Add(out, {At(a, nn, hw), At(b, nn, hw), At(b, nn, -hw), At(a, nn, -hw)});
    }
    for (std::size_t i = 1; i < segments; ++i) Join(out, pts[i], dirs[i - 1], dirs[i], s);
    if (closed) {
        Join(out, pts[0], dirs[segments - 1], dirs[0], s);
    } else {
        Cap(out, pts[0], {-dirs[0].x, -dirs[0].y}, hw, style.end);
        Cap(out, pts[n - 1], dirs[segments - 1], hw, style.end);
    }
    return out;
}

}  // namespace jobrender
