#include "Common/XomImage/GeneralRaster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Common/XOM/PlotStreamState.h"
#include "Common/XomImage/GrayTone.h"
#include "Common/xomOutput/OutputChannel.h"
#include "DeviceTestSupport.h"
#include "ImagePlotSupport.h"
#include "hdi/HT_Image_Row_Source.h"
#include "support/PclRasterDecoder.h"
#include "support/PeDecoder.h"

namespace {

using xomimage::BandPlan;
using xomimage::PixelConversion;
using xomtest::PclRasterImage;

// ---------------------------------------------------------------------------------------------
// Planning

TEST(GeneralRasterPlan, ReplicationFactorLimitsAndQualityFloors) {
    // 4.3 x 4.1 at 600 dpi: f = 4 (L10 = 60); quality level 1 raises it to 20.
    EXPECT_EQ(xomimage::ReplicationFactor(4.3, 4.1, 600, false, false, 100), 4);
    EXPECT_EQ(xomimage::ReplicationFactor(4.3, 4.1, 600, false, false, 1), 20);
    EXPECT_EQ(xomimage::ReplicationFactor(4.3, 4.1, 600, false, false, 2), 8);
    EXPECT_EQ(xomimage::ReplicationFactor(4.3, 4.1, 600, false, false, 3), 4);
    EXPECT_EQ(xomimage::ReplicationFactor(1.0, 1.0, 600, false, false, 4), 3);
    EXPECT_EQ(xomimage::ReplicationFactor(1.0, 1.0, 600, false, false, 5), 2);
    EXPECT_EQ(xomimage::ReplicationFactor(1.0, 1.0, 600, false, false, 6), 1);
    // Large scales: L10 = 60 alone, L100 = 6 as well for a transparent image.
    EXPECT_EQ(xomimage::ReplicationFactor(100, 100, 600, false, false, 100), 60);
    EXPECT_EQ(xomimage::ReplicationFactor(100, 100, 600, false, true, 100), 6);
    // A one-pixel-thin source and unequal scales (over 5 %) are held to L200 = 3.
    EXPECT_EQ(xomimage::ReplicationFactor(100, 100, 600, true, false, 100), 3);
    EXPECT_EQ(xomimage::ReplicationFactor(10, 11, 600, false, false, 100), 3);
    EXPECT_EQ(xomimage::ReplicationFactor(10, 10.5, 600, false, false, 100), 10);
    // Below 2 there is no enlargement; the limits never fall below 1.
    EXPECT_EQ(xomimage::ReplicationFactor(1.9, 1.9, 600, false, false, 100), 1);
    EXPECT_EQ(xomimage::ReplicationFactor(0.1, 0.1, 600, false, false, 100), 1);
    EXPECT_EQ(xomimage::ReplicationFactor(50, 50, 4, false, true, 100), 1);
    // A one-dot image stretched over a whole roll stays a finite, small factor.
    EXPECT_EQ(xomimage::ReplicationFactor(2e9, 2e9, 600, true, false, 100), 3);
}

TEST(GeneralRasterPlan, BudgetIsHalfTheFreeMemoryWithinItsBounds) {
    EXPECT_EQ(xomimage::BandBudget(0), 512000u);
    EXPECT_EQ(xomimage::BandBudget(1000000), 512000u);
    EXPECT_EQ(xomimage::BandBudget(3000000), 1500000u);
    EXPECT_EQ(xomimage::BandBudget(64ull << 30), 10240000u);
}

TEST(GeneralRasterPlan, BandsAndTheThousandBandRule) {
    BandPlan p;
    ASSERT_TRUE(xomimage::PlanBands(1000, 1000, 1, 3, 512000, p));
    EXPECT_EQ(p.columns, 1000);
    EXPECT_EQ(p.bands, 6u);  // 3,000,000 / 512,000 = 5, plus 1
    EXPECT_EQ(p.rowsPerBand, 167);
    ASSERT_TRUE(xomimage::PlanBands(1001, 999, 4, 1, 512000, p));
    EXPECT_EQ(p.columns, 250);
    EXPECT_EQ(p.rows, 249);
    EXPECT_EQ(p.bands, 1u);
    EXPECT_EQ(p.rowsPerBand, 249);
    EXPECT_FALSE(xomimage::PlanBands(3, 100, 4, 3, 512000, p));  // no whole column

    // 100,000 x 100,000 at 4 bytes: 78,126 bands; f = ceil(sqrt(78.126)) = 9, then 965 bands.
    ASSERT_TRUE(xomimage::PlanBandsWithinLimit(100000, 100000, 1, 4, 512000, p));
    EXPECT_EQ(p.f, 9);
    EXPECT_EQ(p.columns, 11111);
    EXPECT_EQ(p.bands, 965u);
    EXPECT_EQ(p.rowsPerBand, 12);
    // At 1000 bands exactly nothing changes.
    // 1001 bands: f = ceil(sqrt(1.001)) = 2, then 251 bands.
    ASSERT_TRUE(xomimage::PlanBandsWithinLimit(1000, 512000, 1, 1, 512000, p));
    EXPECT_EQ(p.f, 2);
    EXPECT_EQ(p.bands, 251u);
    ASSERT_TRUE(xomimage::PlanBandsWithinLimit(1000, 511000, 1, 1, 512000, p));
    EXPECT_EQ(p.bands, 999u);
    EXPECT_EQ(p.f, 1);
}

TEST(GeneralRasterPlan, OutputModesByFormatColourBitonalTransparencyAndDepth) {
    using xomimage::OutputMode;
    // pixel format, colour, bitonal, transparent, depth
    EXPECT_EQ(OutputMode(0, false, false, false, 8), 0);
    EXPECT_EQ(OutputMode(0, false, true, false, 8), 3);
    EXPECT_EQ(OutputMode(0, true, false, true, 8), 5);
    EXPECT_EQ(OutputMode(0, true, true, false, 8), 7);
    EXPECT_EQ(OutputMode(-1, false, false, false, 8), 4);
    EXPECT_EQ(OutputMode(-3, true, true, false, 8), 8);
    for (int pf : {1, 2}) {
        EXPECT_EQ(OutputMode(pf, false, false, false, 8), 1);
        EXPECT_EQ(OutputMode(pf, false, false, true, 2), 0);
        EXPECT_EQ(OutputMode(pf, false, true, false, 8), 2);
        EXPECT_EQ(OutputMode(pf, true, false, true, 3), 8);
        EXPECT_EQ(OutputMode(pf, true, false, false, 3), 6);
        EXPECT_EQ(OutputMode(pf, true, false, true, 2), 5);
        EXPECT_EQ(OutputMode(pf, true, true, true, 8), 6);
    }
    for (int pf : {7, 8}) {
        EXPECT_EQ(OutputMode(pf, false, false, true, 24), 4);
        EXPECT_EQ(OutputMode(pf, false, true, false, 24), 2);
        EXPECT_EQ(OutputMode(pf, true, false, true, 24), 8);
        EXPECT_EQ(OutputMode(pf, true, true, false, 24), 6);
    }
    EXPECT_EQ(OutputMode(5, false, false, false, 24), 4);
    EXPECT_EQ(OutputMode(9, true, false, false, 24), 8);
    const int bytes[9] = {1, 1, 3, 3, 4, 1, 3, 3, 4};
    for (int mode = 0; mode < 9; ++mode)
        EXPECT_EQ(xomimage::SourceBytesPerPixel(mode), bytes[mode]);
}

std::vector<std::uint8_t> Convert(int mode, std::vector<std::uint8_t> source,
                                  HT_RGB foreground = {0, 0, 0, 0}, double gamma = 1.0,
                                  int intensity = 100) {
    PixelConversion c;
    c.mode = mode;
    c.gray = xomimage::BuildToneTable(gamma, intensity, true);
    c.foreground = foreground;
    std::vector<std::uint8_t> out(3, 0xEE);
    xomimage::ConvertPixel(c, source.data(), out.data());
    if (!xomimage::ColourMode(mode)) out.resize(1);
    return out;
}

using Bytes = std::vector<std::uint8_t>;

TEST(GeneralRasterPixels, GrayModes) {
    const HT_RGB red{0, 0, 255, 0};
    // Mode 0: background 0, white 255, ink the gray of the foreground (0 is stored as 1).
    EXPECT_EQ(Convert(0, {0}, red), Bytes{0});
    EXPECT_EQ(Convert(0, {1}, red), Bytes{255});
    EXPECT_EQ(Convert(0, {2}, red), Bytes{xomimage::Luminance(0, 0, 255)});
    EXPECT_EQ(Convert(0, {9}, {0, 0, 0, 0}), Bytes{1});
    // Mode 1: an index through the gray table, shaped by gamma and intensity.
    EXPECT_EQ(Convert(1, {128}), Bytes{128});
    EXPECT_EQ(Convert(1, {0}), Bytes{1});
    EXPECT_EQ(Convert(1, {128}, {}, 1.0, 300), Bytes{64});
    EXPECT_EQ(Convert(1, {128}, {}, 1.0, 50), Bytes{192});
    EXPECT_EQ(Convert(1, {255}, {}, 1.0, 300), Bytes{255});
    // Mode 2: luminance of blue, green, red.
    EXPECT_EQ(Convert(2, {10, 100, 200}), Bytes{xomimage::Luminance(10, 100, 200)});
    // Mode 3: any ink is black (1), none is white (255).
    EXPECT_EQ(Convert(3, {0, 0, 1}), Bytes{1});
    EXPECT_EQ(Convert(3, {0, 0, 0}), Bytes{255});
    // Mode 4: the key colour and transparent pixels are paper (0).
    EXPECT_EQ(Convert(4, {255, 241, 250, 255}), Bytes{0});
    EXPECT_EQ(Convert(4, {10, 20, 30, 0}), Bytes{0});
    EXPECT_EQ(Convert(4, {10, 20, 30, 1}), Bytes{xomimage::Luminance(10, 20, 30)});
}

TEST(GeneralRasterPixels, ColourModesKeepInkAndMakePaperNearWhite) {
    const HT_RGB red{0, 0, 255, 0};
    const HT_RGB white{255, 255, 255, 0};
    // Mode 5: background white, paper (254,254,254), ink its colour; pure-white ink is 254.
    EXPECT_EQ(Convert(5, {0}, red), (Bytes{255, 255, 255}));
    EXPECT_EQ(Convert(5, {1}, red), (Bytes{254, 254, 254}));
    EXPECT_EQ(Convert(5, {2}, red), (Bytes{255, 0, 0}));
    EXPECT_EQ(Convert(5, {2}, HT_RGB{1, 2, 3, 0}), (Bytes{3, 2, 1}));
    EXPECT_EQ(Convert(5, {2}, white), (Bytes{254, 254, 254}));
    EXPECT_EQ(Convert(5, {2}, HT_RGB{255, 255, 254, 0}), (Bytes{254, 255, 255}));
    // Mode 6: blue-green-red sent as red-green-blue; key is white, white is 254.
    EXPECT_EQ(Convert(6, {1, 2, 3}), (Bytes{3, 2, 1}));
    EXPECT_EQ(Convert(6, {255, 241, 250}), (Bytes{255, 255, 255}));
    EXPECT_EQ(Convert(6, {255, 255, 255}), (Bytes{254, 254, 254}));
    // Mode 7: ink black, paper 254.
    EXPECT_EQ(Convert(7, {0, 9, 0}), (Bytes{0, 0, 0}));
    EXPECT_EQ(Convert(7, {0, 0, 0}), (Bytes{254, 254, 254}));
    // Mode 8: as mode 6 where alpha is not zero, else white.
    EXPECT_EQ(Convert(8, {1, 2, 3, 7}), (Bytes{3, 2, 1}));
    EXPECT_EQ(Convert(8, {255, 255, 255, 7}), (Bytes{254, 254, 254}));
    EXPECT_EQ(Convert(8, {1, 2, 3, 0}), (Bytes{255, 255, 255}));
}

TEST(GeneralRasterPixels, RowsAreReplicatedAndPaddedWithTheLastValue) {
    PixelConversion c;
    c.mode = 6;
    const Bytes source{1, 2, 3, 4, 5, 6};  // two pixels
    Bytes out(3 * 7 + 3, 0xEE);
    xomimage::ConvertRow(c, source.data(), 2, 3, 7, out.data());
    EXPECT_EQ(out, (Bytes{3, 2, 1, 3, 2, 1, 3, 2, 1, 6,    5,    4,
                          6, 5, 4, 6, 5, 4, 6, 5, 4, 0xEE, 0xEE, 0xEE}));
    c.mode = 1;
    c.gray = xomimage::BuildToneTable(1.0, 100, true);
    Bytes gray(5, 0xEE);
    xomimage::ConvertRow(c, Bytes{7, 9, 11}.data(), 3, 2, 4, gray.data());  // cut at the width
    EXPECT_EQ(gray, (Bytes{7, 7, 9, 9, 0xEE}));
}

// ---------------------------------------------------------------------------------------------
// Whole images through the device

using imagetest::Landscape;
using imagetest::Portrait;
using imagetest::Rasters;
using imagetest::StartCorner;

// An RGBA test image: pixel (x, y) has red 10 x + 1, green 20 y + 2, blue 7, alpha 255.
struct SourceImage {
    int width;
    int height;
    Bytes rgba;
    SourceImage(int w, int h) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Set(x, y, 10 * x + 1, 20 * y + 2, 7, 255);
    }
    void Set(int x, int y, int r, int g, int b, int a) {
        std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
        p[0] = static_cast<std::uint8_t>(r);
        p[1] = static_cast<std::uint8_t>(g);
        p[2] = static_cast<std::uint8_t>(b);
        p[3] = static_cast<std::uint8_t>(a);
    }
    const std::uint8_t* At(int x, int y) const {
        return &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    }
};

HT_Image GeneralImage(HT_Image_Row_Source& source, int w, int h, int destW, int destH) {
    HT_Image image;
    image.kind = HT_IMAGE_KIND_GENERAL;
    image.width = w;
    image.height = h;
    image.source = &source;
    image.pixel_format = HT_PIXEL_FORMAT_RGB;
    image.bit_depth = 24;
    image.dest_width = destW;
    image.dest_height = destH;
    return image;
}

// Checks every printed pixel against the source pixel it stands for. The printer's row k and
// pixel x belong to reduced pixel (x / f, k / f), the last ones standing for the padding and the
// rows left over; with the rotate flag the reduced image is the source as it is, without it the
// source turned by half a turn. The raster starts at the image's top-left dot with the rotate
// flag, else at the right edge of the replicated columns and the image's bottom dot.
void ExpectPlacedImage(const std::string& bytes, const PclRasterImage& im, const SourceImage& src,
                       HT_DCI_Point topLeft, int f, bool rotate,
                       const std::function<std::uint32_t(const std::uint8_t*)>& expected) {
    const int cols = im.width / f;
    const int rows = im.height / f;
    const PePoint start = StartCorner(bytes, im);
    EXPECT_EQ(start.x, rotate ? topLeft.x : topLeft.x + cols * f - 1);
    EXPECT_EQ(start.y, rotate ? topLeft.y : topLeft.y - im.height + 1);
    ASSERT_EQ(static_cast<int>(im.rows.size()), im.height);
    for (int k = 0; k < im.height; ++k) {
        for (int x = 0; x < im.width; ++x) {
            const int xr = std::min(x / f, cols - 1);
            const int kr = std::min(k / f, rows - 1);
            const int col = rotate ? xr : cols - 1 - xr;
            const int row = rotate ? kr : rows - 1 - kr;
            const std::uint8_t* p = src.At(col * src.width / cols, row * src.height / rows);
            ASSERT_EQ(im.Colour(x, k), expected(p)) << "row " << k << " x " << x;
        }
    }
}

std::uint32_t Mode6(const std::uint8_t* rgba) {
    return (static_cast<std::uint32_t>(rgba[0]) << 16) | (rgba[1] << 8) | rgba[2];
}

class GeneralRasterDevice : public ::testing::Test {
  protected:
    void SetUp() override { setenv("XOM_AVAILABLE_MEMORY", "100000000", 1); }
    void TearDown() override { unsetenv("XOM_AVAILABLE_MEMORY"); }
};

TEST_F(GeneralRasterDevice, ColourImageOnRotatedMediaIsEnlargedFromItsTopLeftCorner) {
    PlotObserver seen;
    HostPlot plot(Portrait());
    ASSERT_EQ(g_plotStream.rotate, 1);
    plot.Begin();
    const SourceImage src(4, 3);
    HT_RGBA_Row_Source source(src.width, src.height, src.rgba.data());
    // 4.25 x 4.33: f = 4, one column of padding, one row left over.
    const HT_DCI_Point topLeft{300, 900, 0};
    plot.device->draw_dci_image(SolidRendition(), topLeft, GeneralImage(source, 4, 3, 17, 13));
    const std::string& bytes = plot.output().bytes;
    const auto images = Rasters(bytes);
    ASSERT_EQ(images.size(), 1u);
    const PclRasterImage& im = images[0];
    EXPECT_EQ(im.config, (std::array<std::uint8_t, 6>{0, 3, 8, 8, 8, 8}));
    EXPECT_EQ(im.transparency, 1);
    EXPECT_EQ(im.width, 17);
    EXPECT_EQ(im.height, 13);
    EXPECT_EQ(im.resolution, 600);
    EXPECT_NE(im.hpglBefore.find("TR0MC0"), std::string::npos);
    EXPECT_EQ(im.repeatedRows, 3 * 3 + 1);
    const PePoint start = StartCorner(bytes, im);
    EXPECT_EQ(start.x, 300);
    EXPECT_EQ(start.y, 900);
    ExpectPlacedImage(bytes, im, src, topLeft, 4, true, Mode6);
    EXPECT_EQ(im.after.substr(0, 6), "TR0MC0");
    EXPECT_EQ(source.live_bands(), 0);
    plot.device->end_picture();
    ASSERT_EQ(seen.loggedStatus.size(), 1u);
    EXPECT_EQ(seen.loggedStatus[0], L"Plot complete");
}

TEST_F(GeneralRasterDevice, ColourImageOnUnrotatedMediaIsTurnedByHalfATurn) {
    HostPlot plot(Landscape());
    ASSERT_EQ(g_plotStream.rotate, 0);
    plot.Begin();
    const SourceImage src(4, 3);
    HT_RGBA_Row_Source source(src.width, src.height, src.rgba.data());
    const HT_DCI_Point topLeft{300, 900, 0};
    plot.device->draw_dci_image(SolidRendition(), topLeft, GeneralImage(source, 4, 3, 17, 13));
    const std::string& bytes = plot.output().bytes;
    const auto images = Rasters(bytes);
    ASSERT_EQ(images.size(), 1u);
    const PePoint start = StartCorner(bytes, images[0]);
    EXPECT_EQ(start.x, 300 + 16 - 1);  // right edge of the replicated columns
    EXPECT_EQ(start.y, 900 - 13 + 1);
    ExpectPlacedImage(bytes, images[0], src, topLeft, 4, false, Mode6);
}

TEST_F(GeneralRasterDevice, GrayOutputUsesTheGrayPaletteAndLuminance) {
    for (bool transparent : {false, true}) {
        SCOPED_TRACE(transparent ? "transparent" : "opaque");
        HostPlot plot(Portrait(L"Gray"));
        plot.Begin();
        SourceImage src(3, 2);
        src.Set(2, 1, 0, 0, 0, 0);  // nothing drawn there
        HT_RGBA_Row_Source source(src.width, src.height, src.rgba.data());
        HT_Image image = GeneralImage(source, 3, 2, 3, 2);
        image.transparent = transparent;
        image.pixel_format = transparent ? HT_PIXEL_FORMAT_RGBA : HT_PIXEL_FORMAT_RGB;
        plot.device->draw_dci_image(SolidRendition(), {10, 10, 0}, image);
        const auto images = Rasters(plot.output().bytes);
        ASSERT_EQ(images.size(), 1u);
        const PclRasterImage& im = images[0];
        EXPECT_EQ(im.config, (std::array<std::uint8_t, 6>{0, 1, 8, 8, 8, 8}));
        EXPECT_EQ(im.transparency, transparent ? 0 : 1);
        EXPECT_NE(im.hpglBefore.find(transparent ? "TR1MC0" : "TR0MC0"), std::string::npos);
        ASSERT_EQ(im.palette.size(), 256u);
        EXPECT_EQ(im.palette.at(0), (std::array<std::uint8_t, 3>{255, 255, 255}));
        EXPECT_EQ(im.palette.at(1), (std::array<std::uint8_t, 3>{0, 0, 0}));
        EXPECT_EQ(im.palette.at(77), (std::array<std::uint8_t, 3>{77, 77, 77}));
        EXPECT_EQ(im.palette.at(255),
                  (std::array<std::uint8_t, 3>{
                      255, 255, static_cast<std::uint8_t>(transparent ? 254 : 255)}));
        const xomimage::ToneTable gray = xomimage::BuildToneTable(1.0, 100, true);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                const std::uint8_t* p = src.At(x, y);
                std::uint32_t want = gray[xomimage::Luminance(p[2], p[1], p[0])];
                if (x == 2 && y == 1) want = transparent ? 0 : 255;  // paper
                EXPECT_EQ(im.Pixel(x, y), want) << x << "," << y;
            }
        }
    }
}

TEST_F(GeneralRasterDevice, AClippedImageIsTransparentAndMissingPixelsArePaper) {
    HostPlot plot(Portrait());
    plot.Begin();
    SourceImage src(2, 1);
    src.Set(1, 0, 255, 255, 255, 0);
    src.Set(0, 0, 255, 255, 255, 255);
    HT_RGBA_Row_Source source(src.width, src.height, src.rgba.data());
    HT_Contour_Set_Data clip;
    clip.contours.push_back({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}});
    HT_Rendition r = SolidRendition();
    r.clip = &clip;
    plot.device->draw_dci_image(r, {10, 10, 0}, GeneralImage(source, 2, 1, 2, 1));
    const auto images = Rasters(plot.output().bytes);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].transparency, 0);
    EXPECT_NE(images[0].hpglBefore.find("TR1MC0"), std::string::npos);
    EXPECT_EQ(images[0].Colour(0, 0), 0xFEFEFEu);  // white paper prints near-white
    EXPECT_EQ(images[0].Colour(1, 0), 0xFFFFFFu);  // the key colour: nothing
}

TEST_F(GeneralRasterDevice, OneByteImagesPrintInkInTheForegroundColour) {
    HostPlot plot(Portrait());
    plot.Begin();
    SourceImage src(3, 1);
    src.Set(0, 0, 0, 0, 0, 255);        // ink
    src.Set(1, 0, 255, 255, 255, 255);  // paper
    src.Set(2, 0, 0, 0, 0, 0);          // background
    HT_RGBA_Row_Source source(src.width, src.height, src.rgba.data());
    HT_Image image = GeneralImage(source, 3, 1, 3, 1);
    image.pixel_format = HT_PIXEL_FORMAT_CLASS;
    for (HT_RGB ink : {HT_RGB{0, 0, 255, 0}, HT_RGB{255, 255, 255, 0}}) {
        HT_Rendition r = SolidRendition();
        r.color.rgb = ink;
        plot.device->draw_dci_image(r, {10, 10, 0}, image);
    }
    const auto images = Rasters(plot.output().bytes);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].Colour(0, 0), 0xFF0000u);  // red stays red
    EXPECT_EQ(images[0].Colour(1, 0), 0xFEFEFEu);
    EXPECT_EQ(images[0].Colour(2, 0), 0xFFFFFFu);
    EXPECT_EQ(images[1].Colour(0, 0), 0xFEFEFEu);  // pure white becomes (254, 254, 254)
}

TEST_F(GeneralRasterDevice, AHostShortOfMemoryGetsHalvedBands) {
    setenv("XOM_AVAILABLE_MEMORY", "1024000", 1);  // budget 512000
    HostPlot plot(Portrait());
    plot.Begin();
    const SourceImage src(600, 600);
    HT_RGBA_Row_Source source(src.width, src.height, src.rgba.data());
    // 3 bands of 200 rows (360000 bytes); the host takes at most 100000 bytes: 50 rows.
    source.set_band_memory_limit(100000);
    plot.device->draw_dci_image(SolidRendition(), {0, 700, 0},
                                GeneralImage(source, 600, 600, 600, 600));
    EXPECT_EQ(source.refusals(), 2);
    EXPECT_EQ(source.requests(), 2 + 12);
    EXPECT_EQ(source.live_bands(), 0);
    const auto images = Rasters(plot.output().bytes);
    ASSERT_EQ(images.size(), 1u);
    ExpectPlacedImage(plot.output().bytes, images[0], src, {0, 700, 0}, 1, true, Mode6);
    EXPECT_EQ(plot.device->undrawn_primitives(), 0);
}

TEST_F(GeneralRasterDevice, ASingleRowTooLargeRaisesTheFactorBeforeAnythingIsSent) {
    HostPlot plot(Portrait());
    plot.Begin();
    const SourceImage src(600, 40);
    HT_RGBA_Row_Source source(src.width, src.height, src.rgba.data());
    source.set_band_memory_limit(1000);  // one row of 600 pixels needs 1800 bytes; 300 fit
    plot.device->draw_dci_image(SolidRendition(), {0, 700, 0},
                                GeneralImage(source, 600, 40, 600, 40));
    const auto images = Rasters(plot.output().bytes);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].width, 600);
    EXPECT_EQ(images[0].height, 40);
    EXPECT_EQ(images[0].repeatedRows, 20);  // f = 2
    ExpectPlacedImage(plot.output().bytes, images[0], src, {0, 700, 0}, 2, true, Mode6);
    EXPECT_EQ(plot.device->undrawn_primitives(), 0);

    // A host that cannot give even one row at f = 30 draws nothing and the plot is incomplete.
    source.set_band_memory_limit(2);
    const std::size_t before = plot.output().bytes.size();
    plot.device->draw_dci_image(SolidRendition(), {0, 700, 0},
                                GeneralImage(source, 600, 40, 600, 40));
    EXPECT_EQ(plot.output().bytes.size(), before);
    EXPECT_EQ(plot.device->undrawn_primitives(), 1);
}

// A row source that fails from its nth band on.
class FailingSource : public HT_RGBA_Row_Source {
  public:
    FailingSource(const SourceImage& s, int failFrom, int status)
        : HT_RGBA_Row_Source(s.width, s.height, s.rgba.data()),
          m_failFrom(failFrom),
          m_status(status) {}
    HT_Image_Band render_band(const HT_Image_Band_Request& q) override {
        if (++m_count >= m_failFrom) {
            HT_Image_Band band;
            band.status = m_status;
            return band;
        }
        return HT_RGBA_Row_Source::render_band(q);
    }

  private:
    int m_failFrom;
    int m_status;
    int m_count = 0;
};

TEST_F(GeneralRasterDevice, AHostFailingMidImageClosesTheRasterAndThePlotIsIncomplete) {
    setenv("XOM_AVAILABLE_MEMORY", "1024000", 1);
    for (int status : {HT_BAND_NO_MEMORY, HT_BAND_FAILED}) {
        PlotObserver seen;
        HostPlot plot(Portrait());
        plot.Begin();
        const SourceImage src(600, 600);
        FailingSource source(src, 2, status);
        plot.device->draw_dci_image(SolidRendition(), {0, 700, 0},
                                    GeneralImage(source, 600, 600, 600, 600));
        const auto images = Rasters(plot.output().bytes);
        ASSERT_EQ(images.size(), 1u);
        EXPECT_GT(images[0].rows.size(), 0u);
        EXPECT_LT(images[0].rows.size(), 600u);
        EXPECT_EQ(plot.device->undrawn_primitives(), 1);
        plot.device->end_picture();
        ASSERT_EQ(seen.loggedStatus.size(), 1u);
        EXPECT_EQ(seen.loggedStatus[0], L"Plot incomplete: an image could not be drawn.");
    }
}

TEST_F(GeneralRasterDevice, AnOutputErrorStopsTheImageWithADiagnosticLine) {
    HostPlot plot(Portrait());
    plot.Begin();
    const SourceImage src(64, 64);
    HT_RGBA_Row_Source source(src.width, src.height, src.rgba.data());
    plot.output().shortWriteAt = 3;
    plot.device->draw_dci_image(SolidRendition(), {0, 700, 0},
                                GeneralImage(source, 64, 64, 64, 64));
    EXPECT_NE(OutputErrorState(), 0u);
    EXPECT_NE(DiagnosticText().find(L"\n..\\..\\Common\\XomImage::newhandleraster::"),
              std::wstring::npos);
    EXPECT_LT(plot.output().writes, 20);
    EXPECT_EQ(source.live_bands(), 0);
}

TEST_F(GeneralRasterDevice, ACancelBeforeABandEndsThePicture) {
    PlotObserver seen;
    HostPlot plot(Portrait());
    plot.Begin();
    plot.monitor->cancelAtPoll = 1;
    const SourceImage src(4, 4);
    HT_RGBA_Row_Source source(src.width, src.height, src.rgba.data());
    plot.device->draw_dci_image(SolidRendition(), {0, 700, 0}, GeneralImage(source, 4, 4, 8, 8));
    EXPECT_TRUE(plot.device->picture_ended());
    EXPECT_EQ(source.requests(), 0);
    ASSERT_EQ(seen.loggedStatus.size(), 1u);
    EXPECT_EQ(seen.loggedStatus[0], L"Plot canceled");
}

TEST_F(GeneralRasterDevice, EmptyHugeAndOutOfRangeImages) {
    HostPlot plot(Portrait());
    plot.Begin();
    const SourceImage src(1, 1);
    HT_RGBA_Row_Source source(src.width, src.height, src.rgba.data());
    // No size, negative size: nothing drawn, nothing wrong.
    plot.device->draw_dci_image(SolidRendition(), {0, 700, 0}, GeneralImage(source, 1, 1, 0, 5));
    plot.device->draw_dci_image(SolidRendition(), {0, 700, 0}, GeneralImage(source, 1, 1, 5, -5));
    EXPECT_TRUE(plot.output().bytes.empty());
    EXPECT_EQ(plot.device->undrawn_primitives(), 0);
    // Leaving the device space, or no row source: undrawn.
    plot.device->draw_dci_image(SolidRendition(), {INT32_MAX - 2, 700, 0},
                                GeneralImage(source, 1, 1, 5, 5));
    HT_Image none = GeneralImage(source, 1, 1, 5, 5);
    none.source = nullptr;
    plot.device->draw_dci_image(SolidRendition(), {0, 700, 0}, none);
    EXPECT_TRUE(plot.output().bytes.empty());
    EXPECT_EQ(plot.device->undrawn_primitives(), 2);
    // One pixel over a whole A4 page: f is held to 3 and the page is one colour.
    plot.device->draw_dci_image(SolidRendition(), {0, 7000, 0},
                                GeneralImage(source, 0, -4, 4961, 7016));
    const auto images = Rasters(plot.output().bytes);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].height, 7016);
    EXPECT_EQ(images[0].rows.size(), 7016u);
    EXPECT_EQ(images[0].Colour(4960, 7015), Mode6(src.At(0, 0)));
    EXPECT_EQ(plot.device->undrawn_primitives(), 2);
}

}  // namespace
