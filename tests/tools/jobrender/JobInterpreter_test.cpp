#include "tools/jobrender/JobInterpreter.h"

#include <gtest/gtest.h>

#include "JobBuilder.h"

namespace jobrender {
namespace {

using namespace jobrender::testing;
const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};

RenderResult Render(const std::string& job, Image& img, const RenderOptions& o = TenPluPerPixel()) {
    return RenderJobToImage(job, o, img);
}

// A PE polygon: pen-up to the first corner, then the others, closed by the first again.
std::string PeSquare(int x0, int y0, int size) {
    return "PE=" + std::string("<") + PePair(x0, y0) + ";PMPE" + PePair(size, 0) + PePair(0, size) +
           PePair(-size, 0) + PePair(0, -size) + ";PM2FP";
}

TEST(JobInterpreter, SkipsTicketAndPjlBeforeTheGraphics) {
    const std::string prefix =
        "<?xml version=\"1.0\"?><JobTicket>PE PM FP</JobTicket>\x1b%-12345X@PJL JOB\r\n"
        "@PJL ENTER LANGUAGE=PCL\r\n";
    Image img;
    const RenderResult r = Render(prefix + Page() + "SP1;" + PeSquare(300, 300, 200) + kEnd, img);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(CountColour(img, kBlack), 400);
    EXPECT_EQ(r.warnings.total(), 0u);
}

TEST(JobInterpreter, PolylineEncodedFormsAgree) {
    // The same L-shaped line: relative 8-bit, absolute pairs, and the 7-bit form.
    const std::string relative = "PE<=" + PePair(200, 500) + PePair(1000, 0) + PePair(0, 300) + ";";
    const std::string absolute =
        "PE<=" + PePair(200, 500) + "=" + PePair(1200, 500) + "=" + PePair(1200, 800) + ";";
    const std::string seven =
        "PE7<=" + PePair(200, 500, true) + PePair(1000, 0, true) + PePair(0, 300, true) + ";";
    Image a, b, c;
    for (auto [job, img] : {std::pair{relative, &a}, {absolute, &b}, {seven, &c}}) {
        const RenderResult r = Render(Page() + "SP1;PW2.54;LA1,1,2,1;" + job + kEnd, *img);
        ASSERT_TRUE(r.ok) << r.error;
    }
    EXPECT_EQ(a.rgb, b.rgb);
    EXPECT_EQ(a.rgb, c.rgb);
    // 2.54 mm = 100 plu = 10 pixels wide: rows 45..54 from x = 200 to 1200 and the miter corner.
    EXPECT_EQ(a.at(20, 50), kBlack);
    EXPECT_EQ(a.at(19, 50), kWhite);   // butt end
    EXPECT_EQ(a.at(124, 54), kBlack);  // mitered outer corner
    EXPECT_EQ(a.at(124, 20), kBlack);
    EXPECT_EQ(a.at(124, 19), kWhite);
}

TEST(JobInterpreter, FractionalBitsScaleTheCoordinates) {
    Image a, b;
    ASSERT_TRUE(Render(Page() + "SP1;PE>" + PeNumber(2) + "<=" + PePair(1200, 1200) +
                           PePair(800, 0) + PePair(0, 800) + PePair(-800, 0) + ";" + kEnd,
                       a)
                    .ok);
    ASSERT_TRUE(Render(Page() + "SP1;PE<=" + PePair(300, 300) + PePair(200, 0) + PePair(0, 200) +
                           PePair(-200, 0) + ";" + kEnd,
                       b)
                    .ok);
    EXPECT_EQ(a.rgb, b.rgb);
}

TEST(JobInterpreter, PointFactorScalingMakesAUserUnitADot) {
    // SC with type 2: one user unit is 1.693333 plu (a dot at 600 dpi).
    Image img;
    const RenderResult r =
        Render(Page() + "SC0,1.693333,0,1.693333,2;SP1;" + PeSquare(100, 100, 300) + kEnd, img, [] {
            RenderOptions o;
            o.dpi = 60;  // ten dots a pixel
            return o;
        }());
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(CountColour(img, kBlack), 30 * 30, 70);
}

TEST(JobInterpreter, PenColoursFollowPcCrNpAndSp) {
    Image img;
    const std::string job = Page() + "NP4;CR0,100,0,100,0,100;PC2,100,0,50;SP2;" +
                            PeSquare(100, 100, 200) + "PC3,0,0,100;SP6;" + PeSquare(500, 100, 200) +
                            "CR;PC3;SP3;" + PeSquare(900, 100, 200) + kEnd;
    ASSERT_TRUE(Render(job, img).ok);
    EXPECT_EQ(img.at(15, 85), (Rgb{255, 0, 128}));  // 50 of 100 is 128 of 255
    EXPECT_EQ(img.at(55, 85), (Rgb{0, 0, 255}));    // pen 6 of 4 is pen (6 - 1) mod 3 + 1 = 3
    EXPECT_EQ(img.at(95, 85), (Rgb{0, 255, 0}));    // PC3 alone: pen 3's default, green
}

TEST(JobInterpreter, UndefinedPensUseTheGivenTable) {
    RenderOptions o = TenPluPerPixel();
    o.undefinedPens.assign(256, Rgb{1, 2, 3});
    Image img;
    ASSERT_TRUE(Render(Page() + "NP255;SP40;" + PeSquare(100, 100, 200) + kEnd, img, o).ok);
    EXPECT_EQ(img.at(15, 85), (Rgb{1, 2, 3}));
}

TEST(JobInterpreter, FillRulesOfFp) {
    // Two squares running the same way round, overlapping: FP0 (even-odd) leaves the overlap,
    // FP1 (non-zero) fills it.
    const std::string rings =
        "SP1;PA100,100;PM0;PD500,100,500,500,100,500,100,100;PM1;PU300,300;"
        "PD700,300,700,700,300,700,300,300;PM2;";
    Image eo, nz;
    ASSERT_TRUE(Render(Page() + rings + "FP0;" + kEnd, eo).ok);
    ASSERT_TRUE(Render(Page() + rings + "FP1;" + kEnd, nz).ok);
    EXPECT_EQ(eo.at(40, 60), kWhite);
    EXPECT_EQ(nz.at(40, 60), kBlack);
    EXPECT_EQ(CountColour(eo, kBlack), 1600 * 2 - 800);
    EXPECT_EQ(CountColour(nz, kBlack), 1600 * 2 - 400);
}

TEST(JobInterpreter, HatchAndShadingFills) {
    Image hatch, shade, edge;
    ASSERT_TRUE(
        Render(Page() + "SP1;PW0.254;AC0,5;FT3,100,0;" + PeSquare(100, 100, 800) + kEnd, hatch).ok);
    // Horizontal lines 10 pixels apart, one pixel wide, through the anchor at y = 5 plu.
    EXPECT_EQ(hatch.at(50, 79), kBlack);  // y = 205
    EXPECT_EQ(hatch.at(50, 75), kWhite);
    EXPECT_NEAR(CountColour(hatch, kBlack), 8 * 80, 90);
    ASSERT_TRUE(Render(Page() + "SP1;FT10,25;" + PeSquare(100, 100, 800) + kEnd, shade).ok);
    EXPECT_EQ(shade.at(50, 50), (Rgb{191, 191, 191}));
    ASSERT_TRUE(
        Render(Page() + "SP1;PW1.27;PA100,100;PM0;PD900,100,900,900,100,900;PM2;EP;" + kEnd, edge)
            .ok);
    EXPECT_EQ(edge.at(50, 50), kWhite);  // only the outline
    EXPECT_EQ(edge.at(10, 50), kBlack);
}

TEST(JobInterpreter, MergeControlAndsOverlappingColours) {
    Image img;
    ASSERT_TRUE(Render(Page() + "PC2,255,255,0;PC3,0,255,255;MC1;SP2;" + PeSquare(100, 100, 400) +
                           "SP3;" + PeSquare(300, 100, 400) + kEnd,
                       img)
                    .ok);
    EXPECT_EQ(img.at(20, 80), (Rgb{255, 255, 0}));
    EXPECT_EQ(img.at(40, 80), (Rgb{0, 255, 0}));  // yellow AND cyan
    Image opaque;
    ASSERT_TRUE(Render(Page() + "PC2,255,255,0;PC3,0,255,255;MC0;SP2;" + PeSquare(100, 100, 400) +
                           "SP3;" + PeSquare(300, 100, 400) + kEnd,
                       opaque)
                    .ok);
    EXPECT_EQ(opaque.at(40, 80), (Rgb{0, 255, 255}));
}

TEST(JobInterpreter, RotationTurnsTheCoordinateSystem) {
    // RO90: user (x, y) is printer (2000 - y, x).
    Image img;
    ASSERT_TRUE(Render(Page() + "RO90;SP1;" + PeSquare(100, 100, 200) + kEnd, img).ok);
    EXPECT_EQ(CountColour(img, kBlack), 400);
    EXPECT_EQ(img.at(185, 85), kBlack);  // printer X 1700..1900, Y 100..300
}

TEST(JobInterpreter, DrawingAfterThePageEndIsCountedNotDrawn) {
    Image img;
    const RenderResult r = Render(
        Page() + "SP1;" + PeSquare(100, 100, 200) + "PG;" + PeSquare(500, 100, 200) + kEnd, img);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.pages, 1u);
    EXPECT_EQ(CountColour(img, kBlack), 400);
    EXPECT_EQ(r.warnings.afterPageEnd, 1u);
}

// Black pixels of row y between columns x0 and x1.
int InkOnRow(const Image& img, int y, int x0, int x1) {
    int n = 0;
    for (int x = x0; x < x1; ++x) n += img.at(x, y) == kBlack;
    return n;
}

TEST(JobInterpreter, LineTypesDashLinesAndLtAloneMakesThemSolid) {
    // Pattern 2.54 mm = 100 plu = 10 pixels: type 2 is 5 pixels down, 5 up.
    const auto line = [](int y) { return "PE<=" + PePair(200, y) + PePair(1000, 0) + ";"; };
    Image img;
    const RenderResult r = Render(Page() + "SP1;PW2.54;LA1,1;LT2,2.54,1;" + line(700) + "LT;" +
                                      line(500) + "LT99;" + line(300) + "LT-2,2.54,1;" +
                                      "PE<=" + PePair(200, 100) + PePair(95, 0) + ";" + kEnd,
                                  img);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.warnings.total(), 0u);
    EXPECT_NEAR(InkOnRow(img, 30, 20, 120), 50, 2);
    EXPECT_EQ(img.at(21, 30), kBlack);
    EXPECT_EQ(img.at(23, 30), kBlack);
    EXPECT_EQ(img.at(27, 30), kWhite);
    EXPECT_EQ(img.at(31, 30), kBlack);
    EXPECT_EQ(InkOnRow(img, 50, 20, 120), 100) << "LT alone: solid";
    EXPECT_NEAR(InkOnRow(img, 70, 20, 120), 50, 2) << "LT99: the dashes again";
    // Adaptive: 9.5 pixels hold one whole pattern, so the line ends in its gap.
    EXPECT_NEAR(InkOnRow(img, 90, 20, 30), 5, 1);
    EXPECT_EQ(img.at(28, 90), kWhite);
}

TEST(JobInterpreter, ALineTypeOutOfRangeIsIgnoredAndCounted) {
    Image img;
    const RenderResult r =
        Render(Page() + "SP1;PW2.54;LA1,1;LT9;LT2,-1;LT2,1,2;PE<=" + PePair(200, 500) +
                   PePair(1000, 0) + ";" + kEnd,
               img);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.warnings.badParameters, 3u);
    EXPECT_EQ(InkOnRow(img, 50, 20, 120), 100);
}

TEST(JobInterpreter, UnknownCommandsAndEscapesAreSkippedAndCounted) {
    Image img;
    const RenderResult r = Render(Page() +
                                      "SP1;XX1,2;CI50;LBHello; PD9,9;\x03"
                                      "DT*;LBBye*\x1b&l0O\x1b%0B" +
                                      PeSquare(100, 100, 200) + kEnd,
                                  img);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(CountColour(img, kBlack), 400);
    EXPECT_EQ(r.warnings.unknownCommands, 4u);  // XX, CI and two labels
    EXPECT_EQ(r.warnings.byName.at("CI"), 1u);
    EXPECT_EQ(r.warnings.unsupportedPcl, 1u);
}

TEST(JobInterpreter, BadParametersAreIgnoredAndCounted) {
    Image img;
    const RenderResult r = Render(
        Page() + "SP1;PW-3;RO45;SC0,0,1,1;NP1;PC999,1,2,3;" + PeSquare(100, 100, 200) + kEnd, img);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.warnings.badParameters, 5u);
    EXPECT_EQ(CountColour(img, kBlack), 400);
}

TEST(JobInterpreter, MalformedStreamsGiveAnErrorWithItsOffset) {
    struct Case {
        std::string job;
        const char* what;
    };
    const std::string page = Page();
    const Case cases[] = {
        {page + "PE" + PeNumber(5) + ";", "pair cut short"},
        {page + "PE" + std::string(12, '?') + ";", "longer than 54 bits"},
        {page + "PE" + std::string(3, '?'), "cut short"},
        {page + "\x1b", "escape sequence cut short"},
        {page + "\x1b%0A\x1b*b100W" + std::string(10, 'x'), "past the end"},
        {page + "\x1b%0A\x1b*r" + std::string(40, '1') + "A", "longer than 32"},
        {page + "\x1b%0A\x1b*r1\x01", "bad character"},
    };
    for (const Case& c : cases) {
        Image img;
        const RenderResult r = Render(c.job, img);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_NE(r.error.find(c.what), std::string::npos) << r.error;
        EXPECT_GE(r.errorOffset, page.size()) << c.what;
    }
}

class RecordingRaster : public PclRasterHandler {
  public:
    void begin_pass() override { commands.clear(); }
    bool command(const PclCommand& c, RasterCanvas& canvas) override {
        commands.push_back(std::string(1, c.group) + c.parameter + std::to_string(int(c.value)) +
                           (c.data.empty() ? "" : ":" + std::string(c.data)));
        if (c.group == 'b' && c.parameter == 'W')
            canvas.fill_rect(canvas.cursor_x(), canvas.cursor_y() - 100, canvas.cursor_x() + 100,
                             canvas.cursor_y(), Rgb{0, 0, 255}, false);
        return c.group != 't';
    }
    std::vector<std::string> commands;
};

TEST(JobInterpreter, RasterCommandsGoToTheHookWithThePenAsCursor) {
    RecordingRaster raster;
    RenderOptions o = TenPluPerPixel();
    o.raster = &raster;
    const std::string job = Page() + "PE<=" + PePair(500, 600) + ";\x1b%1A\x1b*t300R\x1b*r2t2S" +
                            "\x1b*r1A\x1b*b2m3Wabc\x1b*rC\x1b%1B" + kEnd;
    Image img;
    const RenderResult r = Render(job, img, o);
    ASSERT_TRUE(r.ok) << r.error;
    const std::vector<std::string> expected{"tR300", "rT2", "rS2", "rA1", "bM2", "bW3:abc", "rC0"};
    EXPECT_EQ(raster.commands, expected);
    EXPECT_EQ(r.warnings.unsupportedRaster, 1u);  // the handler refused "*t"
    EXPECT_EQ(img.at(55, 45), (Rgb{0, 0, 255}));
    // Without a handler every raster command is skipped and counted.
    const RenderResult plain = Render(job, img);
    ASSERT_TRUE(plain.ok);
    EXPECT_EQ(plain.warnings.unsupportedRaster, 7u);
    EXPECT_EQ(CountColour(img, Rgb{0, 0, 255}), 0);
}

}  // namespace
}  // namespace jobrender
