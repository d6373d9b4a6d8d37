#include "tools/jobrender/Stroker.h"

#include <gtest/gtest.h>

#include <cmath>

namespace jobrender {
namespace {

const Rgb kWhite{255, 255, 255};
const Rgb kInk{0, 0, 0};

BandCanvas Stroke(const std::vector<PointF>& path, bool closed, const StrokeStyle& s,
                  int size = 100) {
    BandCanvas c(size, 0, size, kWhite);
    c.fill(StrokePath(path, closed, s), FillRule::NonZero, Paint{kInk});
    return c;
}

bool Ink(const BandCanvas& c, int col, int row) {
    return c.data()[(row * c.width() + col) * 3] == 0;
}

int Inked(const BandCanvas& c) {
    int n = 0;
    for (int r = 0; r < c.rows(); ++r)
        for (int col = 0; col < c.width(); ++col) n += Ink(c, col, r);
    return n;
}

TEST(Stroker, EndsOfAHorizontalLine) {
    StrokeStyle s;
    s.width = 10;
    s.end = LineEnd::Butt;
    EXPECT_EQ(Inked(Stroke({{20, 50}, {80, 50}}, false, s)), 60 * 10);
    s.end = LineEnd::Square;  // 5 more at each end
    EXPECT_EQ(Inked(Stroke({{20, 50}, {80, 50}}, false, s)), 70 * 10);
    s.end = LineEnd::Round;  // two half discs of radius 5
    EXPECT_NEAR(Inked(Stroke({{20, 50}, {80, 50}}, false, s)), 600 + 3.14159 * 25, 8);
    s.end = LineEnd::Triangular;  // two triangles of base 10 and height 5
    EXPECT_NEAR(Inked(Stroke({{20, 50}, {80, 50}}, false, s)), 600 + 50, 6);
}

TEST(Stroker, JoinsOfARightAngle) {
    StrokeStyle s;
    s.width = 10;
    s.end = LineEnd::Butt;
    const std::vector<PointF> corner{{20, 20}, {60, 20}, {60, 80}};
    s.join = LineJoin::Mitered;  // fills the outer 5 x 5 corner square
    const BandCanvas miter = Stroke(corner, false, s);
    EXPECT_TRUE(Ink(miter, 64, 16));
    s.join = LineJoin::Beveled;  // cuts it diagonally
    const BandCanvas bevel = Stroke(corner, false, s);
    EXPECT_FALSE(Ink(bevel, 64, 16));
    EXPECT_TRUE(Ink(bevel, 61, 17));
    EXPECT_NEAR(Inked(miter) - Inked(bevel), 12.5, 3);
    s.join = LineJoin::Round;
    EXPECT_NEAR(Inked(Stroke(corner, false, s)) - Inked(bevel), 3.14159 * 25 / 4 - 12.5, 3);
    s.join = LineJoin::None;
    EXPECT_NEAR(Inked(bevel) - Inked(Stroke(corner, false, s)), 12.5, 3);
}

TEST(Stroker, MiterBeyondTheLimitIsBeveled) {
    StrokeStyle s;
    s.width = 6;
    s.join = LineJoin::Mitered;
    s.miterLimit = 5;
    // A 10 degree turn back: the miter would reach 1 / sin(5 deg) = 11.5 widths.
    const double a = 10 * 3.14159265 / 180;
    const std::vector<PointF> spike{
        {10, 50}, {80, 50}, {80 - 70 * std::cos(a), 50 + 70 * std::sin(a)}};
    const BandCanvas c = Stroke(spike, false, s, 140);
    for (int col = 86; col < 140; ++col) EXPECT_FALSE(Ink(c, col, 50)) << col;
    s.miterLimit = 20;
    const BandCanvas d = Stroke(spike, false, s, 140);
    EXPECT_TRUE(Ink(d, 100, 48));  // the tip lies on the first segment's outer edge
}

TEST(Stroker, ADotFollowsTheLineEnd) {
    StrokeStyle s;
    s.width = 20;
    s.end = LineEnd::Round;
    EXPECT_NEAR(Inked(Stroke({{50, 50}, {50, 50}}, false, s)), 3.14159 * 100, 12);
    s.end = LineEnd::Square;
    EXPECT_EQ(Inked(Stroke({{50, 50}}, false, s)), 400);
    s.end = LineEnd::Butt;
    EXPECT_EQ(Inked(Stroke({{50, 50}}, false, s)), 0);
}

TEST(Stroker, ThinLinesAreAtLeastOnePixelWide) {
    StrokeStyle s;
    s.width = 0.1;
    EXPECT_EQ(Inked(Stroke({{10, 50.2}, {90, 50.2}}, false, s)), 80);
}

TEST(Stroker, ClosedPathJoinsItsEnds) {
    StrokeStyle s;
    s.width = 4;
    s.join = LineJoin::Mitered;
    const BandCanvas c = Stroke({{20, 20}, {80, 20}, {80, 80}, {20, 80}}, true, s);
    EXPECT_TRUE(Ink(c, 18, 18));  // the corner at the first point is mitered, not left open
    EXPECT_EQ(Inked(c), 64 * 64 - 56 * 56);
}

TEST(Stroker, DiscStaysCloseToTheCircle) {
    const Ring r = Disc({0, 0}, 1000);
    for (std::size_t i = 0; i < r.size(); ++i) {
        const PointF a = r[i], b = r[(i + 1) % r.size()];
        const double mid = std::hypot((a.x + b.x) / 2, (a.y + b.y) / 2);
        EXPECT_GT(mid, 1000 - 0.26);
    }
}

}  // namespace
}  // namespace jobrender
