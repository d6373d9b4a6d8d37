#include "TangledOutline.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace xomtest {

std::vector<OutlinePoint> TangledOutline(int n, unsigned seed, double cx, double cy,
                                         double radius) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    // Turns per revolution: the largest circle is run twice and carried round once by the next
    // (a limacon, whose inner loop is wound twice); smaller ones, one backwards, bend it further.
    struct Term {
        int turns;
        double amplitude, phase;
    };
    std::vector<Term> terms = {{2, 0.5, 0},
                               {1, 0.25 + 0.1 * unit(rng), 0},
                               {-3, 0.05 + 0.05 * unit(rng), 0},
                               {5, 0.03 + 0.03 * unit(rng), 0}};
    double total = 0;
    for (Term& t : terms) {
        t.phase = 2 * M_PI * unit(rng);
        total += t.amplitude;
    }
    std::vector<OutlinePoint> out;
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        double x = 0, y = 0;
        for (const Term& t : terms) {
            x += t.amplitude * std::cos(t.turns * a + t.phase);
            y += t.amplitude * std::sin(t.turns * a + t.phase);
        }
        out.push_back({std::round(cx + x / total * radius), std::round(cy + y / total * radius)});
    }
    return out;
}

OutlineRaster::OutlineRaster(const std::vector<OutlinePoint>& outline, int x0, int y0, int width,
                             int height, double margin)
    : m_x0(x0),
      m_y0(y0),
      m_width(width),
      m_height(height),
      m_winding(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0),
      m_near(m_winding.size(), 0) {
    const std::size_t n = outline.size();
    // Winding numbers row by row: each edge that crosses the row's centre line adds +-1 to every
    // cell right of the crossing.
    std::vector<std::pair<double, int>> crossings;
    for (int j = 0; j < height; ++j) {
        const double y = y0 + j + 0.5;
        crossings.clear();
        for (std::size_t k = 0; k < n; ++k) {
            const OutlinePoint& a = outline[k];
            const OutlinePoint& b = outline[(k + 1) % n];
            if ((a.y <= y) == (b.y <= y)) continue;
            const double x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
            crossings.emplace_back(x, b.y > a.y ? 1 : -1);
        }
        std::sort(crossings.begin(), crossings.end());
        std::size_t c = 0;
        int w = 0;
        for (int i = 0; i < width; ++i) {
            const double x = x0 + i + 0.5;
            while (c < crossings.size() && crossings[c].first < x) w += crossings[c++].second;
            m_winding[index(i, j)] = w;
        }
    }
    // Cells whose centre lies within the margin of an edge.
    for (std::size_t k = 0; k < n; ++k) {
        const OutlinePoint& a = outline[k];
        const OutlinePoint& b = outline[(k + 1) % n];
        const int i0 = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x) - margin)) - x0);
        const int i1 =
            std::min(width - 1, static_cast<int>(std::ceil(std::max(a.x, b.x) + margin)) - x0);
        const int j0 = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y) - margin)) - y0);
        const int j1 =
            std::min(height - 1, static_cast<int>(std::ceil(std::max(a.y, b.y) + margin)) - y0);
        const double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i) {
                const double px = x0 + i + 0.5, py = y0 + j + 0.5;
                const double t =
                    l2 > 0 ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / l2, 0.0, 1.0) : 0;
                if (std::hypot(px - a.x - t * dx, py - a.y - t * dy) < margin)
                    m_near[index(i, j)] = 1;
            }
    }
}

}  // namespace xomtest
