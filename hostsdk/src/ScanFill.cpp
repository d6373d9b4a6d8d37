#include "ScanFill.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace hostsdk {

EvenOddScanner::EvenOddScanner(const std::vector<Contour>& contours) {
    bool first = true;
    for (const auto& contour : contours) {
        const size_t n = contour.size();
        if (n < 3) continue;
        for (size_t i = 0; i < n; ++i) {
            const Pt& a = contour[i];
            const Pt& b = contour[(i + 1) % n];
            if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) ||
                !std::isfinite(b.y) || a.y == b.y)
                continue;
            const Pt& lo = a.y < b.y ? a : b;
            const Pt& hi = a.y < b.y ? b : a;
            m_edges.push_back({lo.y, hi.y, lo.x, (hi.x - lo.x) / (hi.y - lo.y)});
            if (first) {
                m_min = lo.y;
                m_max = hi.y;
                first = false;
            } else {
                m_min = std::min(m_min, lo.y);
                m_max = std::max(m_max, hi.y);
            }
        }
    }
    std::sort(m_edges.begin(), m_edges.end(),
              [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
}

void EvenOddScanner::intervals_at(double c, std::vector<Interval>& out) {
    out.clear();
    // Half-open edges [y0, y1): a vertex is counted once by the edges that meet there.
    while (m_next < m_edges.size() && m_edges[m_next].y0 <= c)
        m_active.push_back(&m_edges[m_next++]);
    m_active.erase(
        std::remove_if(m_active.begin(), m_active.end(), [c](const Edge* e) { return e->y1 <= c; }),
        m_active.end());
    m_cross.clear();
    for (const Edge* e : m_active) m_cross.push_back(e->x0 + (c - e->y0) * e->slope);
    std::sort(m_cross.begin(), m_cross.end());
    for (size_t i = 0; i + 1 < m_cross.size(); i += 2) {
        if (m_cross[i + 1] > m_cross[i]) out.emplace_back(m_cross[i], m_cross[i + 1]);
    }
}

std::vector<Interval> IntersectIntervals(const std::vector<Interval>& a,
                                         const std::vector<Interval>& b) {
    std::vector<Interval> out;
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const double lo = std::max(a[i].first, b[j].first);
        const double hi = std::min(a[i].second, b[j].second);
        if (hi > lo) out.emplace_back(lo, hi);
        if (a[i].second < b[j].second)
            ++i;
        else
            ++j;
    }
    return out;
}

namespace {
std::vector<Contour> Transposed(const std::vector<Contour>& contours) {
    std::vector<Contour> out = contours;
    for (auto& c : out)
        for (auto& p : c) std::swap(p.x, p.y);
    return out;
}
}  // namespace

void ScanContours(const std::vector<Contour>& subject, const std::vector<Contour>* clip,
                  bool horizontal, long long first, long long last, long long step,
                  const std::function<void(long long c, double x0, double x1)>& emit) {
    if (step < 1 || first > last) return;
    EvenOddScanner s(horizontal ? subject : Transposed(subject));
    if (s.empty()) return;
    std::unique_ptr<EvenOddScanner> k;
    if (clip) {
        k = std::make_unique<EvenOddScanner>(horizontal ? *clip : Transposed(*clip));
        if (k->empty()) return;  // an empty clip region shows nothing
    }
    // Start at the first scan position on the step grid that can meet the subject.
    const double lowest = std::max<double>(static_cast<double>(first), std::floor(s.min_c()));
    long long c = first;
    if (lowest > static_cast<double>(first)) {
        const long long skip = static_cast<long long>((lowest - static_cast<double>(first)) /
                                                      static_cast<double>(step));
        c = first + skip * step;
    }
    const double top = std::min<double>(static_cast<double>(last), std::ceil(s.max_c()));
    std::vector<Interval> in, clipIn;
    for (; static_cast<double>(c) <= top; c += step) {
        s.intervals_at(static_cast<double>(c), in);
        if (in.empty()) continue;
        if (k) {
            k->intervals_at(static_cast<double>(c), clipIn);
            in = IntersectIntervals(in, clipIn);
        }
        for (const auto& iv : in) emit(c, iv.first, iv.second);
    }
}

}  // namespace hostsdk
