#include "OutlineLoops.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <unordered_map>

namespace hostsdk {
namespace {

// Crossing points are kept on a grid of 1/256 dot, so that three edges through one point of
// whole-dot outlines meet in one point, not in a sliver.
constexpr double kCrossingGrid = 256.0;
// Whole-dot coordinates up to this size have exact orientation tests in 128-bit integers.
constexpr double kExactLimit = 1e12;

struct Split {
    double t;  // position along the edge, 0..1
    Pt p;
};

class Orientation {
  public:
    explicit Orientation(const Contour& c) {
        m_exact = std::all_of(c.begin(), c.end(), [](const Pt& p) {
            return std::floor(p.x) == p.x && std::floor(p.y) == p.y &&
                   std::fabs(p.x) < kExactLimit && std::fabs(p.y) < kExactLimit;
        });
    }
    // Sign of the turn a -> b -> c: 1 left, -1 right, 0 collinear.
    int operator()(const Pt& a, const Pt& b, const Pt& c) const {
        if (m_exact) {
            const auto ax = static_cast<__int128>(a.x), ay = static_cast<__int128>(a.y);
            const __int128 v =
                (static_cast<__int128>(b.x) - ax) * (static_cast<__int128>(c.y) - ay) -
                (static_cast<__int128>(b.y) - ay) * (static_cast<__int128>(c.x) - ax);
            return v > 0 ? 1 : (v < 0 ? -1 : 0);
        }
        const double v = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        return v > 0 ? 1 : (v < 0 ? -1 : 0);
    }

  private:
    bool m_exact = false;
};

// Where e lies along s0 -> s1 when it is strictly between the two ends (e collinear with them).
bool StrictlyInside(const Pt& s0, const Pt& s1, const Pt& e, double& t) {
    const double dx = s1.x - s0.x, dy = s1.y - s0.y;
    t = ((e.x - s0.x) * dx + (e.y - s0.y) * dy) / (dx * dx + dy * dy);
    const bool atEnd = (e.x == s0.x && e.y == s0.y) || (e.x == s1.x && e.y == s1.y);
    return !atEnd && t > 0 && t < 1;
}

double OnGrid(double v) {
    return std::round(v * kCrossingGrid) / kCrossingGrid;
}

struct PointKey {
    std::uint64_t x, y;
    bool operator==(const PointKey& o) const { return x == o.x && y == o.y; }
};
struct PointKeyHash {
    std::size_t operator()(const PointKey& k) const {
        return std::hash<std::uint64_t>()(k.x * 0x9E3779B97F4A7C15ull ^ k.y);
    }
};
PointKey KeyOf(const Pt& p) {
    // +0.0 and -0.0 are one point.
    const double x = p.x == 0 ? 0.0 : p.x, y = p.y == 0 ? 0.0 : p.y;
    PointKey k{};
    std::memcpy(&k.x, &x, sizeof x);
    std::memcpy(&k.y, &y, sizeof y);
    return k;
}

double TwiceArea(const Contour& c) {
    double a = 0;
    for (std::size_t i = 0; i < c.size(); ++i) {
        const Pt& p = c[i];
        const Pt& q = c[(i + 1) % c.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return a;
}

}  // namespace

bool SplitIntoSimpleLoops(const Contour& outline, std::size_t maxCrossings,
                          std::vector<Contour>& loops) {
    loops.clear();
    Contour ring;
    ring.reserve(outline.size());
    for (const Pt& p : outline) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
        if (ring.empty() || ring.back().x != p.x || ring.back().y != p.y) ring.push_back(p);
    }
    while (ring.size() > 1 && ring.back().x == ring.front().x && ring.back().y == ring.front().y)
        ring.pop_back();
    const std::size_t n = ring.size();
    if (n < 3) return true;

    const Orientation orient(ring);
    auto from = [&](std::size_t i) -> const Pt& { return ring[i]; };
    auto to = [&](std::size_t i) -> const Pt& { return ring[(i + 1) % n]; };

    // Edges by their left end, swept left to right: only edges whose x ranges overlap are paired.
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::vector<double> x0(n), x1(n), y0(n), y1(n);
    for (std::size_t i = 0; i < n; ++i) {
        x0[i] = std::min(from(i).x, to(i).x), x1[i] = std::max(from(i).x, to(i).x);
        y0[i] = std::min(from(i).y, to(i).y), y1[i] = std::max(from(i).y, to(i).y);
    }
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return x0[a] < x0[b]; });

    std::vector<std::vector<Split>> splits(n);
    std::size_t found = 0;
    for (std::size_t oa = 0; oa < n; ++oa) {
        const std::size_t a = order[oa];
        for (std::size_t ob = oa + 1; ob < n && x0[order[ob]] <= x1[a]; ++ob) {
            const std::size_t b = order[ob];
            if (y0[b] > y1[a] || y0[a] > y1[b]) continue;
            const Pt &p0 = from(a), &p1 = to(a), &q0 = from(b), &q1 = to(b);
            const int o1 = orient(p0, p1, q0), o2 = orient(p0, p1, q1);
            const int o3 = orient(q0, q1, p0), o4 = orient(q0, q1, p1);
            if (o1 * o2 < 0 && o3 * o4 < 0) {
                const double ex = p1.x - p0.x, ey = p1.y - p0.y;
                const double fx = q1.x - q0.x, fy = q1.y - q0.y;
                const double den = ex * fy - ey * fx;
                const double t = ((q0.x - p0.x) * fy - (q0.y - p0.y) * fx) / den;
                const double u = ((q0.x - p0.x) * ey - (q0.y - p0.y) * ex) / den;
                const Pt x{OnGrid(p0.x + ex * t), OnGrid(p0.y + ey * t)};
                splits[a].push_back({t, x});
                splits[b].push_back({u, x});
                if (++found > maxCrossings) return false;
                continue;
            }
            // Touches: an end of one edge on the other edge (collinear overlaps give two).
            double t = 0;
            const struct {
                int o;
                const Pt& e;
                std::size_t onto;
                const Pt &s0, &s1;
            } ends[] = {
                {o1, q0, a, p0, p1}, {o2, q1, a, p0, p1}, {o3, p0, b, q0, q1}, {o4, p1, b, q0, q1}};
            for (const auto& end : ends) {
                if (end.o != 0 || !StrictlyInside(end.s0, end.s1, end.e, t)) continue;
                splits[end.onto].push_back({t, end.e});
                if (++found > maxCrossings) return false;
            }
        }
    }

    // The outline with its crossings, walked once: coming back to a point closes a loop.
    std::vector<Pt> stack;
    std::unordered_map<PointKey, std::size_t, PointKeyHash> onStack;
    auto visit = [&](const Pt& p) {
        const PointKey key = KeyOf(p);
        const auto it = onStack.find(key);
        if (it == onStack.end()) {
            onStack.emplace(key, stack.size());
            stack.push_back(p);
            return;
        }
        const std::size_t k = it->second;
        Contour loop(stack.begin() + static_cast<std::ptrdiff_t>(k), stack.end());
        for (std::size_t i = k + 1; i < stack.size(); ++i) onStack.erase(KeyOf(stack[i]));
        stack.resize(k + 1);
        if (loop.size() >= 3 && TwiceArea(loop) != 0) loops.push_back(std::move(loop));
    };
    for (std::size_t i = 0; i < n; ++i) {
        visit(ring[i]);
        auto& s = splits[i];
        std::sort(s.begin(), s.end(), [](const Split& l, const Split& r) { return l.t < r.t; });
        for (const Split& split : s) visit(split.p);
    }
    visit(ring[0]);
    return true;
}

}  // namespace hostsdk
