#include "hdi/HT_Actions.h"

#include <gtest/gtest.h>

#include <cmath>

#include "FakeDevice.h"

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

TEST(StandardPolyline, AbsurdlyFinePatternFallsBackToSolidAndTerminates) {
    FakeDevice d;
    HT_Rendition r;
    r.line.pattern = 2;
    r.line.pattern_scale = 1e-9f;
    const HT_DCI_Point pts[] = {{0, 0, 0}, {1000000, 0, 0}};
    HD_Standard_Draw_DCI_Polyline(&d, r, 2, pts);
    ASSERT_EQ(d.polylines.size(), 1u);
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

TEST(StandardPolygon, HoleFromAnEvenOddClipIsFilledAsSpans) {
    FakeDevice d;
    HT_Contour_Set_Data clip;
    clip.contours = Rect(0, 0, 100, 100).contours;
    clip.contours.push_back(Rect(40, 40, 60, 60).contours[0]);  // even-odd: a hole
    HT_Rendition r;
    r.clip = &clip;
    const HT_DCI_Point pts[] = {{-10, -10, 0}, {110, -10, 0}, {110, 110, 0}, {-10, 110, 0}};
    HD_Standard_Draw_DCI_Polygon(&d, r, 4, pts, nullptr);
    EXPECT_TRUE(d.polygons.empty());
    ASSERT_EQ(d.polylines.size(), 100u + 20u);  // rows 40..59 are split by the hole
    for (const auto& s : d.polylines) {
        ASSERT_EQ(s.points.size(), 2u);
        EXPECT_EQ(s.rendition.line.weight, 1);
        const int y = s.points[0].y;
        if (y >= 40 && y < 60) {
            EXPECT_TRUE(s.points[1].x <= 40 || s.points[0].x >= 60);
        }
    }
}

TEST(StandardPolygon, UpTo1024PointsGoToThePolygonActionLargerAsSpans) {
    auto circle = [](int n) {
        std::vector<HT_DCI_Point> pts;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * M_PI * i / n;
            pts.push_back({static_cast<int>(std::lround(500 + 400 * std::cos(a))),
                           static_cast<int>(std::lround(500 + 400 * std::sin(a))), 0});
        }
        return pts;
    };
    HT_Rendition r;
    {
        FakeDevice d;
        auto pts = circle(1024);
        HD_Standard_Draw_DCI_Polygon(&d, r, 1024, pts.data(), nullptr);
        EXPECT_EQ(d.polygons.size(), 1u);
        EXPECT_TRUE(d.polylines.empty());
    }
    {
        FakeDevice d;
        auto pts = circle(1025);
        const HT_RGB blue{255, 0, 0, 0};
        HD_Standard_Draw_DCI_Polygon(&d, r, 1025, pts.data(), &blue);
        EXPECT_TRUE(d.polygons.empty());
        ASSERT_NEAR(static_cast<double>(d.polylines.size()), 800.0, 2.0);  // one span per row
        for (const auto& s : d.polylines) {
            ASSERT_EQ(s.points.size(), 2u);
            EXPECT_EQ(s.points[0].y, s.points[1].y);
            EXPECT_EQ(s.rendition.color.rgb.b, 255);
            EXPECT_EQ(s.rendition.line.weight, 1);
        }
    }
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
