#include "tools/xomplot/DxfCurves.h"

#include <algorithm>
#include <cmath>

#include "tools/xomplot/DxfFitSpline.h"

namespace xomplot::dxf {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxSegments = 4096;

// Segments for a sweep of a circle of this radius so that the chord's sagitta stays within the
// tolerance.
int Segments(double radius, double sweep, double tolerance) {
    if (!(radius > 0) || !(tolerance > 0) || !std::isfinite(radius)) return 1;
    const double ratio = std::clamp(1 - tolerance / radius, -1.0, 1.0);
    // At least 32 chords to a full turn, so that extents measured on them are close.
    const double step = std::min(2 * std::acos(ratio), kPi / 16);
    if (!(step > 0)) return kMaxSegments;
    return std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / step)), 1, kMaxSegments);
}
}  // namespace

void AppendArc(Point c, double r, double start, double sweep, double tolerance,
               std::vector<Point>& out) {
    const int n = Segments(r, sweep, tolerance);
    for (int i = 1; i <= n; ++i) {
        const double a = start + sweep * i / n;
        out.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
}

void AppendBulge(Point a, Point b, double bulge, double tolerance, std::vector<Point>& out) {
    const double chord = std::hypot(b.x - a.x, b.y - a.y);
    if (std::fabs(bulge) < 1e-9 || chord == 0 || !std::isfinite(bulge)) {
        out.push_back(b);
        return;
    }
    bulge = std::clamp(bulge, -1e6, 1e6);
    const double sweep = 4 * std::atan(bulge);
    const double r = chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
    // The centre lies on the chord's left normal for a counter-clockwise (positive) bulge.
    const double h = chord * (1 - bulge * bulge) / (4 * bulge);
    const double ux = -(b.y - a.y) / chord, uy = (b.x - a.x) / chord;
    const Point c{(a.x + b.x) / 2 + ux * h, (a.y + b.y) / 2 + uy * h};
    const double start = std::atan2(a.y - c.y, a.x - c.x);
    AppendArc(c, r, start, sweep, tolerance, out);
    out.back() = b;
}

std::vector<Point> BulgedOutline(const std::vector<Vertex>& v, bool closed, double tolerance) {
    std::vector<Point> out;
    if (v.empty()) return out;
    out.push_back(v[0].p);
    const std::size_t n = v.size();
    const std::size_t segments = closed ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i)
        AppendBulge(v[i].p, v[(i + 1) % n].p, v[i].bulge, tolerance, out);
    return out;
}

std::vector<Point> EllipsePoints(Point c, Point axis, double ratio, double start, double end,
                                 double tolerance) {
    std::vector<Point> out;
    const double major = std::hypot(axis.x, axis.y);
    if (!(major > 0) || !std::isfinite(major) || !std::isfinite(start) || !std::isfinite(end))
        return out;
    ratio = std::clamp(std::fabs(ratio), 1e-6, 1.0);
    const double rot = std::atan2(axis.y, axis.x);
    double sweep = end - start;
    if (std::fabs(sweep - 2 * kPi) > 1e-9) {
        sweep = std::fmod(sweep, 2 * kPi);
        if (sweep <= 0) sweep += 2 * kPi;
    }
    const int n = Segments(major, sweep, tolerance);
    for (int i = 0; i <= n; ++i) {
        const double t = start + sweep * i / n;
        const double x = major * std::cos(t), y = major * ratio * std::sin(t);
        out.push_back({c.x + x * std::cos(rot) - y * std::sin(rot),
                       c.y + x * std::sin(rot) + y * std::cos(rot)});
    }
    return out;
}

namespace {

// De Boor's evaluation of the rational B-spline at u (homogeneous coordinates).
Point DeBoor(int p, const std::vector<double>& U, const std::vector<Point>& P,
             const std::vector<double>& W, double u) {
    const int n = static_cast<int>(P.size());
    int k = p;
    while (k < n - 1 && u >= U[k + 1]) ++k;
    std::vector<double> dx(p + 1), dy(p + 1), dw(p + 1);
    for (int j = 0; j <= p; ++j) {
        const int i = std::clamp(j + k - p, 0, n - 1);
        dw[j] = W[i];
        dx[j] = P[i].x * W[i];
        dy[j] = P[i].y * W[i];
    }
    for (int r = 1; r <= p; ++r) {
        for (int j = p; j >= r; --j) {
            const double den = U[j + 1 + k - r] - U[j + k - p];
            const double a = den == 0 ? 0 : (u - U[j + k - p]) / den;
            dx[j] = (1 - a) * dx[j - 1] + a * dx[j];
            dy[j] = (1 - a) * dy[j - 1] + a * dy[j];
            dw[j] = (1 - a) * dw[j - 1] + a * dw[j];
        }
    }
    if (dw[p] == 0) return P[k];
    return {dx[p] / dw[p], dy[p] / dw[p]};
}

}  // namespace

std::vector<Point> SplinePoints(const Entity& e, double tolerance) {
    if (e.points.empty()) {
        // Fit points only: the cubic through them that CAD programs draw.
        CubicSpline cubic;
        if (!InterpolateFitPoints(e.fit, e.start_tangent, e.end_tangent, e.closed, cubic))
            return e.fit;
        Entity through;
        through.degree = 3;
        through.knots = std::move(cubic.knots);
        for (const Point& p : cubic.control) through.points.push_back({p, 0});
        return SplinePoints(through, tolerance);
    }
    std::vector<Point> ctrl;
    for (const auto& v : e.points) ctrl.push_back(v.p);
    if (ctrl.size() < 2) return ctrl;
    const int p = std::clamp(e.degree, 1, static_cast<int>(ctrl.size()) - 1);
    std::vector<double> W = e.weights;
    W.resize(ctrl.size(), 1.0);
    for (double& w : W)
        if (!(w > 0) || !std::isfinite(w)) w = 1.0;
    std::vector<double> U = e.knots;
    const std::size_t need = ctrl.size() + p + 1;
    bool valid = U.size() == need && std::is_sorted(U.begin(), U.end()) &&
                 std::all_of(U.begin(), U.end(), [](double k) { return std::isfinite(k); });
    if (!valid) {
        // A clamped uniform knot vector when the file's does not fit.
        U.assign(need, 0);
        const std::size_t inner = need - 2 * static_cast<std::size_t>(p + 1);
        for (std::size_t i = 0; i < need; ++i) {
            if (i <= static_cast<std::size_t>(p))
                U[i] = 0;
            else if (i >= need - p - 1)
                U[i] = 1;
            else
                U[i] = double(i - p) / double(inner + 1);
        }
    }
    const double u0 = U[p], u1 = U[ctrl.size()];
    if (!(u1 > u0)) return ctrl;
    // Segments from the control polygon's length against the tolerance.
    double length = 0;
    for (std::size_t i = 1; i < ctrl.size(); ++i)
        length += std::hypot(ctrl[i].x - ctrl[i - 1].x, ctrl[i].y - ctrl[i - 1].y);
    const double perSpan = tolerance > 0 ? std::sqrt(length / (8 * tolerance)) : 8;
    const int n = std::clamp(static_cast<int>(std::ceil(perSpan * p)), 8, 20000);
    std::vector<Point> out;
    out.reserve(n + 1);
    for (int i = 0; i <= n; ++i) {
        const double u = u0 + (u1 - u0) * i / n;
        out.push_back(DeBoor(p, U, ctrl, W, std::min(u, u1 - (u1 - u0) * 1e-12)));
    }
    out.back() = DeBoor(p, U, ctrl, W, u1 - (u1 - u0) * 1e-12);
    return out;
}

}  // namespace xomplot::dxf
