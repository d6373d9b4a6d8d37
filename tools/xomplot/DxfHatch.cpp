#include "tools/xomplot/DxfHatch.h"

#include <algorithm>
#include <cmath>

namespace xomplot::dxf {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kDefaultSpacing = 3.175;  // the common 45-degree pattern's spacing, drawing units
constexpr std::size_t kMaxLinesPerFamily = 20000;
constexpr double kMaxDashesPerFamily = 2e6;

// Families of the usual patterns when the file gives no definition.
std::vector<HatchPatternLine> Predefined(const std::string& name, double angle, double scale) {
    std::vector<double> angles = {45};
    if (name == "LINE")
        angles = {0};
    else if (name == "NET")
        angles = {0, 90};
    else if (name == "ANSI37" || name == "NET3")
        angles = {45, 135};
    std::vector<HatchPatternLine> out;
    for (double a : angles) {
        HatchPatternLine l;
        l.angle_deg = a + angle;
        const double r = l.angle_deg * kPi / 180;
        const double s = kDefaultSpacing * (scale > 0 ? scale : 1);
        l.offset = {-std::sin(r) * s, std::cos(r) * s};
        out.push_back(l);
    }
    return out;
}
// A pattern line's dashes, or none (a continuous line) when a whole period is too short to show
// at the device's resolution.
std::vector<double> Visible(const std::vector<double>& dashes, double tolerance) {
    if (dashes.empty()) return {};
    double period = 0;
    bool drawn = false;
    for (double d : dashes) {
        period += std::fabs(d);
        drawn = drawn || d >= 0;
    }
    if (!drawn) return {-1.0};  // gaps only: nothing to draw
    return period > 4 * tolerance && std::isfinite(period) ? dashes : std::vector<double>{};
}

// The drawn pieces of a pattern line between s0 and s1 (distances from where its dashes start):
// calls put(a, b) for each dash, put(a, a) for each dot. False when the point budget runs out.
template <class Put>
bool Dashes(const std::vector<double>& dashes, double s0, double s1, std::size_t max_points,
            std::size_t& points, const Put& put) {
    if (dashes.empty()) {
        if (points + 2 > max_points) return false;
        points += 2;
        put(s0, s1);
        return true;
    }
    double period = 0;
    for (double d : dashes) period += std::fabs(d);
    double at = std::floor(s0 / period) * period;
    while (at < s1) {
        for (double d : dashes) {
            const double length = std::fabs(d);
            if (d >= 0) {
                const double a = std::max(at, s0), b = std::min(at + length, s1);
                if (d == 0 ? (at >= s0 && at <= s1) : b > a) {
                    if (points + 2 > max_points) return false;
                    points += d == 0 ? 1 : 2;
                    put(d == 0 ? at : a, d == 0 ? at : b);
                }
            }
            at += length;
            if (at >= s1) break;
        }
    }
    return true;
}

}  // namespace

std::vector<std::vector<Point>> HatchLines(const std::vector<std::vector<Point>>& loops,
                                           const std::vector<HatchPatternLine>& definition,
                                           const std::string& pattern, double angle_deg,
                                           double scale, double tolerance, std::size_t points,
                                           std::size_t max_points, HatchShortfall& shortfall) {
    std::vector<std::vector<Point>> out;
    const auto families = definition.empty() ? Predefined(pattern, angle_deg, scale) : definition;
    for (const auto& f : families) {
        std::vector<double> dashes = Visible(f.dashes, tolerance);
        if (dashes.size() == 1 && dashes[0] < 0) continue;
        const double r = f.angle_deg * kPi / 180;
        const Point u{std::cos(r), std::sin(r)}, n{-std::sin(r), std::cos(r)};
        const double spacing = f.offset.x * n.x + f.offset.y * n.y;
        if (!std::isfinite(spacing) || std::fabs(spacing) < 1e-12) continue;
        // The loops' extent across the lines (in line numbers from the base) and along them.
        double lo = 1e300, hi = -1e300, along0 = 1e300, along1 = -1e300;
        for (const auto& l : loops)
            for (const Point& p : l) {
                const double d = (p.x - f.base.x) * n.x + (p.y - f.base.y) * n.y;
                lo = std::min(lo, d);
                hi = std::max(hi, d);
                along0 = std::min(along0, p.x * u.x + p.y * u.y);
                along1 = std::max(along1, p.x * u.x + p.y * u.y);
            }
        const double step = std::fabs(spacing);
        const double first = std::ceil(lo / step), last = std::floor(hi / step);
        if (!(last >= first)) continue;  // no line of the family crosses the hatch
        if (last - first > kMaxLinesPerFamily) {
            ++shortfall.dense_families;
            continue;
        }
        if (!dashes.empty()) {
            // Dashes past a bound (a huge area, or dashes near the device's resolution) would
            // take memory beyond reason: such a family is drawn as continuous lines.
            double period = 0;
            for (double dash : dashes) period += std::fabs(dash);
            if ((last - first + 1) * (along1 - along0) / period > kMaxDashesPerFamily)
                dashes.clear();
        }
        const auto lines = static_cast<long long>(last - first);
        for (long long line = 0; line <= lines; ++line) {
            const double d = (first + static_cast<double>(line)) * step;
            // Crossings of this line with every loop edge, as positions along u.
            std::vector<double> cross;
            for (const auto& l : loops) {
                // The loops are closed: their last point repeats the first.
                for (std::size_t i = 0; i + 1 < l.size(); ++i) {
                    const Point a = l[i], b = l[i + 1];
                    const double da = (a.x - f.base.x) * n.x + (a.y - f.base.y) * n.y - d;
                    const double db = (b.x - f.base.x) * n.x + (b.y - f.base.y) * n.y - d;
                    if ((da > 0) == (db > 0)) continue;
                    const double t = da / (da - db);
                    const Point p{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
                    cross.push_back(p.x * u.x + p.y * u.y);
                }
            }
            std::sort(cross.begin(), cross.end());
            // Line k of the family passes through base + k offset, where its dashes start.
            const double k = d / spacing;
            const Point origin{f.base.x + f.offset.x * k, f.base.y + f.offset.y * k};
            const double o = origin.x * u.x + origin.y * u.y;
            for (std::size_t i = 0; i + 1 < cross.size(); i += 2) {
                const double s0 = cross[i] - o, s1 = cross[i + 1] - o;
                if (!Dashes(dashes, s0, s1, max_points, points, [&](double a, double b) {
                        if (b > a)
                            out.push_back({{origin.x + u.x * a, origin.y + u.y * a},
                                           {origin.x + u.x * b, origin.y + u.y * b}});
                        else
                            out.push_back({{origin.x + u.x * a, origin.y + u.y * a}});
                    })) {
                    shortfall.out_of_points = true;
                    return out;
                }
            }
        }
    }
    return out;
}

}  // namespace xomplot::dxf
