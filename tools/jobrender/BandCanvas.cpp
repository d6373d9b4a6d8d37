#include "tools/jobrender/BandCanvas.h"

#include <algorithm>
#include <cmath>

namespace jobrender {

bool HatchLines::inside(double x, double y) const {
    const double d = (x - origin.x) * normal.x + (y - origin.y) * normal.y + width / 2;
    const double m = d - std::floor(d / spacing) * spacing;
    return m < width;
}

std::uint8_t ApplyRop(int rop, std::uint8_t s, std::uint8_t d) {
    if (rop == 252) return s;
    // ROP3 over texture T, source S and destination D: result bit = bit (T*4 + S*2 + D) of rop.
    // A pen's colour serves as both texture and source.
    std::uint8_t out = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const int sv = (s >> bit) & 1, dv = (d >> bit) & 1;
        const int index = sv * 4 + sv * 2 + dv;
        out = static_cast<std::uint8_t>(out | (((rop >> index) & 1) << bit));
    }
    return out;
}

BandCanvas::BandCanvas(int width, int firstRow, int rows, Rgb paper)
    : m_width(width), m_first(firstRow), m_rows(rows) {
    m_pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows) * 3);
    for (std::size_t i = 0; i < m_pixels.size(); i += 3) {
        m_pixels[i] = paper.r;
        m_pixels[i + 1] = paper.g;
        m_pixels[i + 2] = paper.b;
    }
}

bool BandCanvas::touches(double x0, double y0, double x1, double y1) const {
    return x1 >= 0 && x0 <= m_width && y1 >= m_first && y0 <= m_first + m_rows;
}

void BandCanvas::put(int col, int row, const Paint& paint) {
    if (!paint.hatch.empty()) {
        const double cx = col + 0.5, cy = row + 0.5;
        bool on = false;
        for (const HatchLines& h : paint.hatch) on = on || h.inside(cx, cy);
        if (!on) return;
    }
    std::uint8_t* p = &m_pixels[(static_cast<std::size_t>(row - m_first) * m_width + col) * 3];
    p[0] = ApplyRop(paint.rop, paint.colour.r, p[0]);
    p[1] = ApplyRop(paint.rop, paint.colour.g, p[1]);
    p[2] = ApplyRop(paint.rop, paint.colour.b, p[2]);
}

void BandCanvas::fill(const std::vector<Ring>& rings, FillRule rule, const Paint& paint) {
    m_edges.clear();
    double ymin = HUGE_VAL, ymax = -HUGE_VAL, xmin = HUGE_VAL, xmax = -HUGE_VAL;
    for (const Ring& ring : rings) {
        const std::size_t n = ring.size();
        if (n < 3) continue;
        for (std::size_t i = 0; i < n; ++i) {
            const PointF& a = ring[i];
            const PointF& b = ring[(i + 1) % n];
            if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) ||
                !std::isfinite(b.y))
                return;  // callers keep coordinates finite; refuse rather than guess
            xmin = std::min(xmin, a.x);
            xmax = std::max(xmax, a.x);
            if (a.y == b.y) continue;
            const bool up = a.y < b.y;
            const PointF& lo = up ? a : b;
            const PointF& hi = up ? b : a;
            m_edges.push_back({lo.y, hi.y, lo.x, (hi.x - lo.x) / (hi.y - lo.y), up ? 1 : -1});
            ymin = std::min(ymin, lo.y);
            ymax = std::max(ymax, hi.y);
        }
    }
    if (m_edges.empty() || !touches(xmin, ymin, xmax, ymax)) return;
    std::sort(m_edges.begin(), m_edges.end(),
              [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    // Rows whose centre lies within the shape's vertical extent and the band.
    const int rowLo =
        std::max<int>(m_first, static_cast<int>(std::max(std::ceil(ymin - 0.5), double(m_first))));
    const double rowHiD = std::min(std::ceil(ymax - 0.5) - 1, double(m_first + m_rows - 1));
    const int rowHi = static_cast<int>(rowHiD);
    m_active.clear();
    std::size_t next = 0;
    for (int row = rowLo; row <= rowHi; ++row) {
        const double yc = row + 0.5;
        while (next < m_edges.size() && m_edges[next].y0 <= yc)
            m_active.push_back(&m_edges[next++]);
        m_active.erase(std::remove_if(m_active.begin(), m_active.end(),
                                      [yc](const Edge* e) { return e->y1 <= yc; }),
                       m_active.end());
        m_cross.clear();
        for (const Edge* e : m_active)
            if (e->y0 <= yc) m_cross.emplace_back(e->x0 + (yc - e->y0) * e->slope, e->dir);
        std::sort(m_cross.begin(), m_cross.end());
        int winding = 0;
        for (std::size_t i = 0; i + 1 < m_cross.size(); ++i) {
            winding += rule == FillRule::NonZero ? m_cross[i].second : 1;
            const bool in = rule == FillRule::NonZero ? winding != 0 : (winding & 1) != 0;
            if (!in) continue;
            // Pixels whose centre c + 0.5 lies in [xa, xb).
            const double xa = std::max(m_cross[i].first, 0.0);
            const double xb = std::min(m_cross[i + 1].first, double(m_width));
            if (!(xb > xa)) continue;
            const int c0 = static_cast<int>(std::ceil(xa - 0.5));
            const int c1 = static_cast<int>(std::ceil(xb - 0.5)) - 1;
            for (int c = std::max(c0, 0); c <= std::min(c1, m_width - 1); ++c) put(c, row, paint);
        }
    }
}

void BandCanvas::fill_rect(double x0, double y0, double x1, double y1, Rgb colour,
                           bool mergeWhite) {
    if (mergeWhite && colour == Rgb{255, 255, 255}) return;
    if (!(x1 > x0) || !(y1 > y0) || !touches(x0, y0, x1, y1)) return;
    const int c0 = std::max(0, static_cast<int>(std::ceil(x0 - 0.5)));
    const int c1 = std::min(m_width - 1, static_cast<int>(std::ceil(std::min(x1, 1e9) - 0.5)) - 1);
    const int r0 = std::max(m_first, static_cast<int>(std::ceil(std::max(y0, -1e9) - 0.5)));
    const int r1 =
        std::min(m_first + m_rows - 1, static_cast<int>(std::ceil(std::min(y1, 1e9) - 0.5)) - 1);
    Paint p;
    p.colour = colour;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) put(c, r, p);
}

}  // namespace jobrender
