#include "hdi/HT_Actions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "FakeDevice.h"
#include "support/TangledOutline.h"

namespace {

HT_Contour_Set_Data Rect(float x0, float y0, float x1, float y1) {
    HT_Contour_Set_Data c;
    c.contours = {{{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}}};
    return c;
}

double Length(const std::vector<HT_DCI_Point>& p) {
    double l = 0;
    for (size_t i = 0; i + 1 < p.size(); ++i)
        l += std::hypot(p[i + 1].x - p[i].x, p[i + 1].y - p[i].y);
    return l;
}

TEST(StandardPolyline, ClipsToTheClipRegionAndHandsBackUnclipped) {
    FakeDevice d;
    HT_Contour_Set_Data clip = Rect(100, 100, 200, 200);
    HT_Rendition r;
    r.clip = &clip;
    r.line.weight = 5;
    // Crosses the clip window twice: in, out, in again.
    const HT_DCI_Point pts[] = {{0, 150, 0}, {300, 150, 0}, {300, 180, 0}, {0, 180, 0}};
    HD_Standard_Draw_DCI_Polyline(&d, r, 4, pts);
    ASSERT_EQ(d.polylines.size(), 2u);
    for (const auto& p : d.polylines) {
        EXPECT_EQ(p.rendition.clip, nullptr);
        EXPECT_EQ(p.rendition.line.pattern, 0);
        EXPECT_EQ(p.rendition.line.weight, 5);
        for (const auto& q : p.points) {
            EXPECT_GE(q.x, 100);
            EXPECT_LE(q.x, 200);
        }
        EXPECT_NEAR(Length(p.points), 100.0, 1.0);
    }
}

TEST(StandardPolyline, LineOutsideTheClipDrawsNothing) {
    FakeDevice d;
    HT_Contour_Set_Data clip = Rect(100, 100, 200, 200);
    HT_Rendition r;
    r.clip = &clip;
    const HT_DCI_Point pts[] = {{0, 0, 0}, {50, 50, 0}};
    HD_Standard_Draw_DCI_Polyline(&d, r, 2, pts);
    EXPECT_TRUE(d.polylines.empty());
}

TEST(StandardPolyline, SelfIntersectingClipStillClipsEvenOdd) {
    FakeDevice d;
    // A bow tie: Boost refuses it, the crossing clip takes it.
    HT_Contour_Set_Data clip;
    clip.contours = {{{0, 0, 0}, {100, 100, 0}, {100, 0, 0}, {0, 100, 0}}};
    HT_Rendition r;
    r.clip = &clip;
    const HT_DCI_Point pts[] = {{-50, 10, 0}, {150, 10, 0}};
    HD_Standard_Draw_DCI_Polyline(&d, r, 2, pts);
    ASSERT_EQ(d.polylines.size(), 2u);  // the two lobes near y = 10
    for (const auto& p : d.polylines) EXPECT_NEAR(Length(p.points), 10.0, 1.5);
}

TEST(StandardPolyline, DashesWithThePatternScaled) {
    FakeDevice d;
    HT_Rendition r;
    r.line.pattern = 1;  // 24 on, 12 off
    r.line.pattern_scale = 2.0f;
    const HT_DCI_Point pts[] = {{0, 0, 0}, {720, 0, 0}};
    HD_Standard_Draw_DCI_Polyline(&d, r, 2, pts);
    const auto dashes = HT_Line_Pattern_Dashes(1);
    ASSERT_EQ(dashes.size(), 2u);
    ASSERT_EQ(d.polylines.size(), 10u);  // 720 / (2 * 36)
    for (size_t i = 0; i < d.polylines.size(); ++i) {
        const auto& p = d.polylines[i];
        EXPECT_EQ(p.rendition.line.pattern, 0);
        EXPECT_NEAR(Length(p.points), 48.0, 1.0);
        EXPECT_EQ(p.points.front().x, static_cast<int>(i) * 72);
    }
}

TEST(StandardPolyline, DashPhaseRunsAcrossCorners) {
    FakeDevice d;
    HT_Rendition r;
    r.line.pattern = 1;
    const HT_DCI_Point pts[] = {{0, 0, 0}, {30, 0, 0}, {30, 30, 0}};
    HD_Standard_Draw_DCI_Polyline(&d, r, 3, pts);
    ASSERT_GE(d.polylines.size(), 1u);
    // The first dash (24) fits in the first leg; the second starts 36 along, round the corner.
    EXPECT_NEAR(Length(d.polylines[0].points), 24.0, 1.0);
    ASSERT_EQ(d.polylines.size(), 2u);
    EXPECT_EQ(d.polylines[1].points.front().x, 30);
    EXPECT_EQ(d.polylines[1].points.front().y, 6);
}

TEST(StandardPolyline, TooFinePatternIsReportedNotDrawnSolid) {
    SPMP<HT_Error_Handler> handler(new HT_Error_Handler());
    HT_Set_Host_Error_Handler(handler.get());
    FakeDevice d;
    HT_Rendition r;
    r.line.pattern = 2;
    r.line.pattern_scale = 1e-9f;
    const HT_DCI_Point pts[] = {{0, 0, 0}, {30000, 0, 0}};
    HD_Standard_Draw_DCI_Polyline(&d, r, 2, pts);
    HT_Set_Host_Error_Handler(nullptr);
    EXPECT_TRUE(d.polylines.empty());
    ASSERT_EQ(handler->reports().size(), 1u);
    EXPECT_NE(handler->reports()[0].item.find("too fine"), std::string::npos);
}

TEST(StandardPolyline, DashLengthFollowsTheDevicesPatternScale) {
    // The device's pattern scale is its dots per half inch: a dash is as long on paper at
    // 100 dpi (scale 50) as at 600 dpi (scale 300).
    for (const int dpi : {100, 300, 600}) {
        FakeDevice d;
        d.renderer_options().pattern_scale = dpi * 0.5;
        HT_Rendition r;
        r.line.pattern = 1;                                       // 24 on, 12 off at 600 dpi
        const HT_DCI_Point pts[] = {{0, 0, 0}, {dpi * 2, 0, 0}};  // two inches
        HD_Standard_Draw_DCI_Polyline(&d, r, 2, pts);
        ASSERT_EQ(d.polylines.size(), 34u) << dpi;  // 1200 / 36 at 600 dpi, 33 whole and a part
        EXPECT_NEAR(Length(d.polylines[0].points), 24.0 * dpi / 600, 0.6) << dpi;
    }
}

TEST(StandardPolyline, DashesAreCutOnlyWhereTheLineCrossesThePage) {
    FakeDevice d;
    d.renderer_options().window_width = 3600;
    d.renderer_options().window_height = 1000;
    HT_Rendition r;
    r.line.pattern = 1;
    r.line.weight = 4;
    // 400 km of line of which 3600 dots lie on the page: 100 dashes, not a solid line.
    const HT_DCI_Point pts[] = {{-200000000, 500, 0}, {200000000, 500, 0}};
    HD_Standard_Draw_DCI_Polyline(&d, r, 2, pts);
    EXPECT_NEAR(static_cast<double>(d.polylines.size()), 100.0, 2.0);
    for (const auto& p : d.polylines)
        for (const auto& q : p.points) {
            EXPECT_GE(q.x, -4);
            EXPECT_LE(q.x, 3604);
        }
}

TEST(StandardPolygon, ClipsWithBoostAndHandsBackSolidLineUnclipped) {
    FakeDevice d;
    HT_Contour_Set_Data clip = Rect(0, 0, 100, 100);
    HT_Rendition r;
    r.clip = &clip;
    r.line.pattern = 3;
    const HT_RGB red{0, 0, 255, 0};
    const HT_DCI_Point pts[] = {{50, 50, 0}, {150, 50, 0}, {150, 150, 0}, {50, 150, 0}};
    HD_Standard_Draw_DCI_Polygon(&d, r, 4, pts, &red);
    ASSERT_EQ(d.polygons.size(), 1u);
    const auto& p = d.polygons[0];
    EXPECT_EQ(p.rendition.clip, nullptr);
    EXPECT_EQ(p.rendition.line.pattern, 0);
    EXPECT_TRUE(p.has_colour);
    EXPECT_EQ(p.colour.r, 255);
    ASSERT_EQ(p.points.size(), 4u);
    for (const auto& q : p.points) {
        EXPECT_TRUE(q.x == 50 || q.x == 100);
        EXPECT_TRUE(q.y == 50 || q.y == 100);
    }
}

double Area(const std::vector<HT_DCI_Point>& p) {
    double a = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const auto& u = p[i];
        const auto& v = p[(i + 1) % p.size()];
        a += double(u.x) * v.y - double(v.x) * u.y;
    }
    return std::fabs(a) / 2;
}

std::vector<HT_DCI_Point> Circle(int n, int radius = 400) {
    std::vector<HT_DCI_Point> pts;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        pts.push_back({static_cast<int>(std::lround(radius + 100 + radius * std::cos(a))),
                       static_cast<int>(std::lround(radius + 100 + radius * std::sin(a))), 0});
    }
    return pts;
}

TEST(StandardPolygon, PieceWithAHoleIsCutIntoDevicePolygonsAroundIt) {
    FakeDevice d;
    HT_Contour_Set_Data clip;
    clip.contours = Rect(0, 0, 100, 100).contours;
    clip.contours.push_back(Rect(40, 40, 60, 60).contours[0]);  // even-odd: a hole
    HT_Rendition r;
    r.clip = &clip;
    const HT_DCI_Point pts[] = {{-10, -10, 0}, {110, -10, 0}, {110, 110, 0}, {-10, 110, 0}};
    HD_Standard_Draw_DCI_Polygon(&d, r, 4, pts, nullptr);
    EXPECT_TRUE(d.polylines.empty());  // no hairline spans
    ASSERT_FALSE(d.polygons.empty());
    double area = 0;
    for (const auto& p : d.polygons) {
        area += Area(p.points);
        double cx = 0, cy = 0;
        for (const auto& q : p.points) cx += q.x, cy += q.y;
        cx /= double(p.points.size()), cy /= double(p.points.size());
        EXPECT_FALSE(cx > 40 && cx < 60 && cy > 40 && cy < 60);
    }
    EXPECT_DOUBLE_EQ(area, 100.0 * 100 - 20 * 20);
}

TEST(StandardPolygon, UpTo1024PointsGoToThePolygonActionLargerAreTiled) {
    HT_Rendition r;
    {
        FakeDevice d;
        auto pts = Circle(1024);
        HD_Standard_Draw_DCI_Polygon(&d, r, 1024, pts.data(), nullptr);
        EXPECT_EQ(d.polygons.size(), 1u);
        EXPECT_TRUE(d.polylines.empty());
    }
    for (const int n : {1025, 20000}) {
        FakeDevice d;
        auto pts = Circle(n, 3000);
        const HT_RGB blue{255, 0, 0, 0};
        HD_Standard_Draw_DCI_Polygon(&d, r, n, pts.data(), &blue);
        EXPECT_TRUE(d.polylines.empty()) << n;
        ASSERT_GE(d.polygons.size(), 2u) << n;
        double area = 0;
        size_t points = 0;
        for (const auto& p : d.polygons) {
            EXPECT_LE(p.points.size(), 1024u);
            EXPECT_TRUE(p.has_colour);
            EXPECT_EQ(p.colour.b, 255);
            area += Area(p.points);
            points += p.points.size();
        }
        // The tiles cover the outline once: their areas add up to its area (rounding of the cut
        // points to whole dots aside), with few points added by the cuts.
        EXPECT_NEAR(area, Area(pts), Area(pts) * 1e-4) << n;
        EXPECT_LT(static_cast<double>(points), 1.1 * n + 64) << n;
    }
}

bool InsideRing(const std::vector<HT_DCI_Point>& ring, double x, double y) {
    bool in = false;
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const auto &a = ring[i], &b = ring[j];
        if ((a.y > y) != (b.y > y) && x < double(b.x - a.x) * (y - a.y) / double(b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

TEST(StandardPolygon, SelfIntersectingOutlineIsTiledEvenOddNotScanned) {
    FakeDevice d;
    HT_Rendition r;
    const auto outline = xomtest::TangledOutline(20000, 7, 1000, 1000, 900);
    std::vector<HT_DCI_Point> pts;
    pts.reserve(outline.size());
    for (const auto& p : outline) pts.push_back({int(p.x), int(p.y), 0});
    HD_Standard_Draw_DCI_Polygon(&d, r, int(pts.size()), pts.data(), nullptr);
    EXPECT_TRUE(d.polylines.empty());  // no hairline spans
    ASSERT_GE(d.polygons.size(), 2u);
    size_t points = 0;
    for (const auto& p : d.polygons) {
        EXPECT_LE(p.points.size(), 1024u);
        points += p.points.size();
    }
    EXPECT_LT(static_cast<double>(points), 1.2 * 20000);
    // Away from the outline, every point lies in exactly one tile where the outline's even-odd
    // rule says inside, in none elsewhere; the curve is wound twice in places, so a non-zero
    // fill would not pass.
    const xomtest::OutlineRaster ref(outline, 100, 100, 1800, 1800);
    int compared = 0, agree = 0, twice = 0;
    for (int j = 0; j < ref.height(); j += 3)
        for (int i = 0; i < ref.width(); i += 3) {
            if (ref.near_edge(i, j)) continue;
            const double x = ref.x0() + i + 0.5, y = ref.y0() + j + 0.5;
            int cover = 0;
            for (const auto& p : d.polygons) cover += InsideRing(p.points, x, y);
            ++compared;
            agree += cover == (ref.inside(i, j) ? 1 : 0);
            twice += std::abs(ref.winding(i, j)) >= 2;
        }
    EXPECT_GT(twice, compared / 100);
    EXPECT_GE(double(agree) / compared, 0.99);
}

TEST(StandardPolygon, ARandomOutlineOfTwentyThousandPointsIsCutIntoCellsNotScanned) {
    // Uniformly random vertices: about ten million crossings, far too many to resolve. The
    // outline is cut into cells the device fills even-odd, still no hairline spans. The page is
    // large so that most of it lies away from the edges.
    FakeDevice d;
    d.renderer_options().window_width = d.renderer_options().window_height = 1 << 20;
    HT_Rendition r;
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(1000, 1000000);
    std::vector<HT_DCI_Point> pts;
    pts.reserve(20000);
    for (int i = 0; i < 20000; ++i) pts.push_back({coord(rng), coord(rng), 0});
    HD_Standard_Draw_DCI_Polygon(&d, r, int(pts.size()), pts.data(), nullptr);
    EXPECT_TRUE(d.polylines.empty());
    ASSERT_GE(d.polygons.size(), 2u);
    struct Bounds {
        int x0, y0, x1, y1;
    };
    std::vector<Bounds> bounds;
    for (const auto& p : d.polygons) {
        EXPECT_LE(p.points.size(), 1024u);
        Bounds b{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (const auto& q : p.points)
            b = {std::min(b.x0, q.x), std::min(b.y0, q.y), std::max(b.x1, q.x),
                 std::max(b.y1, q.y)};
        bounds.push_back(b);
    }
    // Cells do not overlap, so a point away from the outline is inside (even-odd) exactly one
    // piece where the outline's even-odd rule says inside, and in none elsewhere.
    int compared = 0, agree = 0;
    for (int y = 1500; y < 1000000; y += 21011)
        for (int x = 1500; x < 1000000; x += 19997) {
            const double px = x + 0.5, py = y + 0.5;
            bool near = false;
            for (size_t k = 0; k < pts.size() && !near; ++k) {
                const auto &a = pts[k], &b = pts[(k + 1) % pts.size()];
                const double dx = b.x - a.x, dy = b.y - a.y;
                const double t = std::clamp(
                    ((px - a.x) * dx + (py - a.y) * dy) / std::max(dx * dx + dy * dy, 1.0), 0.0,
                    1.0);
                near = std::hypot(px - a.x - t * dx, py - a.y - t * dy) < 2;
            }
            if (near) continue;
            int cover = 0;
            for (size_t k = 0; k < d.polygons.size(); ++k)
                if (x >= bounds[k].x0 && x <= bounds[k].x1 && y >= bounds[k].y0 &&
                    y <= bounds[k].y1)
                    cover += InsideRing(d.polygons[k].points, px, py);
            ++compared;
            agree += cover == (InsideRing(pts, px, py) ? 1 : 0);
        }
    ASSERT_GT(compared, 1000);
    EXPECT_GE(double(agree) / compared, 0.99);
}

TEST(StandardPolygon, PatternedFaceUnderAClipBoostRefusesIsStillHatched) {
    FakeDevice d;
    d.renderer_options().pattern_scale = 300;  // a hatch line every 60 dots
    // A bow tie, which is cut into its two triangles.
    HT_Contour_Set_Data clip;
    clip.contours = {{{0, 0, 0}, {600, 600, 0}, {600, 0, 0}, {0, 600, 0}}};
    HT_Rendition r;
    r.clip = &clip;
    r.face.pattern = 1;
    const HT_DCI_Point square[] = {{-10, -10, 0}, {610, -10, 0}, {610, 610, 0}, {-10, 610, 0}};
    HD_Standard_Draw_DCI_Polygon(&d, r, 4, square, nullptr);
    // The pieces are hatched by the device; no one-dot spans come back.
    EXPECT_TRUE(d.polylines.empty());
    ASSERT_EQ(d.polygons.size(), 2u);
    for (const auto& p : d.polygons) EXPECT_EQ(p.rendition.face.pattern, 1);

    FakeDevice scanned;
    scanned.renderer_options().pattern_scale = 300;
    // A square, and far from it a contour with a point that is not a number.
    HT_Contour_Set_Data nan = Rect(0, 0, 600, 600);
    nan.contours.push_back({{5000, 5000, 0}, {NAN, 5000, 0}, {5000, 5100, 0}});
    r.clip = &nan;
    HD_Standard_Draw_DCI_Polygon(&scanned, r, 4, square, nullptr);
    // Boost cannot take the clip: hatch lines a tenth of an inch apart, not spans on every row.
    EXPECT_TRUE(scanned.polygons.empty());
    EXPECT_GE(scanned.polylines.size(), 9u);
    EXPECT_LE(scanned.polylines.size(), 12u);
}

TEST(StandardPolygon, PatternedFaceOfALargePolygonIsHatchedNotFilled) {
    FakeDevice d;
    d.renderer_options().pattern_scale = 300;  // 600 dpi: a hatch line every 60 dots
    HT_Rendition r;
    r.face.pattern = 1;
    auto pts = Circle(1025);
    HD_Standard_Draw_DCI_Polygon(&d, r, 1025, pts.data(), nullptr);
    EXPECT_TRUE(d.polygons.empty());
    // As high as wide: vertical lines, one way across the whole polygon.
    EXPECT_NEAR(static_cast<double>(d.polylines.size()), 800.0 / 60, 1.5);
    for (const auto& s : d.polylines) EXPECT_EQ(s.points[0].x, s.points[1].x);
}

TEST(StandardPolygon, SpansStayInsideTheDeviceWindow) {
    FakeDevice d;
    d.renderer_options().window_width = 50;
    d.renderer_options().window_height = 20;
    HT_Rendition r;
    HT_Contour_Set_Data clip = Rect(-2e9f, -2e9f, 2e9f, 2e9f);
    r.clip = &clip;
    // A huge self-intersecting outline: scan clip, limited to the window rows and columns.
    const HT_DCI_Point pts[] = {{-1000000000, -1000000000, 0},
                                {1000000000, 1000000000, 0},
                                {1000000000, -1000000000, 0},
                                {-1000000000, 1000000000, 0}};
    HD_Standard_Draw_DCI_Polygon(&d, r, 4, pts, nullptr);
    EXPECT_LE(d.polylines.size(), 40u);
    for (const auto& s : d.polylines) {
        EXPECT_GE(s.points[0].y, 0);
        EXPECT_LT(s.points[0].y, 20);
        EXPECT_GE(s.points[0].x, 0);
        EXPECT_LE(s.points[1].x, 49);
    }
}

TEST(StandardPolytriangle, EachTriangleBecomesAPolygon) {
    FakeDevice d;
    HT_Rendition r;
    const HT_DCI_Point pts[] = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}, {10, 10, 0}, {20, 0, 0}};
    HD_Standard_Draw_DCI_Polytriangle(&d, r, 5, pts);
    ASSERT_EQ(d.polygons.size(), 3u);
    EXPECT_EQ(d.polygons[2].points[0].x, 0);
    EXPECT_EQ(d.polygons[2].points[2].x, 20);
}

TEST(StandardEllipse, FullEllipseIsAFilledPolygonOnTheOutline) {
    FakeDevice d;
    HT_Rendition r;
    const HT_RGB green{0, 255, 0, 0};
    HD_Standard_Draw_DCI_Ellipse(&d, r, {1000, 1000, 0}, {300, 100, 0}, 0.0f, 6.2831855f, &green);
    ASSERT_EQ(d.polygons.size(), 1u);
    const auto& p = d.polygons[0];
    EXPECT_GE(p.points.size(), 16u);
    EXPECT_LE(p.points.size(), 1024u);
    EXPECT_TRUE(p.has_colour);
    for (const auto& q : p.points) {
        const double u = (q.x - 1000) / 300.0, v = (q.y - 1000) / 100.0;
        EXPECT_NEAR(u * u + v * v, 1.0, 0.02);
    }
}

TEST(StandardEllipse, HugeEllipseKeepsWithin1024Points) {
    FakeDevice d;
    HT_Rendition r;
    HD_Standard_Draw_DCI_Ellipse(&d, r, {0, 0, 0}, {30000, 30000, 0}, 0.0f, 6.2831855f, nullptr);
    ASSERT_EQ(d.polygons.size(), 1u);
    EXPECT_EQ(d.polygons[0].points.size(), 1024u);
}

TEST(StandardEllipse, ArcIsAnOutlineFromStartToEnd) {
    FakeDevice d;
    HT_Rendition r;
    HD_Standard_Draw_DCI_Ellipse(&d, r, {0, 0, 0}, {100, 100, 0}, 0.0f, 1.5707964f, nullptr);
    EXPECT_TRUE(d.polygons.empty());
    ASSERT_EQ(d.polylines.size(), 1u);
    const auto& p = d.polylines[0].points;
    EXPECT_EQ(p.front().x, 100);
    EXPECT_EQ(p.front().y, 0);
    EXPECT_EQ(p.back().x, 0);
    EXPECT_EQ(p.back().y, 100);
}

TEST(StandardArc, FullTurnAndMoreIsOneClosedOutline) {
    for (const float end : {6.2831855f, 9.424778f, 20.0f}) {
        FakeDevice d;
        HT_Rendition r;
        r.line.weight = 8;
        HD_Standard_Draw_DCI_Elliptical_Arc(&d, r, {1000, 1000, 0}, {300, 200, 0}, 0.0f, end);
        EXPECT_TRUE(d.polygons.empty()) << end;  // an outline, never a filled disc
        ASSERT_EQ(d.polylines.size(), 1u) << end;
        const auto& p = d.polylines[0].points;
        EXPECT_EQ(p.front().x, p.back().x);
        EXPECT_EQ(p.front().y, p.back().y);
        EXPECT_LE(p.size(), 1025u);
        double turned = 0;  // the outline goes round once
        for (size_t i = 0; i + 1 < p.size(); ++i)
            turned += std::remainder(std::atan2(p[i + 1].y - 1000.0, p[i + 1].x - 1000.0) -
                                         std::atan2(p[i].y - 1000.0, p[i].x - 1000.0),
                                     2 * M_PI);
        EXPECT_NEAR(turned, 2 * M_PI, 1e-6) << end;
        EXPECT_EQ(d.polylines[0].rendition.line.weight, 8);
    }
}

TEST(StandardArc, RunsCounterClockwiseThroughZeroWhenEndIsSmaller) {
    FakeDevice d;
    HT_Rendition r;
    const float deg = static_cast<float>(M_PI / 180);
    HD_Standard_Draw_DCI_Elliptical_Arc(&d, r, {0, 0, 0}, {100, 100, 0}, 300 * deg, 60 * deg);
    ASSERT_EQ(d.polylines.size(), 1u);
    const auto& p = d.polylines[0].points;
    EXPECT_EQ(p.front().x, 50);  // 300 degrees
    EXPECT_EQ(p.front().y, -87);
    EXPECT_EQ(p.back().x, 50);  // 60 degrees
    EXPECT_EQ(p.back().y, 87);
    for (const auto& q : p) EXPECT_GE(q.x, 49);  // the 120 degrees through 0, not the 240 others
    EXPECT_TRUE(std::any_of(p.begin(), p.end(), [](const HT_DCI_Point& q) { return q.x == 100; }));
}

TEST(FillPolygon, HatchesHorizontallyAtTheSpacingInsideEvenOdd) {
    FakeDevice d;
    HT_Rendition r;
    r.line.weight = 3;
    const HT_DCI_Point pts[] = {{0, 0, 0}, {100, 0, 0}, {100, 95, 0}, {0, 95, 0}};
    HD_Fill_2DI_Polygon(&d, r, 4, pts, 1, 10, true, 0);
    ASSERT_EQ(d.polylines.size(), 10u);  // y = 0, 10, ..., 90
    for (size_t i = 0; i < d.polylines.size(); ++i) {
        const auto& p = d.polylines[i];
        EXPECT_EQ(p.points[0].y, static_cast<int>(i) * 10);
        EXPECT_EQ(p.points[0].x, 0);
        EXPECT_EQ(p.points[1].x, 100);
        EXPECT_EQ(p.rendition.line.weight, 3);
    }
}

TEST(FillPolygon, HatchesVerticallyAndRespectsTheClip) {
    FakeDevice d;
    HT_Contour_Set_Data clip = Rect(0, 0, 50, 200);
    HT_Rendition r;
    r.clip = &clip;
    const HT_DCI_Point pts[] = {{0, 0, 0}, {100, 0, 0}, {100, 20, 0}, {0, 20, 0}};
    HD_Fill_2DI_Polygon(&d, r, 4, pts, 1, 20, false, 0);
    ASSERT_EQ(d.polylines.size(), 3u);  // x = 0, 20, 40 (the clip ends at 50)
    for (const auto& p : d.polylines) {
        EXPECT_EQ(p.points[0].x, p.points[1].x);
        EXPECT_LE(p.points[0].x, 50);
        EXPECT_EQ(p.rendition.clip, nullptr);
    }
}

TEST(StandardRoutines, DeviceThatHandsEverythingBackStillTerminates) {
    // A device whose polygon action calls the standard routine again with the same polygon.
    class Looping : public FakeDevice {
      public:
        Looping() {
            m_actions.draw_dci_polygon.set(this, [](HT_Renderer_Data* d, const HT_Rendition& r,
                                                    int n, const HT_DCI_Point* p, const HT_RGB* c) {
                ++static_cast<Looping*>(d)->calls;
                HD_Standard_Draw_DCI_Polygon(d, r, n, p, c);
            });
        }
        int calls = 0;
    } d;
    HT_Rendition r;
    const HT_DCI_Point pts[] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    HD_Standard_Draw_DCI_Polygon(&d, r, 3, pts, nullptr);
    EXPECT_GT(d.calls, 0);
    EXPECT_LT(d.calls, 100);
}

TEST(StandardRoutines, StandardActionsInTheTableDoNotCallThemselves) {
    HT_Plotter_Device_Data d;
    d.set_standard_actions(true);
    HT_Rendition r;
    const HT_DCI_Point pts[] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    d.draw_dci_polyline(r, 3, pts);
    d.draw_dci_polygon(r, 3, pts, nullptr);
    d.draw_dci_ellipse(r, {0, 0, 0}, {5, 5, 0}, 0, 6.2831855f, nullptr);
    SUCCEED();
}

TEST(StandardRoutines, DcFormsRoundHalfAwayFromZero) {
    FakeDevice d;
    HT_Rendition r;
    const HT_DC_Point pts[] = {{2.5f, -2.5f, 0}, {-2.6f, 1.49f, 0}};
    HD_Standard_Draw_DC_Polyline(&d, r, 2, pts);
    ASSERT_EQ(d.polylines.size(), 1u);
    EXPECT_EQ(d.polylines[0].points[0].x, 3);
    EXPECT_EQ(d.polylines[0].points[0].y, -3);
    EXPECT_EQ(d.polylines[0].points[1].x, -3);
    EXPECT_EQ(d.polylines[0].points[1].y, 1);
}

}  // namespace
