// Geometry through the whole plot: a drawing plotted by xomplot through the driver and the host's
// standard routines, its job rendered by the job renderer, and the pixels compared with shapes
// computed here from the drawing alone (signed distances), away from their edges.
#include "tools/xomplot/PlotRun.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <vector>

#include "hdi/HT_Color_Index.h"
#include "support/TangledOutline.h"
#include "tests/tools/xomplot/LinkedPrinter.h"
#include "tools/jobrender/JobRenderer.h"

namespace {

namespace fs = std::filesystem;
using jobrender::Rgb;
using Sdf = std::function<double(double, double)>;  // negative inside, in dots

struct V {
    double x, y;
};

double SegmentDistance(V p, V a, V b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / l2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// Even-odd polygon.
Sdf Polygon(std::vector<V> pts) {
    return [pts = std::move(pts)](double x, double y) {
        bool in = false;
        double d = HUGE_VAL;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const V a = pts[i], b = pts[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
            d = std::min(d, SegmentDistance({x, y}, a, b));
        }
        return in ? -d : d;
    };
}
Sdf Capsule(V a, V b, double r) {
    return [=](double x, double y) { return SegmentDistance({x, y}, a, b) - r; };
}
// A segment with butt ends, extended by `extend` at both ends (square caps: r).
Sdf Box(V a, V b, double r, double extend = 0) {
    const double l = std::hypot(b.x - a.x, b.y - a.y);
    const V u{(b.x - a.x) / l, (b.y - a.y) / l};
    const V n{-u.y, u.x};
    const V a2{a.x - u.x * extend, a.y - u.y * extend}, b2{b.x + u.x * extend, b.y + u.y * extend};
    return Polygon({{a2.x + n.x * r, a2.y + n.y * r},
                    {b2.x + n.x * r, b2.y + n.y * r},
                    {b2.x - n.x * r, b2.y - n.y * r},
                    {a2.x - n.x * r, a2.y - n.y * r}});
}
Sdf Disc(V c, double r) {
    return [=](double x, double y) { return std::hypot(x - c.x, y - c.y) - r; };
}
// The analyzer follows the std::function copies of an initializer list of shapes into their
// heap storage and loses them at the end of the tests that build such unions; the shapes are
// values owned by vectors and functions, nothing is allocated by hand.
Sdf Union(std::vector<Sdf> parts) {
    return [parts = std::move(parts)](double x, double y) {
        double d = HUGE_VAL;
        for (const Sdf& s : parts) d = std::min(d, s(x, y));
        return d;
    };
}
Sdf Intersect(Sdf a, Sdf b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) {
        return std::max(a(x, y), b(x, y));
    };
}
Sdf Rect(double x0, double y0, double x1, double y1) {
    return Polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

class PlotGeometryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("xomplot_geometry_" + std::to_string(getpid()));
        fs::create_directories(dir);
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        printer = std::make_unique<xomtest::LinkedPrinter>(dir);
        printer->Link(dir / "config");
    }
    void TearDown() override {
        printer.reset();
        unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(dir);
    }

    // Plots the drawing on ISO A4 portrait (5 mm margins) and renders its job at the plot's
    // resolution, so a pixel is a dot.
    void Plot(const std::string& drawing, int resolution = 100, const std::string& mode = "Color",
              std::vector<Rgb> printerPens = {}) {
        const fs::path drw = dir / "d.drw", job = dir / "d.job";
        std::ofstream(drw) << drawing;
        xomplot::PlotOptions o;
        o.driver_path = std::string(XOM_TEST_DRIVER_DIR) + "/xomq15.hdi";
        o.drawing_path = drw.string();
        o.output_file = job.string();
        o.media = "ISO_A4";
        o.resolution = std::to_string(resolution) + "_DPI";
        o.color_mode = mode;
        o.messages = nullptr;
        o.config_name = "linked";
        const xomplot::PlotResult result = xomplot::RunPlot(o);
        ASSERT_EQ(result.outcome, xomplot::PlotOutcome::Complete);
        std::ifstream in(job, std::ios::binary);
        jobBytes.assign(std::istreambuf_iterator<char>(in), {});
        jobrender::RenderOptions r;
        r.dpi = resolution;
        r.undefinedPens = std::move(printerPens);
        const jobrender::RenderResult rendered = jobrender::RenderJobToImage(jobBytes, r, image);
        ASSERT_TRUE(rendered.ok) << rendered.error;
        EXPECT_EQ(rendered.warnings.total(), 0u);
        offset = std::ceil(5.0 / 25.4 * resolution);
        // The quarter turn of portrait media uses the length rounded up to whole dots.
        top = std::ceil(297.0 / 25.4 * resolution) - offset;
    }
    Rgb At(double x, double y) const {  // drawing dots
        return image.at(static_cast<int>(std::floor(x + offset)),
                        static_cast<int>(std::floor(top - y)));
    }
    // Share of the pixels in the box, at least 1.5 dots from the shape's edge, whose ink agrees
    // with the shape; `ink` tells what counts as drawn.
    double Agreement(const Sdf& shape, double x0, double y0, double x1, double y1,
                     const std::function<bool(Rgb)>& ink, int* compared = nullptr) const {
        int agree = 0, n = 0;
        for (int row = 0; row < image.height; ++row) {
            const double y = top - (row + 0.5);
            if (y < y0 || y > y1) continue;
            for (int col = 0; col < image.width; ++col) {
                const double x = col + 0.5 - offset;
                if (x < x0 || x > x1) continue;
                const double d = shape(x, y);
                if (std::fabs(d) < 1.5) continue;
                ++n;
                agree += (d < 0) == ink(image.at(col, row));
            }
        }
        if (compared) *compared = n;
        return n ? double(agree) / n : 0;
    }
    static bool NotWhite(Rgb c) { return !(c == Rgb{255, 255, 255}); }

    fs::path dir;
    std::unique_ptr<xomtest::LinkedPrinter> printer;
    std::string jobBytes;
    jobrender::Image image;
    double offset = 0, top = 0;
};

TEST_F(PlotGeometryTest, LinesOfEveryCapAndJoin) {
    Plot(
        "polyline weight=20 cap=butt : 100,1000 500,1000\n"
        "polyline weight=20 cap=square : 100,900 500,900\n"
        "polyline weight=20 cap=round : 100,800 500,800\n"
        "polyline weight=20 cap=triangle : 100,700 500,700\n"
        "polyline weight=20 startcap=butt endcap=square : 100,600 500,600\n"
        "polyline weight=20 cap=butt join=miter : 600,700 700,1000 800,700\n"
        "polyline weight=20 cap=butt join=bevel : 600,300 600,500 800,500\n"
        "polyline weight=20 cap=butt join=round : 100,100 100,400 400,400\n");
    const V a{100, 0}, b{500, 0};
    auto at = [](V p, double y) { return V{p.x, y}; };
    struct Case {
        const char* what;
        Sdf shape;
        double y;
    };
    const double tri = 10;
    const std::vector<Case> lines = {
        {"butt", Box(at(a, 1000), at(b, 1000), 10), 1000},
        {"square", Box(at(a, 900), at(b, 900), 10, 10), 900},
        {"round", Capsule(at(a, 800), at(b, 800), 10), 800},
        {"triangle",
         Union({Box(at(a, 700), at(b, 700), 10),
                Polygon({{100, 690}, {100, 710}, {100 - tri, 700}}),
                Polygon({{500, 690}, {500, 710}, {500 + tri, 700}})}),
         700},
        // One line-end setting serves both ends: different caps are drawn round.
        {"mixed caps drawn round", Capsule(at(a, 600), at(b, 600), 10), 600},
    };
    for (const Case& c : lines)
        EXPECT_GE(Agreement(c.shape, 60, c.y - 40, 540, c.y + 40, NotWhite), 0.99) << c.what;

    // Miter: the outer edges meet in a point above the apex (half width / sin(half angle)).
    const double half = std::atan2(100.0, 300.0);  // half the angle between the arms
    const Sdf miter = Union({Box({600, 700}, {700, 1000}, 10), Box({700, 1000}, {800, 700}, 10),
                             Polygon({{700 - 30 / std::sqrt(10.0), 1000 + 10 / std::sqrt(10.0)},
                                      {700, 1000 + 10 / std::sin(half)},
                                      {700 + 30 / std::sqrt(10.0), 1000 + 10 / std::sqrt(10.0)},
                                      {700, 1000}})});
    EXPECT_GE(Agreement(miter, 560, 660, 840, 1060, NotWhite), 0.99) << "miter";
    const Sdf bevel = Union({Box({600, 300}, {600, 500}, 10), Box({600, 500}, {800, 500}, 10),
                             Polygon({{590, 500}, {600, 510}, {600, 500}})});
    EXPECT_GE(Agreement(bevel, 560, 260, 840, 540, NotWhite), 0.99) << "bevel";
    const Sdf round = Union(
        {Box({100, 100}, {100, 400}, 10), Box({100, 400}, {400, 400}, 10), Disc({100, 400}, 10)});
    EXPECT_GE(Agreement(round, 60, 60, 440, 440, NotWhite), 0.99) << "round";
}  // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks): see Union above

TEST_F(PlotGeometryTest, DiamondJoinIsATriangleHalfALineWidthBeyondTheBevel) {
    // join=diamond is written as HP-GL/2's triangular join. A right angle of a thick line, so
    // that the triangle is a good share of the box around the corner.
    Plot("polyline weight=60 cap=butt join=diamond : 600,300 600,500 800,500\n");
    const double hw = 30;
    // The outer corners of the two arms, the bevel's middle and the apex beyond it.
    const V a{600 - hw, 500}, b{600, 500 + hw};
    const V mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
    const V apex{mid.x - hw / std::sqrt(2.0), mid.y + hw / std::sqrt(2.0)};
    const Sdf diamond = Union({Box({600, 300}, {600, 500}, hw), Box({600, 500}, {800, 500}, hw),
                               Polygon({{600, 500}, a, apex, b})});
    EXPECT_GE(Agreement(diamond, 520, 420, 680, 580, NotWhite), 0.99) << "at the corner";
    EXPECT_GE(Agreement(diamond, 520, 260, 840, 580, NotWhite), 0.99) << "the whole line";
    // The box is small enough that a plain bevel does not pass.
    const Sdf bevel = Union({Box({600, 300}, {600, 500}, hw), Box({600, 500}, {800, 500}, hw),
                             Polygon({{600, 500}, a, b})});
    EXPECT_LT(Agreement(bevel, 520, 420, 680, 580, NotWhite), 0.985);
}  // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks): see Union above

TEST_F(PlotGeometryTest, DotsCirclesOfTheWidthRuleAndEllipses) {
    Plot(
        "dot weight=40 : 200,1000\n"
        "ellipse weight=41 : 400,1000 20,20\n"  // d = 40 <= 41 <= 42: a dot 41 wide
        "ellipse weight=1 : 600,1000 30,30\n"   // a dot as wide as the circle
        "ellipse : 300,600 200,80\n"
        "ellipse weight=6 start=0 end=360 : 300,300 100,100\n");
    EXPECT_GE(Agreement(Disc({200, 1000}, 20), 150, 950, 250, 1050, NotWhite), 0.99);
    EXPECT_GE(Agreement(Disc({400, 1000}, 20.5), 350, 950, 450, 1050, NotWhite), 0.99);
    EXPECT_GE(Agreement(Disc({600, 1000}, 30), 550, 950, 650, 1050, NotWhite), 0.99);
    const Sdf ellipse = [](double x, double y) {
        const double u = (x - 300) / 200, v = (y - 600) / 80;
        return (std::sqrt(u * u + v * v) - 1) * 80;  // close to the distance near the outline
    };
    EXPECT_GE(Agreement(ellipse, 80, 500, 520, 700, NotWhite), 0.99);
    // A full arc is a ring, not a disc.
    const Sdf ring = [](double x, double y) {
        return std::fabs(std::hypot(x - 300, y - 300) - 100) - 3;
    };
    EXPECT_GE(Agreement(ring, 180, 180, 420, 420, NotWhite), 0.99);
    EXPECT_EQ(At(300, 300), (Rgb{255, 255, 255}));
}

std::string CirclePolygon(int n, double cx, double cy, double r, const std::string& attrs = "") {
    std::ostringstream s;
    s << "polygon " << attrs << " :";
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        s << " " << std::lround(cx + r * std::cos(a)) << "," << std::lround(cy + r * std::sin(a));
    }
    s << "\n";
    return s.str();
}

TEST_F(PlotGeometryTest, FilledHatchedLargeAndStripPolygons) {
    Plot("polygon color=1 : 100,900 500,900 300,1100\n" + CirclePolygon(1025, 250, 500, 150) +
         CirclePolygon(20000, 650, 500, 150) +
         "polygon color=5 face=hatch : 100,100 400,100 400,250 100,250\n" +
         CirclePolygon(1100, 650, 200, 100, "color=3 face=hatch") +
         "tristrip : 600,900 650,1100 700,900 750,1100 800,900\n");
    auto red = [](Rgb c) { return c == Rgb{255, 0, 0}; };
    EXPECT_GE(Agreement(Polygon({{100, 900}, {500, 900}, {300, 1100}}), 80, 880, 520, 1120, red),
              0.99);
    EXPECT_GE(Agreement(Disc({250, 500}, 150), 80, 330, 420, 670, NotWhite), 0.99) << "1025 points";
    EXPECT_GE(Agreement(Disc({650, 500}, 150), 480, 330, 820, 670, NotWhite), 0.99)
        << "20000 points";
    EXPECT_GE(Agreement(Union({Polygon({{600, 900}, {650, 1100}, {700, 900}}),
                               Polygon({{650, 1100}, {700, 900}, {750, 1100}}),
                               Polygon({{700, 900}, {750, 1100}, {800, 900}})}),
                        580, 880, 820, 1120, NotWhite),
              0.99)
        << "triangle strip";
    // Hatches: lines a tenth of an inch apart inside, nothing outside.
    for (const auto& [shape, box, colour] :
         {std::tuple{Rect(100, 100, 400, 250), std::vector<double>{80, 80, 420, 270},
                     Rgb{0, 0, 255}},
          std::tuple{Disc({650, 200}, 100), std::vector<double>{530, 80, 770, 320},
                     Rgb{0, 255, 0}}}) {
        int inside = 0, inked = 0, outside = 0;
        for (int row = static_cast<int>(box[1]); row < static_cast<int>(box[3]); ++row)
            for (int column = static_cast<int>(box[0]); column < static_cast<int>(box[2]);
                 ++column) {
                const double x = column, y = row;
                const double d = shape(x + 0.5, y + 0.5);
                const bool ink = At(x + 0.5, y + 0.5) == colour;
                if (d < -1.5) ++inside, inked += ink;
                if (d > 1.5) outside += NotWhite(At(x + 0.5, y + 0.5));
            }
        EXPECT_EQ(outside, 0);
        EXPECT_NEAR(double(inked) / inside, 0.1, 0.03);  // one-dot lines every ten dots
    }
}

TEST_F(PlotGeometryTest, SelfIntersecting20000PointPolygonIsFilledEvenOddAsPolygons) {
    const auto outline = xomtest::TangledOutline(20000, 11, 1150, 1650, 1000);
    std::ostringstream drawing;
    drawing << "polygon color=5 :";
    for (const auto& p : outline) drawing << ' ' << p.x << ',' << p.y;
    drawing << '\n';
    Plot(drawing.str(), 300);
    // Device polygons, not one-dot spans: a few dozen fills, and about the bytes the outline
    // itself needs as PE (2-3 bytes a point).
    size_t fills = 0;
    for (size_t at = jobBytes.find("PM2FP"); at != std::string::npos;
         at = jobBytes.find("PM2FP", at + 1))
        ++fills;
    EXPECT_GE(fills, 2u);
    EXPECT_LE(fills, 200u);
    EXPECT_LT(jobBytes.size(), 20000u * 3 + 4000);
    const xomtest::OutlineRaster ref(outline, 100, 600, 2100, 2100);
    auto blue = [](Rgb c) { return c == Rgb{0, 0, 255}; };
    int compared = 0, agree = 0, twice = 0;
    for (int j = 0; j < ref.height(); ++j)
        for (int i = 0; i < ref.width(); ++i) {
            if (ref.near_edge(i, j)) continue;
            ++compared;
            agree += ref.inside(i, j) == blue(At(ref.x0() + i + 0.5, ref.y0() + j + 0.5));
            twice += std::abs(ref.winding(i, j)) >= 2;
        }
    EXPECT_GT(twice, compared / 100);  // wound twice in places: a non-zero fill would not pass
    EXPECT_GE(double(agree) / compared, 0.99);
}

TEST_F(PlotGeometryTest, ClippedLinesAndPolygons) {
    Plot(
        "polyline weight=10 clip=200,600,600,900 : 100,700 700,700\n"
        "polygon clip=200,100,500,400 : 100,200 600,200 600,500 100,500\n");
    // The line is cut where its middle leaves the window; the pieces keep their round ends.
    EXPECT_GE(Agreement(Capsule({200, 700}, {600, 700}, 5), 60, 650, 740, 750, NotWhite), 0.99);
    EXPECT_GE(Agreement(Intersect(Rect(100, 200, 600, 500), Rect(200, 100, 500, 400)), 60, 60, 640,
                        540, NotWhite),
              0.99);
}

TEST_F(PlotGeometryTest, DashesKeepTheirLengthOnPaperAtEveryResolution) {
    std::vector<double> dashInches;
    for (const int res : {100, 300}) {
        const int k = res / 100;
        const std::string y = "," + std::to_string(500 * k);
        std::string drawing = "polyline weight=" + std::to_string(3 * k);
        drawing.append(" cap=butt pattern=1 scale=5 : ").append(std::to_string(100 * k)).append(y);
        drawing.append(" ").append(std::to_string(700 * k)).append(y).append("\n");
        Plot(drawing, res);
        // Ink runs along the line's middle.
        std::vector<int> runs;
        int run = 0;
        for (int x = 100 * k; x < 700 * k; ++x) {
            if (NotWhite(At(x + 0.5, 500 * k)))
                ++run;
            else if (run)
                runs.push_back(run), run = 0;
        }
        ASSERT_GE(runs.size(), 5u) << res;
        dashInches.push_back(double(runs[1]) / res);
    }
    // 24 dots of a 600 dpi device, scaled by 5: 0.2 inch, at both resolutions.
    EXPECT_NEAR(dashInches[0], 0.2, 0.015);
    EXPECT_NEAR(dashInches[1], 0.2, 0.01);
}

TEST_F(PlotGeometryTest, ColourIndexShowsInEveryColourMode) {
    const std::string square = "polygon color=1 : 100,100 300,100 300,300 100,300\n";
    std::vector<Rgb> cadPens;
    for (int i = 0; i < 256; ++i) {
        const HT_RGB c = HT_Color_Index_To_RGB(i);
        cadPens.push_back({c.r, c.g, c.b});
    }
    struct Mode {
        const char* name;
        Rgb expected;
    };
    for (const Mode& m :
         {Mode{"Color", {255, 0, 0}}, Mode{"Gray", {143, 143, 143}}, Mode{"Monochrome", {0, 0, 0}},
          Mode{"255_Virtual_Pens_Color", {255, 0, 0}},
          Mode{"255_Virtual_Pens_Mono", {255, 0, 0}}}) {
        Plot(square, 100, m.name, cadPens);
        EXPECT_GE(Agreement(Rect(100, 100, 300, 300), 60, 60, 340, 340,
                            [&](Rgb c) { return c == m.expected; }),
                  0.99)
            << m.name;
    }
}

}  // namespace
