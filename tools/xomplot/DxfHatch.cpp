#include "tools/xomplot/DxfHatch.h"

#include <algorithm>
#include <cmath>

namespace xomplot::dxf {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kDefaultSpacing = 3.175;  // the common 45-degree pattern's spacing, drawing units
constexpr std::size_t kMaxLinesPerFamily = 20000;

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
}  // namespace

std::vector<std::vector<Point>> HatchLines(const std::vector<std::vector<Point>>& loops,
                                           const std::vector<HatchPatternLine>& definition,
                                           const std::string& pattern, double angle_deg,
                                           double scale, std::size_t points,
                                           std::size_t max_points) {
    std::vector<std::vector<Point>> out;
    const auto families = definition.empty() ? Predefined(pattern, angle_deg, scale) : definition;
    for (const auto& f : families) {
        const double r = f.angle_deg * kPi / 180;
        const Point u{std::cos(r), std::sin(r)}, n{-std::sin(r), std::cos(r)};
        const double spacing = f.offset.x * n.x + f.offset.y * n.y;
        if (!std::isfinite(spacing) || std::fabs(spacing) < 1e-12) continue;
        // The loops' extent across the lines, in line numbers from the base.
        double lo = 1e300, hi = -1e300;
        for (const auto& l : loops)
            for (const Point& p : l) {
                const double d = (p.x - f.base.x) * n.x + (p.y - f.base.y) * n.y;
                lo = std::min(lo, d);
                hi = std::max(hi, d);
            }
        const double step = std::fabs(spacing);
        const double first = std::ceil(lo / step), last = std::floor(hi / step);
        if (!(last >= first) || last - first > kMaxLinesPerFamily) continue;
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
            const Point origin{f.base.x + n.x * d, f.base.y + n.y * d};
            const double o = origin.x * u.x + origin.y * u.y;
            for (std::size_t i = 0; i + 1 < cross.size(); i += 2) {
                if (points + 2 > max_points) return out;
                points += 2;
                const double s0 = cross[i] - o, s1 = cross[i + 1] - o;
                out.push_back({{origin.x + u.x * s0, origin.y + u.y * s0},
                               {origin.x + u.x * s1, origin.y + u.y * s1}});
            }
        }
    }
    return out;
}

}  // namespace xomplot::dxf
