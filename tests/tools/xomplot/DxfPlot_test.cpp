// DXF drawings end to end: ezdxf writes each drawing and the geometry it expects
// (dxf/make_fixtures.py), xomplot plots it to a file, the job renderer draws the job and the
// picture must show ink on the expected geometry and nowhere else.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>

#include "tests/tools/xomplot/XomplotProcess.h"
#include "tools/jobrender/JobRenderer.h"
#include "tools/xomplot/DxfFlatten.h"
#include "tools/xomplot/DxfTextLayout.h"

namespace {

using namespace xomtest;

constexpr double kDpi = 100;
constexpr double kReach = 3;  // pixels: how far ink may lie from the expected geometry

struct Pt {
    double x, y;
};

// The numbers of a word such as "1.5,-2,3" (separated by commas).
std::vector<double> Numbers(const std::string& word) {
    std::vector<double> out;
    const char* p = word.c_str();
    while (*p) {
        char* end = nullptr;
        const double v = std::strtod(p, &end);
        if (end == p) break;
        out.push_back(v);
        p = *end == ',' ? end + 1 : end;
    }
    return out;
}

std::vector<Pt> Points(std::istringstream& in) {
    std::vector<Pt> out;
    std::string word;
    while (in >> word) {
        const auto v = Numbers(word);
        if (v.size() == 2) out.push_back({v[0], v[1]});
    }
    return out;
}

bool Inside(const std::vector<Pt>& poly, Pt p) {
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
        if ((poly[i].y > p.y) != (poly[j].y > p.y) &&
            p.x < (poly[j].x - poly[i].x) * (p.y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x)
            in = !in;
    return in;
}

class DxfPlotTest : public XomplotCliTest {
  protected:
    static fs::path Fixture(const std::string& name) {
        const fs::path dir = XOM_TEST_DXF_DIR;
        if (!fs::exists(dir / name)) {
            fs::create_directories(dir);
            const std::string cmd = std::string(XOM_TEST_SYSTEM_PYTHON) + " '" +
                                    XOM_TEST_DXF_SCRIPT + "' '" + dir.string() + "'";
            EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
        }
        return dir / name;
    }

    // Plots the drawing at 1:1 on A4 and renders the job.
    RunResult Plot(const std::string& name,
                   std::vector<std::string> extra = {"--scale", "1:1", "--rotate", "0"}) {
        const fs::path out = dir / (name + ".plt");
        std::vector<std::string> args = {"--driver", Driver(), Fixture(name + ".dxf").string(),
                                         "-o", out.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        RunResult r = Xomplot(args);
        if (r.status == 0) {
            jobrender::RenderOptions options;
            options.dpi = kDpi;
            const auto result = jobrender::RenderJobToImage(Read(out), options, image);
            EXPECT_TRUE(result.ok) << result.error;
        }
        return r;
    }

    // Model millimetres to pixels: the frame's centre lies at the printable area's centre of A4
    // (margins 5 mm).
    Pt Pixel(Pt p) const {
        const double x = 5 + 200 / 2.0 + p.x, y = 5 + 287 / 2.0 + p.y;
        return {x / 25.4 * kDpi, (297 - y) / 25.4 * kDpi};
    }
    bool InkAt(int c, int r) const {
        if (c < 0 || r < 0 || c >= image.width || r >= image.height) return false;
        const auto px = image.at(c, r);
        return px.r != 255 || px.g != 255 || px.b != 255;
    }
    bool InkNear(Pt model, double reach = kReach) const {
        const Pt p = Pixel(model);
        for (int r = int(p.y - reach); r <= int(p.y + reach); ++r)
            for (int c = int(p.x - reach); c <= int(p.x + reach); ++c)
                if (InkAt(c, r)) return true;
        return false;
    }

    // Checks the picture against the expect file: ink on every expected line, fill and point,
    // and none outside the expected places.
    void Compare(const std::string& name) {
        std::ifstream in(Fixture(name + ".expect"));
        ASSERT_TRUE(in) << name;
        std::vector<std::uint8_t> allowed(static_cast<std::size_t>(image.width) * image.height);
        auto allow = [&](Pt pixel, double reach) {
            for (int r = int(pixel.y - reach); r <= int(pixel.y + reach); ++r)
                for (int c = int(pixel.x - reach); c <= int(pixel.x + reach); ++c)
                    if (c >= 0 && r >= 0 && c < image.width && r < image.height)
                        allowed[static_cast<std::size_t>(r) * image.width + c] = 1;
        };
        std::vector<std::vector<Pt>> fills;
        std::vector<std::array<double, 4>> boxes;
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string kind;
            words >> kind;
            if (kind == "path" || kind == "fill" || kind == "band") {
                double width = 0;
                if (kind == "band") words >> width;
                const double spread = width / 2 / 25.4 * kDpi;
                const auto pts = Points(words);
                for (std::size_t i = 0; i < pts.size(); ++i) {
                    const Pt a = pts[i], b = i + 1 < pts.size() ? pts[i + 1] : pts[i];
                    const int steps = std::max(1, int(std::hypot(b.x - a.x, b.y - a.y) / 0.5));
                    for (int s = 0; s <= steps; ++s) {
                        const Pt m{a.x + (b.x - a.x) * s / steps, a.y + (b.y - a.y) * s / steps};
                        EXPECT_TRUE(InkNear(m)) << name << ": no ink at " << m.x << "," << m.y;
                        allow(Pixel(m), kReach + 2 + spread);
                    }
                }
                if (kind == "fill") fills.push_back(pts);
            } else if (kind == "box") {
                std::string word;
                words >> word;
                const auto v = Numbers(word);
                ASSERT_EQ(v.size(), 4u) << line;
                const std::array<double, 4> b{v[0], v[1], v[2], v[3]};
                boxes.push_back(b);
                const Pt lo = Pixel({b[0], b[1]}), hi = Pixel({b[2], b[3]});
                bool any = false;
                for (int r = int(hi.y); r <= int(lo.y) && !any; ++r)
                    for (int c = int(lo.x); c <= int(hi.x) && !any; ++c) any = InkAt(c, r);
                EXPECT_TRUE(any) << name << ": no ink in " << line;
            } else if (kind == "ink") {
                const auto pts = Points(words);
                EXPECT_TRUE(InkNear(pts.at(0))) << name << ": no ink near " << line;
            } else if (kind == "colour") {
                const auto pts = Points(words);
                std::string hex;
                std::istringstream(line.substr(line.rfind(' ') + 1)) >> hex;
                const unsigned rgb = static_cast<unsigned>(std::stoul(hex, nullptr, 16));
                const Pt q = Pixel(pts.at(0));
                const auto px = image.at(int(q.x), int(q.y));
                EXPECT_EQ((px.r << 16) | (px.g << 8) | px.b, rgb) << name << ": " << line;
            } else if (kind == "hue") {
                const auto pts = Points(words);
                const unsigned rgb = static_cast<unsigned>(
                    std::stoul(line.substr(line.rfind(' ') + 1), nullptr, 16));
                const Pt q = Pixel(pts.at(0));
                bool found = false;
                for (int r = int(q.y - kReach); r <= int(q.y + kReach) && !found; ++r)
                    for (int c = int(q.x - kReach); c <= int(q.x + kReach) && !found; ++c) {
                        if (!InkAt(c, r)) continue;
                        const auto px = image.at(c, r);
                        found = unsigned((px.r << 16) | (px.g << 8) | px.b) == rgb;
                    }
                EXPECT_TRUE(found) << name << ": " << line;
            } else if (kind == "weight") {
                std::string at, width;
                words >> at >> width;
                const auto v = Numbers(at);
                ASSERT_EQ(v.size(), 2u) << line;
                const double mm = std::strtod(width.c_str(), nullptr);
                const Pt q = Pixel({v[0], v[1]});
                int run = 0;
                for (int r = int(q.y) - 20; r <= int(q.y) + 20; ++r) run += InkAt(int(q.x), r);
                EXPECT_NEAR(run, mm / 25.4 * kDpi, 1.5) << name << ": " << line;
            } else if (kind == "dashed") {
                const auto pts = Points(words);
                int ink = 0, gaps = 0;
                for (int s = 0; s <= 400; ++s) {
                    const Pt m{pts[0].x + (pts[1].x - pts[0].x) * s / 400,
                               pts[0].y + (pts[1].y - pts[0].y) * s / 400};
                    (InkNear(m, 0.5) ? ink : gaps)++;
                }
                EXPECT_GT(ink, 100) << name << ": " << line;
                EXPECT_GT(gaps, 20) << name << ": " << line;
            }
        }
        std::size_t stray = 0;
        Pt first{};
        for (int r = 0; r < image.height; ++r) {
            for (int c = 0; c < image.width; ++c) {
                if (!InkAt(c, r) || allowed[static_cast<std::size_t>(r) * image.width + c])
                    continue;
                const Pt model{c * 25.4 / kDpi - 105, 297 - r * 25.4 / kDpi - 148.5};
                bool ok = false;
                for (const auto& f : fills) ok = ok || Inside(f, model);
                for (const auto& b : boxes)
                    ok = ok ||
                         (model.x >= b[0] && model.x <= b[2] && model.y >= b[1] && model.y <= b[3]);
                if (!ok && stray++ == 0) first = model;
            }
        }
        EXPECT_EQ(stray, 0u) << name << ": ink where none is expected, first at " << first.x << ","
                             << first.y;
    }

    jobrender::Image image;
};

TEST_F(DxfPlotTest, EntitiesArePlottedWhereEzdxfPutsThem) {
    for (const char* name :
         {"lines", "polylines", "tapers", "curves", "splines", "fitsplines", "faces", "inserts"}) {
        SCOPED_TRACE(name);
        const RunResult r = Plot(name);
        ASSERT_EQ(r.status, 0) << r.out << r.err;
        Compare(name);
    }
}

TEST_F(DxfPlotTest, LayersColoursWeightsAndLineTypes) {
    const RunResult r = Plot("properties");
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    Compare("properties");
}

TEST_F(DxfPlotTest, TextsAreFilledOutlinesInTheirBoxes) {
    for (const char* name : {"texts", "wrapped"}) {
        SCOPED_TRACE(name);
        const RunResult r = Plot(name);
        ASSERT_EQ(r.status, 0) << r.out << r.err;
        Compare(name);
    }
}

TEST_F(DxfPlotTest, HatchesFillAroundIslandsAndDrawPatternLines) {
    for (const char* name : {"hatches", "hatchcurves", "patterns"}) {
        SCOPED_TRACE(name);
        const RunResult r = Plot(name);
        ASSERT_EQ(r.status, 0) << r.out << r.err;
        Compare(name);
    }
}

TEST_F(DxfPlotTest, AFloorPlanOfThousandsOfEntitiesPlots) {
    const RunResult r = Plot("floorplan");
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    Compare("floorplan");
}

// Fitting: the frame's 180 x 240 mm fill A4's 200 x 287 mm printable area as far as they can,
// centred; turned a quarter the long side lies across A3's printable area.
TEST_F(DxfPlotTest, FitAndRotateFillThePrintableArea) {
    RunResult r = Plot("lines", {"--media", "ISO_A4"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    // 200 / 180 < 287 / 240: the frame's corners at the printable area's sides.
    const double k = 200.0 / 180.0;
    EXPECT_TRUE(InkNear({-90 * k, -120 * k}, 2));
    EXPECT_TRUE(InkNear({90 * k, 120 * k}, 2));
    EXPECT_TRUE(InkNear({60 * k, 0}, 2));  // the horizontal line's end
    r = Plot("lines", {"--window", "0,0,90,120", "--rotate", "0"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    // The window's 90 x 120 mm at 200 / 90: the frame's corner (90,120) at the right edge.
    EXPECT_TRUE(InkNear({100, 60 * 200.0 / 90}, 3));
    // The slanted line (0,-80)-(40,80) within the window at y = 4, clipped at its edge y = -4
    // where the sheet still has room below the window.
    const double w = 200.0 / 90;
    EXPECT_TRUE(InkNear({(21 - 45) * w, (4 - 60) * w}, 3));
    EXPECT_FALSE(InkNear({(19 - 45) * w, (-4 - 60) * w}, 3));
    r = Plot("lines", {"--media", "ISO_A4", "--rotate", "90"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    // Turned: the frame's 240 mm run across the 200 mm width.
    const double t = 200.0 / 240.0;
    EXPECT_TRUE(InkNear({120 * t, -90 * t}, 2));
    EXPECT_TRUE(InkNear({0, 60 * t}, 2));  // the horizontal line stands upright
    EXPECT_FALSE(InkNear({-50, 0}, 2));
}

TEST_F(DxfPlotTest, BadDrawingsAreRefusedWithTheirReason) {
    const std::pair<const char*, const char*> bad[] = {
        {"selfinsert", "block 'A' inserts itself (A -> B -> A)"},
        {"truncated", "truncated"},
        {"binary", "binary DXF is not supported"},
        {"empty", "holds nothing to plot"},
    };
    for (const auto& [name, why] : bad) {
        const RunResult r = Plot(name);
        EXPECT_EQ(r.status, 1) << name << r.out << r.err;
        EXPECT_NE((r.out + r.err).find(why), std::string::npos) << name << ": " << r.out << r.err;
    }
}

TEST_F(DxfPlotTest, WhatIsNotDrawnIsListedInOneWarning) {
    RunResult r = Plot("notdrawn");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("entities not drawn: LEADER 1, XLINE 2"), std::string::npos) << r.err;
    r = Plot("unknown-version");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("unknown DXF version 'AC9999'"), std::string::npos) << r.err;
    r = Plot("absurd");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("coordinates out of range not drawn"), std::string::npos) << r.err;
}

// A pattern hatch never loses lines silently: one cut short at the drawing's point budget refuses
// the drawing as any drawing past the budget is, and a family of more lines than a sheet can take
// is left out with a warning.
TEST(DxfHatchLimits, WhatAPatternHatchCannotDrawIsSaid) {
    using namespace xomplot::dxf;
    auto square = [](double side) {
        Entity e;
        e.kind = EntityKind::Hatch;
        e.pattern = "ANSI31";
        e.pattern_scale = 1;
        e.loops.push_back({{{{0, 0}}, {{side, 0}}, {{side, side}}, {{0, side}}}});
        return e;
    };
    const TextOutliner noText = [](const std::string&, double, std::vector<std::vector<Point>>&,
                                   double&, std::string&) { return false; };
    Document doc;
    doc.entities.push_back(square(100));  // 45 lines 3.175 apart, 2 points each
    Flattened out;
    std::string error;
    FlattenLimits limits;
    EXPECT_TRUE(Flatten(doc, 0.01, noText, limits, out, error)) << error;
    limits.max_points = 40;
    out = {};
    EXPECT_FALSE(Flatten(doc, 0.01, noText, limits, out, error));
    EXPECT_EQ(error, "the drawing expands to more than 40 points");

    doc.entities[0].pattern_scale = 0.001;  // 44,000 lines
    out = {};
    EXPECT_TRUE(Flatten(doc, 0.001, noText, FlattenLimits{}, out, error)) << error;
    EXPECT_TRUE(out.primitives.empty());
    ASSERT_EQ(out.warnings.size(), 1u);
    EXPECT_EQ(out.warnings[0], "1 hatch pattern line families too dense for the sheet not drawn");
}

// MTEXT's \~ is a space that wrapping never breaks at.
TEST(DxfTextWrap, ANoBreakSpaceKeepsItsWordsOnOneLine) {
    using namespace xomplot::dxf;
    std::vector<std::string> lines = DecodeText("aa\\~bb cc dd", true);
    ASSERT_EQ(lines, (std::vector<std::string>{"aa\xC2\xA0"
                                               "bb cc dd"}));
    // Each byte one unit wide: "aa bb" (6) does not fit 5 with anything, but stays whole.
    const TextOutliner bytes = [](const std::string& text, double, std::vector<std::vector<Point>>&,
                                  double& width, std::string&) {
        width = static_cast<double>(text.size());
        return true;
    };
    std::string why;
    ASSERT_TRUE(WrapLines(lines, 5, bytes, why)) << why;
    EXPECT_EQ(lines, (std::vector<std::string>{"aa\xC2\xA0"
                                               "bb",
                                               "cc dd"}));
}

}  // namespace
