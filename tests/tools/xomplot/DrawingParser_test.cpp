#include "tools/xomplot/DrawingParser.h"

#include <gtest/gtest.h>

#include <cmath>

namespace xomplot {
namespace {

Drawing MustParse(const std::string& text) {
    Drawing d;
    std::string error;
    EXPECT_TRUE(ParseDrawing(text, "d.drw", d, error)) << error;
    return d;
}

TEST(DrawingParser, EveryActionKindWithItsAttributes) {
    const Drawing d = MustParse(
        "# a comment\n"
        "drawing  Sheet 7: detail A  \n"
        "\n"
        "polyline weight=12 cap=square join=miter color=5 : 10,20 30,40   # trailing comment\n"
        "dcpolyline startcap=butt endcap=triangle pattern=2 scale=0.5 rgb=ff8001 : 1.5,-2.25 "
        "3,4\r\n"
        "polygon face=hatch clip=0,0,100,50 : 0,0 10,0 10,10\n"
        "dcpolygon : 0.5,0.5 10,0 10,10\n"
        "tristrip color=3 : 0,0 1,0 0,1 1,1\n"
        "dot weight=9 rgb=000000 : 5,6\n"
        "ellipse start=90 end=180 : 100,100 50,25\n");
    EXPECT_EQ(d.name, "Sheet 7: detail A");
    ASSERT_EQ(d.actions.size(), 7u);

    const auto& pl = d.actions[0];
    EXPECT_EQ(pl.kind, ActionKind::DciPolyline);
    EXPECT_EQ(pl.source_line, 4);
    EXPECT_EQ(pl.line.weight, 12);
    EXPECT_EQ(pl.line.start_cap, HT_CAP_SQUARE);
    EXPECT_EQ(pl.line.end_cap, HT_CAP_SQUARE);
    EXPECT_EQ(pl.line.join, HT_JOIN_MITER);
    EXPECT_EQ(pl.color.index, 5);
    EXPECT_FALSE(pl.has_rgb);
    EXPECT_EQ(pl.colour(), nullptr);
    ASSERT_EQ(pl.dci.size(), 2u);
    EXPECT_EQ(pl.dci[1].x, 30);

    const auto& dc = d.actions[1];
    EXPECT_EQ(dc.line.start_cap, HT_CAP_BUTT);
    EXPECT_EQ(dc.line.end_cap, HT_CAP_TRIANGLE);
    EXPECT_EQ(dc.line.pattern, 2);
    EXPECT_FLOAT_EQ(dc.line.pattern_scale, 0.5f);
    ASSERT_TRUE(dc.has_rgb);
    EXPECT_EQ(dc.color.rgb.r, 0xff);
    EXPECT_EQ(dc.color.rgb.g, 0x80);
    EXPECT_EQ(dc.color.rgb.b, 0x01);
    EXPECT_FLOAT_EQ(dc.dc[0].y, -2.25f);

    const auto& pg = d.actions[2];
    EXPECT_NE(pg.face.pattern, HT_FACE_PATTERN_SOLID);
    ASSERT_TRUE(pg.has_clip);
    const HT_Rendition r = pg.rendition();
    ASSERT_NE(r.clip, nullptr);
    EXPECT_TRUE(r.clip->point_inside(50, 25));
    EXPECT_FALSE(r.clip->point_inside(50, 75));

    EXPECT_EQ(d.actions[3].kind, ActionKind::DcPolygon);
    EXPECT_EQ(d.actions[4].kind, ActionKind::TriangleStrip);
    EXPECT_EQ(d.actions[5].kind, ActionKind::Dot);
    EXPECT_NE(d.actions[5].colour(), nullptr);

    const auto& el = d.actions[6];
    EXPECT_EQ(el.kind, ActionKind::Ellipse);
    EXPECT_NEAR(el.start, M_PI / 2, 1e-6);
    EXPECT_NEAR(el.end, M_PI, 1e-6);
    EXPECT_EQ(el.dci[1].y, 25);
}

TEST(DrawingParser, FullEllipseByDefaultAndRenditionDefaults) {
    const Drawing d = MustParse("ellipse : 0,0 5,5\npolyline : 1,1\n");
    EXPECT_FLOAT_EQ(d.actions[0].start, 0.0f);
    EXPECT_FLOAT_EQ(d.actions[0].end, 6.2831854820251465f);
    const HT_Line_Rendition defaults;
    EXPECT_EQ(d.actions[1].line.weight, defaults.weight);
    EXPECT_EQ(d.actions[1].face.pattern, HT_FACE_PATTERN_SOLID);
    EXPECT_EQ(d.actions[1].rendition().clip, nullptr);
}

TEST(DrawingParser, RenditionColourFollowsTheColourIndex) {
    // The host hands the device the 24-bit colour of the index (blue, green, red bytes), so an
    // RGB device draws color=1 red; an explicit rgb= colour wins.
    const Drawing d = MustParse(
        "polyline color=1 : 0,0 5,5\npolyline color=150 : 0,0 5,5\npolyline : 0,0 5,5\n"
        "polyline color=1 rgb=102030 : 0,0 5,5\n");
    const HT_RGB red = d.actions[0].rendition().color.rgb;
    EXPECT_EQ(red.r, 255);
    EXPECT_EQ(red.g, 0);
    EXPECT_EQ(red.b, 0);
    const HT_RGB c150 = d.actions[1].rendition().color.rgb;
    EXPECT_EQ(c150.r, 0);
    EXPECT_EQ(c150.g, 127);
    EXPECT_EQ(c150.b, 255);
    EXPECT_EQ(d.actions[1].rendition().color.index, 150);
    const HT_RGB seven = d.actions[2].rendition().color.rgb;  // index 7 draws black on paper
    EXPECT_EQ(seven.r + seven.g + seven.b, 0);
    const HT_RGB own = d.actions[3].rendition().color.rgb;
    EXPECT_EQ(own.r, 0x10);
    EXPECT_EQ(own.b, 0x30);
}

TEST(DrawingParser, EmptyDrawingIsValid) {
    const Drawing d = MustParse("# nothing\n\n   \ndrawing Blank\n");
    EXPECT_TRUE(d.actions.empty());
    EXPECT_EQ(d.name, "Blank");
}

TEST(DrawingParser, BadLinesAreRejectedWithLineAndReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"polyline : 0,0\nsquiggle : 1,1\n", "d.drw:2: unknown drawing action 'squiggle'"},
        {"polyline 0,0 : 1,1\n", "d.drw:1: expected attribute 'name=value'"},
        {"polyline weight=3\n", "d.drw:1: expected ':' before the points of polyline"},
        {"polyline : \n", "d.drw:1: polyline needs at least 1 point"},
        {"polygon : 0,0 1,1\n", "d.drw:1: polygon needs at least 3 points"},
        {"tristrip : 0,0 1,1\n", "d.drw:1: tristrip needs at least 3 points"},
        {"dot : 1,1 2,2\n", "d.drw:1: dot takes exactly 1 point"},
        {"ellipse : 1,1\n", "d.drw:1: ellipse takes 2 points"},
        {"ellipse : 1,1 -5,5\n", "d.drw:1: ellipse radii must not be negative"},
        {"ellipse : 1,1 0,0\n", "d.drw:1: ellipse radii must not be negative"},
        {"polyline : 1.5,2 3,4\n", "d.drw:1: bad point '1.5,2'"},
        {"polyline : 1,2,3\n", "d.drw:1: expected a point 'x,y'"},
        {"polyline : 5000000000,0\n", "d.drw:1: bad point"},
        {"dcpolyline : nan,0\n", "d.drw:1: bad point"},
        {"dcpolyline : inf,0\n", "d.drw:1: bad point"},
        {"dcpolyline : 2e9,0\n", "d.drw:1: bad point"},
        {"polyline weight=-1 : 0,0\n", "d.drw:1: bad weight '-1'"},
        {"polyline weight=3 weight=4 : 0,0\n", "d.drw:1: attribute 'weight' given twice"},
        {"polyline cap=pointy : 0,0\n", "d.drw:1: bad cap 'pointy'"},
        {"polyline join=x : 0,0\n", "d.drw:1: bad join"},
        {"polyline color=256 : 0,0\n", "d.drw:1: bad color '256'"},
        {"polyline rgb=fff : 0,0\n", "d.drw:1: bad rgb 'fff'"},
        {"polyline rgb=gg0000 : 0,0\n", "d.drw:1: bad rgb"},
        {"polyline scale=0 : 0,0\n", "d.drw:1: bad scale"},
        {"polyline clip=5,0,1,9 : 0,0\n", "d.drw:1: bad clip"},
        {"polyline clip=1,2,3 : 0,0\n", "d.drw:1: bad clip"},
        {"polyline clip=1,2,3,4,5 : 0,0\n", "d.drw:1: bad clip"},
        {"polyline start=10 : 0,0\n", "d.drw:1: unknown attribute 'start' for polyline"},
        {"polygon face=dots : 0,0 1,0 1,1\n", "d.drw:1: bad face"},
        {"image : a.png\n", "d.drw:1: image needs kind="},
        {"image kind=rgb32 at=0,0 : a.png\n", "d.drw:1: image needs size="},
        {"image kind=jpeg at=0,0 size=1,1 : a.png\n", "d.drw:1: bad kind 'jpeg'"},
        {"image kind=rgb32 at=0,0 size=0,5 : a.png\n", "d.drw:1: bad size '0,5'"},
        {"image kind=rgb32 at=0,0 size=-3,5 : a.png\n", "d.drw:1: bad size"},
        {"image kind=rgb32 at=0,0 size=5,5 :\n", "d.drw:1: image needs the path"},
        {"image kind=rgb32 at=0,0 size=5,5 a.png\n", "d.drw:1: expected ':'"},
        {"image kind=rgb32 at=x size=5,5 : a.png\n", "d.drw:1: bad at 'x'"},
        {"image kind=rgb32 kind=index8 at=0,0 size=5,5 : a.png\n", "d.drw:1: attribute 'kind' "},
        {"image weight=3 kind=rgb32 at=0,0 size=5,5 : a.png\n", "d.drw:1: unknown attribute"},
        {": 0,0\n", "d.drw:1: missing drawing action"},
        {"drawing\n", "d.drw:1: the drawing header needs a name"},
        {"drawing A\ndrawing B\n", "d.drw:2: a second drawing header"},
        {"dot : 0,0\ndrawing A\n", "d.drw:2: the drawing header must come before"},
        {"dot : 0,0\ndot\x01 : 1,1\n", "d.drw:2: control character"},
    };
    for (const auto& [text, expected] : cases) {
        Drawing d;
        std::string error;
        EXPECT_FALSE(ParseDrawing(text, "d.drw", d, error)) << text;
        EXPECT_EQ(error.rfind(expected, 0), 0u) << "input: " << text << "\ngot: " << error;
        EXPECT_TRUE(d.actions.empty());  // nothing of a bad drawing survives
    }
}

TEST(DrawingParser, ImageLinesWithTheirPlaceSizeAndFile) {
    const Drawing d = MustParse(
        "image kind=bitonal at=10,-20 size=300,200 threshold=90 : scans/plan 1.png\n"
        "image kind=general at=0,0 size=1,1 clip=0,0,5,5 : /abs/photo.png\n");
    ASSERT_EQ(d.actions.size(), 2u);
    const DrawingImage& a = d.actions[0].image;
    EXPECT_EQ(d.actions[0].kind, ActionKind::Image);
    EXPECT_EQ(a.kind, ImageKind::Bitonal);
    EXPECT_EQ(a.x, 10);
    EXPECT_EQ(a.y, -20);
    EXPECT_EQ(a.width, 300);
    EXPECT_EQ(a.height, 200);
    EXPECT_EQ(a.threshold, 90);
    EXPECT_EQ(a.path, "scans/plan 1.png");
    EXPECT_EQ(d.actions[1].image.kind, ImageKind::General);
    EXPECT_TRUE(d.actions[1].has_clip);
}

TEST(DrawingParser, UnreadableImageFilesFailTheWholeDrawing) {
    Drawing d = MustParse("image kind=rgb32 at=0,0 size=5,5 : missing.png\n");
    std::string error;
    EXPECT_FALSE(LoadDrawingImages(d, "/nonexistent/dir/d.drw", error));
    EXPECT_EQ(error.rfind("/nonexistent/dir/d.drw:1: /nonexistent/dir/missing.png", 0), 0u)
        << error;
}

TEST(DrawingParser, TheBundledExampleParses) {
    Drawing d;
    std::string error;
    ASSERT_TRUE(LoadDrawing(XOM_TEST_EXAMPLE_DRAWING, d, error)) << error;
    EXPECT_FALSE(d.name.empty());
    bool kinds[7] = {};
    bool clipped = false, dashed = false;
    for (const auto& a : d.actions) {
        kinds[static_cast<int>(a.kind)] = true;
        clipped |= a.has_clip;
        dashed |= a.line.pattern != 0;
    }
    for (bool k : kinds) EXPECT_TRUE(k);
    EXPECT_TRUE(clipped);
    EXPECT_TRUE(dashed);
}

TEST(DrawingParser, MissingFileIsAnError) {
    Drawing d;
    std::string error;
    EXPECT_FALSE(LoadDrawing("/nonexistent/x.drw", d, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace xomplot
