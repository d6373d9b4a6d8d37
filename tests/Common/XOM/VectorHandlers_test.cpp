#include "Common/XOM/VectorHandlers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "Common/XOM/PlotStreamState.h"
#include "DeviceTestSupport.h"
#include "support/HpglTokenizer.h"

namespace {

HT_DCI_Point P(int x, int y) {
    return {x, y, 0};
}

std::vector<HpglToken> Tokens(const std::string& bytes) {
    auto result = TokenizeHpgl(bytes);
    EXPECT_TRUE(result.ok) << result.error << " at " << result.errorOffset;
    return result.tokens;
}

// Landscape media, so coordinates are not turned and the window is wide.
PlotSetup Landscape() {
    PlotSetup s;
    s.widthMm = 297;
    s.lengthMm = 210;
    return s;
}

// What the host's standard routines hand back to the device, recorded instead of drawn.
struct Recorded {
    static std::vector<std::vector<HT_DCI_Point>> polygons;
    static std::vector<std::vector<HT_DCI_Point>> polylines;
    static std::vector<bool> clipped;
    static void Polygon(HT_Renderer_Data*, const HT_Rendition& r, int n, const HT_DCI_Point* p,
                        const HT_RGB*) {
        polygons.emplace_back(p, p + n);
        clipped.push_back(r.clip != nullptr);
    }
    static void Polyline(HT_Renderer_Data*, const HT_Rendition& r, int n, const HT_DCI_Point* p) {
        polylines.emplace_back(p, p + n);
        clipped.push_back(r.clip != nullptr);
    }
    static void Clear() {
        polygons.clear();
        polylines.clear();
        clipped.clear();
    }
};
std::vector<std::vector<HT_DCI_Point>> Recorded::polygons;
std::vector<std::vector<HT_DCI_Point>> Recorded::polylines;
std::vector<bool> Recorded::clipped;

std::vector<HT_DCI_Point> Ring(int count, int cx, int cy, double radius) {
    std::vector<HT_DCI_Point> pts;
    for (int i = 0; i < count; ++i) {
        const double a = 2 * 3.141592653589793 * i / count;
        pts.push_back(P(cx + static_cast<int>(std::lround(radius * std::cos(a))),
                        cy + static_cast<int>(std::lround(radius * std::sin(a)))));
    }
    return pts;
}

TEST(DcCoordinates, RoundHalfUpForPositiveAndTowardZeroForNegativeHalves) {
    EXPECT_EQ(RoundDcCoordinate(2.5f), 3);
    EXPECT_EQ(RoundDcCoordinate(2.4f), 2);
    EXPECT_EQ(RoundDcCoordinate(-2.5f), -2);
    EXPECT_EQ(RoundDcCoordinate(-2.6f), -3);
    EXPECT_EQ(RoundDcCoordinate(0.0f), 0);
}

TEST(DcCoordinates, OutOfRangeValuesSaturateInsteadOfOverflowing) {
    EXPECT_EQ(RoundDcCoordinate(1e20f), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundDcCoordinate(-1e20f), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RoundDcCoordinate(std::numeric_limits<float>::infinity()),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundDcCoordinate(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(VectorHandlers, DcPolylineDrawsTheRoundedPoints) {
    PlotObserver seen;
    HostPlot a(Landscape());
    a.Begin();
    const HT_DC_Point dc[] = {{10.5f, -2.5f, 0}, {99.4f, 20.6f, 0}};
    DrawDcPolyline(a.device.get(), SolidRendition(), 2, dc);
    const std::string viaDc = a.output().bytes;

    HostPlot b(Landscape());
    b.Begin();
    const HT_DCI_Point dci[] = {P(11, -2), P(99, 21)};
    DrawDciPolyline(b.device.get(), SolidRendition(), 2, dci);
    EXPECT_EQ(viaDc, b.output().bytes);
}

TEST(VectorHandlers, SinglePointPolylineIsADot) {
    PlotObserver seen;
    HostPlot a(Landscape());
    a.Begin();
    const HT_DCI_Point one[] = {P(40, 50)};
    DrawDciPolyline(a.device.get(), SolidRendition(7), 1, one);

    HostPlot b(Landscape());
    b.Begin();
    DrawDciDot(b.device.get(), SolidRendition(7), P(40, 50), nullptr);
    EXPECT_FALSE(a.output().bytes.empty());
    EXPECT_EQ(a.output().bytes, b.output().bytes);
}

TEST(VectorHandlers, DotOutsideTheClipIsDropped) {
    PlotObserver seen;
    HostPlot plot(Landscape());
    plot.Begin();
    HT_Contour_Set_Data clip;
    clip.contours = {{{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}}};
    HT_Rendition r = SolidRendition();
    r.clip = &clip;
    DrawDciDot(plot.device.get(), r, P(500, 500), nullptr);
    EXPECT_TRUE(plot.output().bytes.empty());
    DrawDciDot(plot.device.get(), r, P(50, 50), nullptr);
    EXPECT_FALSE(plot.output().bytes.empty());
}

TEST(VectorHandlers, LineEndsFollowTheCapsAndMixedCapsAreRound) {
    PlotObserver seen;
    HostPlot plot(Landscape());
    plot.Begin();
    HT_Rendition r = SolidRendition();
    r.line.start_cap = r.line.end_cap = HT_CAP_BUTT;
    const HT_DCI_Point pts[] = {P(0, 0), P(100, 0)};
    DrawDciPolyline(plot.device.get(), r, 2, pts);
    r.line.start_cap = HT_CAP_BUTT;
    r.line.end_cap = HT_CAP_SQUARE;
    DrawDciPolyline(plot.device.get(), r, 2, pts);
    const auto tokens = Tokens(plot.output().bytes);
    EXPECT_EQ(CountCommands(tokens, "LA", "1,1"), 1u);
    EXPECT_EQ(CountCommands(tokens, "LA", "1,4"), 1u);
}

TEST(VectorHandlers, PolygonsAboveTheLimitGoToTheHost) {
    PlotObserver seen;
    HostPlot direct(Landscape());
    direct.Begin();
    const auto ring1024 = Ring(1024, 1000, 1000, 400);
    DrawDciPolygon(direct.device.get(), SolidRendition(), 1024, ring1024.data(), nullptr);
    EXPECT_EQ(CountCommands(Tokens(direct.output().bytes), "FP"), 1u);

    HostPlot viaHost(Landscape());
    viaHost.Begin();
    Recorded::Clear();
    viaHost.device->actions().draw_dci_polyline.set(viaHost.device.get(), &Recorded::Polyline);
    const auto ring1025 = Ring(1025, 1000, 1000, 400);
    DrawDciPolygon(viaHost.device.get(), SolidRendition(), 1025, ring1025.data(), nullptr);
    // The host hands it back cut into polygons the device writes as PE polygons, not spans.
    EXPECT_EQ(CountCommands(Tokens(viaHost.output().bytes), "FP"), 2u);
    EXPECT_TRUE(Recorded::polylines.empty());
}

TEST(VectorHandlers, ClippedPolygonIsClippedByTheHost) {
    PlotObserver seen;
    HostPlot plot(Landscape());
    plot.Begin();
    Recorded::Clear();
    plot.device->actions().draw_dci_polygon.set(plot.device.get(), &Recorded::Polygon);
    HT_Contour_Set_Data clip;
    clip.contours = {{{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}}};
    HT_Rendition r = SolidRendition();
    r.clip = &clip;
    const HT_DCI_Point square[] = {P(50, 50), P(200, 50), P(200, 200), P(50, 200)};
    DrawDciPolygon(plot.device.get(), r, 4, square, nullptr);

    EXPECT_TRUE(plot.output().bytes.empty()) << "the clipped polygon itself is not written";
    ASSERT_EQ(Recorded::polygons.size(), 1u);
    EXPECT_FALSE(Recorded::clipped[0]);
    for (const auto& p : Recorded::polygons[0]) {
        EXPECT_TRUE(p.x >= 50 && p.x <= 100 && p.y >= 50 && p.y <= 100) << p.x << "," << p.y;
    }
}

TEST(VectorHandlers, TooSmallPolygonsDrawNothing) {
    PlotObserver seen;
    HostPlot plot(Landscape());
    plot.Begin();
    const HT_DCI_Point two[] = {P(0, 0), P(10, 10)};
    DrawDciPolygon(plot.device.get(), SolidRendition(), 2, two, nullptr);
    DrawDciPolytriangle(plot.device.get(), SolidRendition(), 2, two);
    const HT_DC_Point dc[] = {{0, 0, 0}, {1, 1, 0}};
    DrawDcPolygon(plot.device.get(), SolidRendition(), 2, dc, nullptr);
    EXPECT_TRUE(plot.output().bytes.empty());
}

TEST(VectorHandlers, TriangleStripOfFivePointsIsThreePolygons) {
    PlotObserver seen;
    HostPlot plot(Landscape());
    plot.Begin();
    const HT_DCI_Point strip[] = {P(0, 0), P(0, 100), P(100, 0), P(100, 100), P(200, 0)};
    DrawDciPolytriangle(plot.device.get(), SolidRendition(), 5, strip);
    EXPECT_EQ(CountCommands(Tokens(plot.output().bytes), "FP"), 3u);
    EXPECT_EQ(plot.monitor->polls, 3) << "one cancel poll per triangle";
}

TEST(VectorHandlers, FilledCircleIsADotOfTheOutlineOrDiameterWidth) {
    PlotObserver seen;
    HostPlot plot(Landscape());
    plot.Begin();
    const float start = 0.0f;
    const float end = 6.2831854820251465f;
    DrawDciEllipse(plot.device.get(), SolidRendition(11), P(500, 500), P(5, 5), start, end,
                   nullptr);
    DrawDciEllipse(plot.device.get(), SolidRendition(13), P(600, 500), P(5, 5), start, end,
                   nullptr);
    const auto tokens = Tokens(plot.output().bytes);
    // 11 and 10 dots at 600 dpi, in millimetres.
    EXPECT_EQ(CountCommands(tokens, "PW", "0.47"), 1u);
    EXPECT_EQ(CountCommands(tokens, "PW", "0.42"), 1u);
    EXPECT_EQ(CountCommands(tokens, "PM"), 0u);
}

TEST(VectorHandlers, PartialOrOvalEllipsesGoToTheHost) {
    PlotObserver seen;
    HostPlot plot(Landscape());
    plot.Begin();
    Recorded::Clear();
    plot.device->actions().draw_dci_polygon.set(plot.device.get(), &Recorded::Polygon);
    plot.device->actions().draw_dci_polyline.set(plot.device.get(), &Recorded::Polyline);
    DrawDciEllipse(plot.device.get(), SolidRendition(), P(500, 500), P(50, 30), 0.0f,
                   6.2831854820251465f, nullptr);
    DrawDciEllipse(plot.device.get(), SolidRendition(), P(500, 500), P(50, 50), 0.0f, 3.0f,
                   nullptr);
    EXPECT_TRUE(plot.output().bytes.empty());
    EXPECT_EQ(Recorded::polygons.size(), 1u);
    EXPECT_EQ(Recorded::polylines.size(), 1u);
}

TEST(VectorHandlers, PatternedFaceIsHatchedATenthOfAnInchApart) {
    PlotObserver seen;
    HostPlot plot(Landscape());
    plot.Begin();
    Recorded::Clear();
    plot.device->actions().draw_dci_polyline.set(plot.device.get(), &Recorded::Polyline);
    HT_Rendition r = SolidRendition();
    r.face.pattern = 3;
    r.line.pattern_scale = 2.0f;
    // Taller than wide: vertical hatch lines, 120 dots apart (60 x pattern scale 2).
    const HT_DCI_Point box[] = {P(1000, 1000), P(1600, 1000), P(1600, 2000), P(1000, 2000)};
    DrawDciPolygon(plot.device.get(), r, 4, box, nullptr);
    ASSERT_GE(Recorded::polylines.size(), 4u);
    for (std::size_t i = 1; i < Recorded::polylines.size(); ++i) {
        const auto& line = Recorded::polylines[i];
        ASSERT_EQ(line.size(), 2u);
        EXPECT_EQ(line[0].x, line[1].x) << "vertical";
        EXPECT_EQ(line[0].x - Recorded::polylines[i - 1][0].x, 120);
    }
}

TEST(VectorHandlers, ColourComesFromTheCallOrTheRendition) {
    PlotObserver seen;
    HostPlot rgb(Landscape());  // colour system RGB
    HT_Rendition r = SolidRendition();
    r.color.rgb = HT_RGB{0x30, 0x20, 0x10, 0x99};
    SetDrawingColour(*rgb.device, r, nullptr);
    EXPECT_EQ(g_plotStream.wantedColor, 0x102030u);
    const HT_RGB passed{1, 2, 3, 4};
    SetDrawingColour(*rgb.device, r, &passed);
    EXPECT_EQ(g_plotStream.wantedColor, 0x030201u);

    PlotSetup mapped = Landscape();
    mapped.colorMode = L"255_Virtual_Pens_Color";
    HostPlot pens(mapped);
    r.color.index = 42;
    SetDrawingColour(*pens.device, r, nullptr);
    EXPECT_EQ(g_plotStream.wantedPenIndex, 42);
    r.color.index = 256;
    SetDrawingColour(*pens.device, r, nullptr);
    EXPECT_EQ(g_plotStream.wantedPenIndex, 1);
    r.color.index = -3;
    SetDrawingColour(*pens.device, r, nullptr);
    EXPECT_EQ(g_plotStream.wantedPenIndex, 1);
}

TEST(VectorHandlers, ImagesWithoutPixelsAreLeftToTheHostWhichCannotDrawThem) {
    PlotObserver seen;
    HostPlot plot(Landscape());
    plot.Begin();
    HT_Image image;
    image.kind = HT_IMAGE_KIND_RGB32;
    plot.device->draw_dci_image(SolidRendition(), P(0, 0), image);
    EXPECT_TRUE(plot.output().bytes.empty());
    EXPECT_EQ(plot.device->undrawn_primitives(), 1);
}

}  // namespace
