#include "tools/jobrender/PclRasterRenderer.h"

#include <gtest/gtest.h>

#include <string>

#include "JobBuilder.h"

namespace {

using jobrender::Image;
using jobrender::Rgb;
using namespace jobrender::testing;

std::string Esc(const std::string& s) {
    return "\x1b" + s;
}

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b) s += static_cast<char>(v);
    return s;
}

std::string Row(const std::string& data) {
    return Esc("*b" + std::to_string(data.size()) + "W") + data;
}

// A page of 100 x 200 plotter units (or 200 x 100 when turned), rendered one pixel a unit, with
// a raster at the pen position (50, 40).
Image Render(const std::string& raster, bool turned = false, const std::string& before = "") {
    const std::string job = (turned ? Page(200, 100) : Page(100, 200)) + before + "PU50,40;" +
                            Esc("%1A") + raster + Esc("*rC") + Esc("%1B") + kEnd;
    jobrender::RenderOptions o;
    o.dpi = 1016;
    jobrender::PclRasterRenderer renderer;
    o.raster = &renderer;
    Image img;
    const jobrender::RenderResult r = jobrender::RenderJobToImage(job, o, img);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.warnings.unsupportedRaster, 0u);
    EXPECT_EQ(renderer.bad_rows(), 0u);
    return img;
}

const std::string kDirect = Esc("*v6W") + Bytes({0, 3, 8, 8, 8, 8});

TEST(PclRasterRenderer, DirectRowsInMethodsTwoAndThreeFromTheCursor) {
    // Row 0 (method 2): red, green, blue as one literal run. Row 1 (method 3): the middle pixel
    // becomes white at offset 3. Row 2: an empty delta row repeats row 1.
    const std::string raster = kDirect + Esc("*t1016R") + Esc("*r3t3S") + Esc("*r1A") +
                               Esc("*b2M") + Row(Bytes({8, 255, 0, 0, 0, 255, 0, 0, 0, 255})) +
                               Esc("*b3M") + Row(Bytes({(2 << 5) | 3, 255, 255, 255})) + Row("");
    const Image img = Render(raster);
    // Media wider than long: pixels run along -X from x = 50, rows along +Y from y = 40; column
    // x, row (100 - y) - 1 on the page image.
    auto at = [&](int x, int y) { return img.at(x, 100 - y - 1); };
    EXPECT_EQ(at(50, 40), (Rgb{255, 0, 0}));
    EXPECT_EQ(at(49, 40), (Rgb{0, 255, 0}));
    EXPECT_EQ(at(48, 40), (Rgb{0, 0, 255}));
    EXPECT_EQ(at(50, 41), (Rgb{255, 0, 0}));
    EXPECT_EQ(at(49, 41), (Rgb{255, 255, 255}));
    EXPECT_EQ(at(48, 42), (Rgb{0, 0, 255}));
    EXPECT_EQ(CountColour(img, Rgb{255, 0, 0}), 3);
    EXPECT_EQ(CountColour(img, Rgb{0, 0, 255}), 3);
}

TEST(PclRasterRenderer, OnATurnedPagePixelsRunAlongYAndRowsAlongX) {
    const std::string raster = kDirect + Esc("*t1016R") + Esc("*r2t2S") + Esc("*r1A") +
                               Esc("*b2M") + Row(Bytes({5, 255, 0, 0, 0, 0, 255})) +
                               Row(Bytes({5, 0, 255, 0, 0, 0, 0}));
    const Image img = Render(raster, true);
    // Turned: printer (X, Y) shows at column Y, row X.
    EXPECT_EQ(img.at(40, 50), (Rgb{255, 0, 0}));
    EXPECT_EQ(img.at(41, 50), (Rgb{0, 0, 255}));
    EXPECT_EQ(img.at(40, 51), (Rgb{0, 255, 0}));
    EXPECT_EQ(img.at(41, 51), (Rgb{0, 0, 0}));
}

TEST(PclRasterRenderer, IndexedRowsThroughThePaletteInOneAndEightBits) {
    // 8 bits: index 7 is orange; a repeat run of 4.
    const std::string eight = Esc("*v6W") + Bytes({0, 1, 8, 8, 8, 8}) + Esc("*v255a128b0c7I") +
                              Esc("*t1016R") + Esc("*r4S") + Esc("*r1A") + Esc("*b2M") +
                              Row(Bytes({256 - 3, 7}));
    const Image a = Render(eight);
    EXPECT_EQ(CountColour(a, Rgb{255, 128, 0}), 4);
    EXPECT_EQ(a.at(47, 59), (Rgb{255, 128, 0}));
    // 1 bit, high bit first: 1 0 1 with index 0 white and 1 black.
    const std::string one = Esc("*v6W") + Bytes({0, 1, 1, 8, 8, 8}) +
                            Esc("*v255a255b255c0i0a0b0c1I") + Esc("*t1016R") + Esc("*r3S") +
                            Esc("*r1A") + Esc("*b2M") + Row(Bytes({0, 0xA0}));
    const Image b = Render(one);
    EXPECT_EQ(b.at(50, 59), (Rgb{0, 0, 0}));
    EXPECT_EQ(b.at(49, 59), (Rgb{255, 255, 255}));
    EXPECT_EQ(b.at(48, 59), (Rgb{0, 0, 0}));
}

TEST(PclRasterRenderer, TransparentSourceLeavesThePageUnderWhitePixels) {
    // A black square under the raster; the raster's white pixel lets it show when transparent.
    const std::string under = "PU45,35;PD55,35,55,45,45,45,45,35;PU;";
    const std::string raster = kDirect + Esc("*t1016R") + Esc("*r2S") + Esc("*r1A") + Esc("*b2M") +
                               Row(Bytes({5, 255, 255, 255, 0, 0, 255}));
    for (int mode : {0, 1}) {
        const Image img = Render(Esc("*v" + std::to_string(mode) + "N") + raster, false, under);
        EXPECT_EQ(img.at(48, 58), (Rgb{0, 0, 0}));  // the square itself
        EXPECT_EQ(img.at(50, 59), mode == 0 ? (Rgb{0, 0, 0}) : (Rgb{255, 255, 255}));
        EXPECT_EQ(img.at(49, 59), (Rgb{0, 0, 255}));
    }
}

TEST(PclRasterRenderer, BadRowsAreCountedNotPainted) {
    jobrender::PclRasterRenderer renderer;
    jobrender::RenderOptions o;
    o.dpi = 1016;
    o.raster = &renderer;
    const std::string job = Page(100, 200) + Esc("%1A") + kDirect + Esc("*r2S") + Esc("*r1A") +
                            Esc("*b2M") + Row(Bytes({20, 1, 2})) + Esc("*b3M") +
                            Row(Bytes({31, 255})) + Esc("*rC") + Esc("%1B") + kEnd;
    Image img;
    const jobrender::RenderResult r = jobrender::RenderJobToImage(job, o, img);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(renderer.bad_rows(), 2u);
    EXPECT_EQ(r.warnings.unsupportedRaster, 2u);
}

}  // namespace
