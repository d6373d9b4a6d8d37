#include "CellTiling.h"

#include <algorithm>
#include <cmath>

namespace hostsdk {
namespace {

// One side of the box: keeps the points with inside(p), cutting the edges that leave or enter.
template <typename Inside, typename Cut>
void ClipSide(const Contour& in, Contour& out, Inside inside, Cut cut) {
    out.clear();
    if (in.empty()) return;
    Pt prev = in.back();
    bool prevIn = inside(prev);
    for (const Pt& p : in) {
        const bool pIn = inside(p);
        if (pIn != prevIn) out.push_back(cut(prev, p));
        if (pIn) out.push_back(p);
        prev = p;
        prevIn = pIn;
    }
}

Pt AtX(const Pt& a, const Pt& b, double x) {
    const double t = (x - a.x) / (b.x - a.x);
    return {x, a.y + t * (b.y - a.y)};
}
Pt AtY(const Pt& a, const Pt& b, double y) {
    const double t = (y - a.y) / (b.y - a.y);
    return {a.x + t * (b.x - a.x), y};
}

// Which edge lines of the box a point lies on: bit 0 bottom, 1 right, 2 top, 3 left.
unsigned EdgesOf(const Pt& p, const CellBox& box) {
    return (p.y == box.y0 ? 1U : 0U) | (p.x == box.x1 ? 2U : 0U) | (p.y == box.y1 ? 4U : 0U) |
           (p.x == box.x0 ? 8U : 0U);
}

// A point's position along the box's boundary, counter-clockwise from the bottom left corner.
double PerimeterPosition(const Pt& p, const CellBox& box) {
    const double w = box.x1 - box.x0, h = box.y1 - box.y0;
    if (p.y == box.y0) return p.x - box.x0;
    if (p.x == box.x1) return w + (p.y - box.y0);
    if (p.y == box.y1) return w + h + (box.x1 - p.x);
    return 2 * w + h + (box.y1 - p.y);
}

// Clipping replaces every stretch of the outline outside the box by a walk along the box's
// edges, which may pass many corners back and forth. Only where a walk starts and ends and how
// far it travels round the box in all matter to the winding numbers inside, so each walk becomes
// its start, the corners it passes going straight there, and its end. The pieces are filled
// even-odd (the device's polygon fill), which lets whole turns be dropped in pairs.
Contour CompressBoundaryWalks(const Contour& ring, const CellBox& box) {
    const std::size_t n = ring.size();
    const double w = box.x1 - box.x0, h = box.y1 - box.y0, perimeter = 2 * (w + h);
    std::vector<unsigned> edges(n);
    for (std::size_t i = 0; i < n; ++i) edges[i] = EdgesOf(ring[i], box);
    auto alongEdge = [&](std::size_t i) { return (edges[i] & edges[(i + 1) % n]) != 0; };
    std::size_t start = n;
    for (std::size_t i = 0; i < n; ++i)
        if (!alongEdge(i)) {
            start = (i + 1) % n;  // a walk may begin here; none runs across the seam
            break;
        }
    const double corners[4] = {0, w, w + h, 2 * w + h};
    Contour out;
    out.reserve(n);
    auto emitCorners = [&](double from, double travel) {
        // The corners strictly between `from` and `from + travel`, in the order passed.
        const double eps = 1e-9 * perimeter;
        const double lo = std::min(from, from + travel), hi = std::max(from, from + travel);
        std::vector<double> passed;
        for (double k = std::floor((lo - eps) / perimeter); k * perimeter <= hi + eps; ++k)
            for (const double c : corners) {
                const double at = c + k * perimeter;
                if (at > lo + eps && at < hi - eps) passed.push_back(at);
            }
        std::sort(passed.begin(), passed.end());
        if (travel < 0) std::reverse(passed.begin(), passed.end());
        const Pt cornerPoints[4] = {
            {box.x0, box.y0}, {box.x1, box.y0}, {box.x1, box.y1}, {box.x0, box.y1}};
        for (const double at : passed) {
            const double m = at - std::floor(at / perimeter) * perimeter;
            std::size_t nearest = 0;
            double best = HUGE_VAL;
            for (std::size_t c = 0; c < 4; ++c) {
                double d = std::fabs(m - corners[c]);
                d = std::min(d, perimeter - d);
                if (d < best) best = d, nearest = c;
            }
            out.push_back(cornerPoints[nearest]);
        }
    };
    if (start == n) {
        // All of the ring runs along the box: whole turns round it, of which only an odd one
        // is kept (see below), or nothing.
        double travel = 0;
        for (std::size_t i = 0; i < n; ++i) {
            double d = PerimeterPosition(ring[(i + 1) % n], box) - PerimeterPosition(ring[i], box);
            d -= std::round(d / perimeter) * perimeter;
            travel += d;
        }
        const long long turns = std::llround(travel / perimeter);
        if (turns % 2 == 0) return out;
        out.push_back({box.x0, box.y0});
        emitCorners(0, perimeter);
        return out;
    }
    // The walks: where each starts (steps from `start`), how many steps it takes, its travel.
    struct Walk {
        std::size_t first, steps;
        double travel;
    };
    std::vector<Walk> walks;
    long long turns = 0;
    for (std::size_t k = 0; k < n;) {
        if (!alongEdge((start + k) % n)) {
            ++k;
            continue;
        }
        Walk walk{k, 0, 0};
        while (k < n && alongEdge((start + k) % n)) {
            const std::size_t a = (start + k) % n, b = (a + 1) % n;
            double d = PerimeterPosition(ring[b], box) - PerimeterPosition(ring[a], box);
            d -= std::round(d / perimeter) * perimeter;  // one edge's stretch is under half round
            walk.travel += d;
            ++walk.steps;
            ++k;
        }
        // Whole turns round the box add one to the winding number of every point inside, so
        // only their count matters, and for an even-odd fill only whether it is odd: each walk
        // keeps under half a turn and the first one carries the odd turn, if any.
        const double whole = std::round(walk.travel / perimeter);
        walk.travel -= whole * perimeter;
        turns += static_cast<long long>(whole);
        walks.push_back(walk);
    }
    if (!walks.empty() && (turns % 2) != 0)
        walks.front().travel += walks.front().travel >= 0 ? perimeter : -perimeter;
    std::size_t next = 0;
    for (std::size_t k = 0; k < n;) {
        const std::size_t i = (start + k) % n;
        out.push_back(ring[i]);
        if (next < walks.size() && walks[next].first == k) {
            emitCorners(PerimeterPosition(ring[i], box), walks[next].travel);
            k += walks[next].steps;  // the walk's end is pushed next (or is the first point)
            ++next;
        } else {
            ++k;
        }
    }
    return out;
}

// Drops repeated points and compresses the walks along the box's edges.
void Simplify(Contour& ring, const CellBox& box) {
    Contour unique;
    unique.reserve(ring.size());
    for (const Pt& p : ring)
        if (unique.empty() || unique.back().x != p.x || unique.back().y != p.y) unique.push_back(p);
    while (unique.size() > 1 && unique.back().x == unique.front().x &&
           unique.back().y == unique.front().y)
        unique.pop_back();
    if (unique.size() < 3) {
        ring.clear();
        return;
    }
    Contour out = CompressBoundaryWalks(unique, box);
    Contour clean;
    clean.reserve(out.size());
    for (const Pt& p : out)
        if (clean.empty() || clean.back().x != p.x || clean.back().y != p.y) clean.push_back(p);
    while (clean.size() > 1 && clean.back().x == clean.front().x &&
           clean.back().y == clean.front().y)
        clean.pop_back();
    if (clean.size() < 3) clean.clear();
    ring.swap(clean);
}

class Tiler {
  public:
    Tiler(std::size_t maxPoints, CellTiles& tiles) : m_max(maxPoints), m_tiles(tiles) {}

    void cut(Contour ring, const CellBox& box, int depth) {
        if (ring.size() < 3) return;
        if (ring.size() <= m_max) {
            m_tiles.pieces.push_back(std::move(ring));
            return;
        }
        const double w = box.x1 - box.x0, h = box.y1 - box.y0;
        if ((w <= 1 && h <= 1) || depth >= kMaxDepth) {
            m_tiles.dense.push_back(std::move(ring));
            return;
        }
        // Whole-dot cuts where the cell allows, so the cut's points stay where the device rounds.
        const bool alongX = w >= h;
        const double lo = alongX ? box.x0 : box.y0, hi = alongX ? box.x1 : box.y1;
        double mid = std::floor((lo + hi) / 2);
        if (!(mid > lo && mid < hi)) mid = (lo + hi) / 2;
        CellBox a = box, b = box;
        (alongX ? a.x1 : a.y1) = mid;
        (alongX ? b.x0 : b.y0) = mid;
        Contour left = ClipToBox(ring, a);
        Contour right = ClipToBox(ring, b);
        ring = Contour();  // the halves hold everything; free the parent before going deeper
        cut(std::move(left), a, depth + 1);
        cut(std::move(right), b, depth + 1);
    }

  private:
    static constexpr int kMaxDepth = 80;
    std::size_t m_max;
    CellTiles& m_tiles;
};

}  // namespace

Contour ClipToBox(const Contour& outline, const CellBox& box) {
    Contour a, b;
    ClipSide(
        outline, a, [&](const Pt& p) { return p.x >= box.x0; },
        [&](const Pt& p, const Pt& q) { return AtX(p, q, box.x0); });
    ClipSide(
        a, b, [&](const Pt& p) { return p.x <= box.x1; },
        [&](const Pt& p, const Pt& q) { return AtX(p, q, box.x1); });
    ClipSide(
        b, a, [&](const Pt& p) { return p.y >= box.y0; },
        [&](const Pt& p, const Pt& q) { return AtY(p, q, box.y0); });
    ClipSide(
        a, b, [&](const Pt& p) { return p.y <= box.y1; },
        [&](const Pt& p, const Pt& q) { return AtY(p, q, box.y1); });
    Simplify(b, box);
    return b;
}

CellTiles TileByCells(const Contour& outline, const CellBox& box, std::size_t maxPoints) {
    CellTiles tiles;
    Tiler tiler(maxPoints < 8 ? 8 : maxPoints, tiles);
    tiler.cut(ClipToBox(outline, box), box, 0);
    return tiles;
}

}  // namespace hostsdk
