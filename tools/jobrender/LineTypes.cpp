#include "tools/jobrender/LineTypes.h"

#include <cmath>
#include <cstdlib>

namespace jobrender {
namespace {

// Pen down, pen up, ... in percent of the pattern length: HP-GL/2's default line types.
const std::vector<double>& Pattern(int type) {
    static const std::vector<double> kPatterns[8] = {
        {0, 100},
        {50, 50},
        {70, 30},
        {80, 10, 0, 10},
        {70, 10, 10, 10},
        {50, 10, 10, 10, 10, 10},
        {70, 10, 0, 10, 0, 10},
        {50, 10, 0, 10, 10, 10, 0, 10},
    };
    return kPatterns[std::abs(type) - 1];
}

// Walks a path through a pattern of element lengths (pixels), from element `k` with `left` of it
// still to go, and collects the pen-down pieces.
class PatternWalk {
  public:
    PatternWalk(const std::vector<double>& lengths, std::size_t maxPieces, DashedPath& out)
        : m_lengths(lengths), m_max(maxPieces), m_out(out) {}

    bool start(std::size_t k, double left, PointF at) {
        m_k = k;
        m_left = left;
        m_piece.clear();
        if (down()) m_piece.push_back(at);
        return settle(at);
    }
    bool walk(PointF a, PointF b) {
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (!(len > 0)) return true;
        double t = 0;
        while (len - t > m_left) {
            t += m_left;
            const PointF p{a.x + (b.x - a.x) * t / len, a.y + (b.y - a.y) * t / len};
            if (!next(p)) return false;
        }
        m_left -= len - t;
        if (down()) m_piece.push_back(b);
        return true;
    }
    bool finish() {
        if (down() && m_piece.size() >= 2) return emit();
        return true;
    }
    // Where the walk stands, as a share of the whole pattern.
    double phase(double total) const {
        double done = 0;
        for (std::size_t i = 0; i < m_k; ++i) done += m_lengths[i];
        return total > 0 ? std::fmod((done + m_lengths[m_k] - m_left) / total, 1.0) : 0;
    }

  private:
    bool down() const { return m_k % 2 == 0; }
    bool emit() {
        if (m_out.pieces.size() >= m_max) return false;
        m_out.pieces.push_back(std::move(m_piece));
        m_piece.clear();
        return true;
    }
    // The current element ends at p: close or open a piece and move to the next element.
    bool next(PointF p) {
        if (down()) {
            m_piece.push_back(p);
            if (!emit()) return false;
        }
        m_k = (m_k + 1) % m_lengths.size();
        m_left = m_lengths[m_k];
        if (down()) m_piece = {p};
        return settle(p);
    }
    // Elements of no length at p: a dot for each pen-down one.
    bool settle(PointF p) {
        for (std::size_t guard = 0; guard < m_lengths.size() && m_left <= 0; ++guard) {
            if (down()) {
                m_piece = {p, p};
                if (!emit()) return false;
            }
            m_k = (m_k + 1) % m_lengths.size();
            m_left = m_lengths[m_k];
            if (down()) m_piece = {p};
        }
        return true;
    }

    const std::vector<double>& m_lengths;
    std::size_t m_max;
    DashedPath& m_out;
    std::size_t m_k = 0;
    double m_left = 0;
    std::vector<PointF> m_piece;
};

bool Walk(const std::vector<PointF>& path, const std::vector<double>& percent, double length,
          double phase, std::size_t maxPieces, DashedPath& out) {
    std::vector<double> lengths;
    lengths.reserve(percent.size());
    for (double p : percent) lengths.push_back(p / 100.0 * length);
    // The element the phase falls in, and what is left of it.
    double at = std::fmod(std::fmod(phase, 1.0) + 1.0, 1.0) * length;
    std::size_t k = 0;
    while (k + 1 < lengths.size() && lengths[k] > 0 && at >= lengths[k]) at -= lengths[k++];
    PatternWalk walk(lengths, maxPieces, out);
    if (!walk.start(k, lengths[k] - at, path.front())) return false;
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        if (!walk.walk(path[i], path[i + 1])) return false;
    if (!walk.finish()) return false;
    out.phase = walk.phase(length);
    return true;
}

}  // namespace

bool DashPath(const std::vector<PointF>& path, int lineType, double patternLength, double phase,
              std::size_t maxPieces, DashedPath& out) {
    out = {};
    if (path.empty()) return true;
    if (lineType == 0) {  // dots at the points
        for (const PointF& p : path) {
            if (out.pieces.size() >= maxPieces) return false;
            out.pieces.push_back({p, p});
        }
        return true;
    }
    // Bound the work before cutting: the pieces a path needs follow from its length.
    double total = 0;
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        total += std::hypot(path[i + 1].x - path[i].x, path[i + 1].y - path[i].y);
    const std::vector<double>& percent = Pattern(lineType);
    const double perPattern = static_cast<double>(percent.size()) / 2;  // pen-down elements
    if (!(patternLength > 0) || !std::isfinite(total) ||
        (total / patternLength + static_cast<double>(path.size())) * perPattern >
            static_cast<double>(maxPieces))
        return false;
    if (lineType > 0) return Walk(path, percent, patternLength, phase, maxPieces, out);
    // Adaptive: each segment holds a whole number of patterns, at least one.
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const PointF a = path[i], b = path[i + 1];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (!(len > 0)) continue;
        const double n = std::max(1.0, std::round(len / patternLength));
        DashedPath segment;
        if (!Walk({a, b}, percent, len / n, 0, maxPieces - out.pieces.size(), segment))
            return false;
        for (auto& piece : segment.pieces) out.pieces.push_back(std::move(piece));
    }
    return true;
}

}  // namespace jobrender
