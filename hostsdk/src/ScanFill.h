#pragma once
// Even-odd scan conversion used by the standard routines for large polygons (horizontal spans)
// and for hatching (parallel lines in either direction).
#include <functional>
#include <utility>
#include <vector>

namespace hostsdk {

struct Pt {
    double x;
    double y;
};
using Contour = std::vector<Pt>;
using Interval = std::pair<double, double>;

// Walks scan positions in increasing order and answers the even-odd inside intervals of a set of
// closed contours along each (a line y = c; transpose the points for vertical scans).
class EvenOddScanner {
  public:
    explicit EvenOddScanner(const std::vector<Contour>& contours);
    // c must not decrease from one call to the next.
    void intervals_at(double c, std::vector<Interval>& out);
    bool empty() const { return m_edges.empty(); }
    double min_c() const { return m_min; }
    double max_c() const { return m_max; }

  private:
    struct Edge {
        double y0, y1, x0, slope;
    };
    std::vector<Edge> m_edges;  // sorted by y0
    std::vector<const Edge*> m_active;
    std::vector<double> m_cross;
    size_t m_next = 0;
    double m_min = 0, m_max = -1;
};

// The intersection of two sorted interval lists.
std::vector<Interval> IntersectIntervals(const std::vector<Interval>& a,
                                         const std::vector<Interval>& b);

// Calls emit(c, x0, x1) for every inside interval on scan positions c = first, first + step, ...
// up to last. With a clip set, only the parts inside the clip too. Transposes for vertical scans.
void ScanContours(const std::vector<Contour>& subject, const std::vector<Contour>* clip,
                  bool horizontal, long long first, long long last, long long step,
                  const std::function<void(long long c, double x0, double x1)>& emit);

}  // namespace hostsdk
