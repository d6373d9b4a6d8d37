#include "tools/xomplot/DxfFitSpline.h"

#include <cmath>

namespace xomplot::dxf {

namespace {

Point Sub(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
Point Add(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point Mul(Point a, double k) {
    return {a.x * k, a.y * k};
}
double Length(Point a) {
    return std::hypot(a.x, a.y);
}
double Cross(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}

Point WithLength(Point v, double length) {
    const double l = Length(v);
    return l > 0 ? Mul(v, length / l) : Point{};
}

// The direction at the first point from the first chords (Akima's five-point estimate): the
// chords before the start are continued linearly, and the tangent leans towards the side where
// the polygon turns less.
Point EstimateStart(const std::vector<Point>& q) {
    if (q.size() == 2) return Sub(q[1], q[0]);
    const Point q1 = Sub(q[1], q[0]), q2 = Sub(q[2], q[1]);
    const Point q0 = Sub(Mul(q1, 2), q2), qm1 = Sub(Mul(q0, 2), q1);
    const double v1 = std::fabs(Cross(qm1, q0)), v2 = std::fabs(Cross(q1, q2));
    const double alpha = v1 + v2 > 0 ? v1 / (v1 + v2) : 0.5;
    return Add(Mul(q0, 1 - alpha), Mul(q1, alpha));
}

// The cubic B-spline basis functions not zero at u in the knot span `span` (N[span-3..span]).
void Basis(const std::vector<double>& U, int span, double u, double N[4]) {
    double left[4] = {0, 0, 0, 0}, right[4] = {0, 0, 0, 0};
    N[0] = 1;
    for (int j = 1; j <= 3; ++j) {
        left[j] = u - U[span + 1 - j];
        right[j] = U[span + j] - u;
        double saved = 0;
        for (int r = 0; r < j; ++r) {
            const double den = right[r + 1] + left[j - r];
            const double t = den != 0 ? N[r] / den : 0;
            N[r] = saved + right[r + 1] * t;
            saved = left[j - r] * t;
        }
        N[j] = saved;
    }
}

}  // namespace

bool InterpolateFitPoints(const std::vector<Point>& fit, Point start_tangent, Point end_tangent,
                          bool closed, CubicSpline& out) {
    out = CubicSpline{};
    // Repeated points would give zero-length chords and a singular system.
    std::vector<Point> q;
    for (const Point& p : fit)
        if (std::isfinite(p.x) && std::isfinite(p.y) && (q.empty() || Length(Sub(p, q.back())) > 0))
            q.push_back(p);
    if (closed && q.size() >= 3 && Length(Sub(q.front(), q.back())) > 0) q.push_back(q.front());
    if (q.size() < 2) return false;
    const int n = static_cast<int>(q.size()) - 1;  // the last fit point's index

    std::vector<double> u(q.size(), 0);
    double total = 0;
    for (int k = 1; k <= n; ++k) u[k] = total += Length(Sub(q[k], q[k - 1]));
    if (!(total > 0) || !std::isfinite(total)) return false;
    for (double& v : u) v /= total;
    u[n] = 1;

    Point d0 = start_tangent, dn = end_tangent;
    const bool seam = closed && Length(Sub(q.front(), q.back())) == 0 && n >= 3;
    if (seam && Length(d0) == 0 && Length(dn) == 0) d0 = dn = Sub(q[1], q[n - 1]);
    if (Length(d0) == 0) d0 = EstimateStart(q);
    if (Length(dn) == 0) {
        const std::vector<Point> back(q.rbegin(), q.rend());
        dn = Mul(EstimateStart(back), -1);
    }
    // The tangents' magnitude is the polygon's length (the parameters run over [0, 1]).
    d0 = WithLength(d0, total);
    dn = WithLength(dn, total);

    // Knots: clamped ends, the inner fit points' parameters between.
    std::vector<double>& U = out.knots;
    U.assign(4, 0.0);
    for (int k = 1; k < n; ++k) U.push_back(u[k]);
    U.insert(U.end(), 4, 1.0);

    // n + 3 control points: the ends at the end fit points, the second and the last but one set
    // by the end tangents, the others solved from passing through the inner fit points.
    std::vector<Point>& P = out.control;
    P.assign(static_cast<std::size_t>(n) + 3, Point{});
    P[0] = q[0];
    P[1] = Add(q[0], Mul(d0, U[4] / 3));
    P[n + 2] = q[n];
    P[n + 1] = Sub(q[n], Mul(dn, (1 - U[n + 2]) / 3));
    if (n < 2) return true;
    // Passing through q[k] (k = 1..n-1) at its knot U[k+3]: a[k] P[k] + b[k] P[k+1] + c[k] P[k+2]
    // = q[k], tridiagonal in the unknowns P[2..n].
    const int m = n - 1;
    std::vector<double> a(m), b(m), c(m);
    std::vector<Point> r(m);
    for (int k = 1; k <= m; ++k) {
        double N[4];
        Basis(U, k + 3, u[k], N);
        a[k - 1] = N[0];
        b[k - 1] = N[1];
        c[k - 1] = N[2];
        r[k - 1] = q[k];
    }
    r[0] = Sub(r[0], Mul(P[1], a[0]));
    r[m - 1] = Sub(r[m - 1], Mul(P[n + 1], c[m - 1]));
    // Thomas' algorithm: the system is diagonally dominant enough for cubic collocation at knots.
    for (int i = 1; i < m; ++i) {
        if (b[i - 1] == 0) return false;
        const double w = a[i] / b[i - 1];
        b[i] -= w * c[i - 1];
        r[i] = Sub(r[i], Mul(r[i - 1], w));
    }
    if (b[m - 1] == 0) return false;
    P[m + 1] = Mul(r[m - 1], 1 / b[m - 1]);
    for (int i = m - 2; i >= 0; --i) P[i + 2] = Mul(Sub(r[i], Mul(P[i + 3], c[i])), 1 / b[i]);
    for (const Point& p : P)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    return true;
}

}  // namespace xomplot::dxf
