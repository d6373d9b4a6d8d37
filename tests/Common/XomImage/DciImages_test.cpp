#include "Common/XomImage/DciImages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Common/XOM/PlotStreamState.h"
#include "Common/XomImage/GrayTone.h"
#include "Common/xomOutput/OutputChannel.h"
#include "DeviceTestSupport.h"
#include "ImagePlotSupport.h"
#include "support/PclRasterDecoder.h"
#include "support/PeDecoder.h"

namespace {

using xomtest::PclRasterImage;

using imagetest::Landscape;
using imagetest::Portrait;
using imagetest::Rasters;
using imagetest::StartCorner;

// rgb32 pixels from 0xRRGGBB values, row by row.
std::vector<std::uint8_t> Rgb32Pixels(const std::vector<std::uint32_t>& colours) {
    std::vector<std::uint8_t> px;
    for (std::uint32_t c : colours) {
        px.push_back(static_cast<std::uint8_t>(c));
        px.push_back(static_cast<std::uint8_t>(c >> 8));
        px.push_back(static_cast<std::uint8_t>(c >> 16));
        px.push_back(0x5A);  // ignored
    }
    return px;
}

TEST(DciImages, ColourRgb32OnRotatedMediaStartsAtCorner1TopRowFirst) {
    HostPlot plot(Portrait());
    ASSERT_EQ(g_plotStream.rotate, 1);
    plot.Begin();
    const std::vector<std::uint32_t> colours{0xFF0000, 0x00FF00, 0x0000FF,
                                             0x102030, 0x405060, 0x708090};
    const auto px = Rgb32Pixels(colours);
    plot.device->draw_dci_raster_image(SolidRendition(), {100, 200, 0}, {102, 199, 0},
                                       {HT_IMAGE_KIND_RGB32, 3, 2, 12, px.data(), 0});
    const std::string& bytes = plot.output().bytes;
    const auto images = Rasters(bytes);
    ASSERT_EQ(images.size(), 1u);
    const PclRasterImage& im = images[0];
    EXPECT_TRUE(im.configured);
    EXPECT_EQ(im.config, (std::array<std::uint8_t, 6>{0, 3, 8, 8, 8, 8}));
    EXPECT_TRUE(im.palette.empty());
    EXPECT_EQ(im.resolution, 600);
    EXPECT_EQ(im.width, 3);
    EXPECT_EQ(im.height, 2);
    ASSERT_EQ(im.rows.size(), 2u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(im.Colour(x, y), colours[y * 3 + x]) << x << "," << y;
    const PePoint start = StartCorner(bytes, im);
    EXPECT_EQ(start.x, 100);
    EXPECT_EQ(start.y, 200);
    EXPECT_FALSE(start.penDown);
    EXPECT_EQ(im.hpglBefore.substr(im.hpglBefore.size() - 6), "TR0MC0");
    EXPECT_EQ(im.after.substr(0, 6), "TR0MC0");
}

TEST(DciImages, IndexImageOnUnrotatedMediaStartsAtCorner2BottomRowRightToLeft) {
    HostPlot plot(Landscape(L"255_Virtual_Pens_Color"));
    ASSERT_EQ(g_plotStream.rotate, 0);
    plot.Begin();
    const std::vector<std::uint8_t> px{1, 2, 3, 4};
    plot.device->draw_dci_raster_image(SolidRendition(), {10, 50, 0}, {11, 49, 0},
                                       {HT_IMAGE_KIND_INDEX8, 2, 2, 2, px.data(), 0});
    const std::string& bytes = plot.output().bytes;
    const auto images = Rasters(bytes);
    ASSERT_EQ(images.size(), 1u);
    const PclRasterImage& im = images[0];
    EXPECT_EQ(im.config, (std::array<std::uint8_t, 6>{0, 1, 8, 8, 8, 8}));
    ASSERT_EQ(im.rows.size(), 2u);
    EXPECT_EQ(im.rows[0], (std::vector<std::uint8_t>{4, 3}));
    EXPECT_EQ(im.rows[1], (std::vector<std::uint8_t>{2, 1}));
    const PePoint start = StartCorner(bytes, im);
    EXPECT_EQ(start.x, 11);
    EXPECT_EQ(start.y, 49);
    // The device palette's used entries give their colours; the rest is white.
    const HT_Palette* palette = plot.device->palette();
    ASSERT_NE(palette, nullptr);
    ASSERT_EQ(im.palette.size(), 256u);
    for (int i = 0; i < 256; ++i) {
        const auto& got = im.palette.at(i);
        if (palette->use_count(i) > 0) {
            EXPECT_EQ(got[0], palette->entry(i).r);
            EXPECT_EQ(got[1], palette->entry(i).g);
            EXPECT_EQ(got[2], palette->entry(i).b);
        } else {
            EXPECT_EQ(got, (std::array<std::uint8_t, 3>{255, 255, 255}));
        }
    }
}

TEST(DciImages, GrayModelsSendLuminanceThroughAToneRamp) {
    HostPlot plot(Portrait(L"Gray"));
    plot.Begin();
    const std::vector<std::uint32_t> colours{0xFF0000, 0x808080};
    const auto px = Rgb32Pixels(colours);
    plot.device->draw_dci_raster_image(SolidRendition(), {0, 0, 0}, {1, 0, 0},
                                       {HT_IMAGE_KIND_RGB32, 2, 1, 8, px.data(), 0});
    const auto images = Rasters(plot.output().bytes);
    ASSERT_EQ(images.size(), 1u);
    const PclRasterImage& im = images[0];
    EXPECT_EQ(im.config, (std::array<std::uint8_t, 6>{0, 1, 8, 8, 8, 8}));
    ASSERT_EQ(im.palette.size(), 256u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(im.palette.at(i), (std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(i),
                                                                 static_cast<std::uint8_t>(i),
                                                                 static_cast<std::uint8_t>(i)}));
    }
    EXPECT_EQ(im.Pixel(0, 0), xomimage::Luminance(0, 0, 255));
    EXPECT_EQ(im.Pixel(1, 0), 128u);
}

TEST(DciImages, BitonalImagesInBothBitOrdersPolaritiesAndDirections) {
    // 11 x 2 pixels: row 0 on at x = 0, 3, 10; row 1 on at x = 1 and 9.
    const std::vector<std::vector<int>> on{{0, 3, 10}, {1, 9}};
    for (bool portrait : {true, false}) {
        for (std::uint8_t flags = 0; flags < 4; ++flags) {
            SCOPED_TRACE("portrait " + std::to_string(portrait) + " flags " +
                         std::to_string(flags));
            HostPlot plot(portrait ? Portrait() : Landscape());
            plot.Begin();
            std::vector<std::uint8_t> px(2 * 3, 0);  // 2 bytes a row and a spare byte
            for (int y = 0; y < 2; ++y) {
                for (int x : on[static_cast<std::size_t>(y)]) {
                    const int bit = (flags & 1) ? 7 - x % 8 : x % 8;
                    px[static_cast<std::size_t>(y * 3 + x / 8)] |=
                        static_cast<std::uint8_t>(1 << bit);
                }
            }
            plot.device->draw_dci_raster_image(SolidRendition(), {0, 1, 0}, {10, 0, 0},
                                               {HT_IMAGE_KIND_BITONAL, 11, 2, 3, px.data(), flags});
            const auto images = Rasters(plot.output().bytes);
            ASSERT_EQ(images.size(), 1u);
            const PclRasterImage& im = images[0];
            EXPECT_EQ(im.config, (std::array<std::uint8_t, 6>{0, 1, 1, 8, 8, 8}));
            ASSERT_EQ(im.palette.size(), 2u);
            const std::uint32_t ink = (flags & 2) ? 0x000000 : 0xFFFFFF;
            const std::uint32_t paper = (flags & 2) ? 0xFFFFFF : 0x000000;
            ASSERT_EQ(im.rows.size(), 2u);
            for (int k = 0; k < 2; ++k) {
                for (int x = 0; x < 11; ++x) {
                    // The printer's row k, pixel x, is the source pixel it stands for.
                    const int sy = portrait ? k : 1 - k;
                    const int sx = portrait ? x : 10 - x;
                    const auto& row = on[static_cast<std::size_t>(sy)];
                    const bool set = std::find(row.begin(), row.end(), sx) != row.end();
                    EXPECT_EQ(im.Colour(x, k), set ? ink : paper) << "row " << k << " x " << x;
                }
            }
        }
    }
}

TEST(DciImages, ConfigureImageDataOncePerJobAndAgainForAnotherDepth) {
    HostPlot plot(Portrait(L"255_Virtual_Pens_Color"));
    plot.Begin();
    const std::vector<std::uint8_t> px{1, 2, 3, 4};
    const std::uint8_t bits[2] = {0xF0, 0x0F};
    auto index8 = [&] {
        plot.device->draw_dci_raster_image(SolidRendition(), {0, 1, 0}, {1, 0, 0},
                                           {HT_IMAGE_KIND_INDEX8, 2, 2, 2, px.data(), 0});
    };
    index8();
    index8();
    plot.device->draw_dci_raster_image(SolidRendition(), {0, 1, 0}, {7, 0, 0},
                                       {HT_IMAGE_KIND_BITONAL, 8, 2, 1, bits, 1});
    index8();
    const auto images = Rasters(plot.output().bytes);
    ASSERT_EQ(images.size(), 4u);
    EXPECT_TRUE(images[0].configured);
    EXPECT_FALSE(images[1].configured);
    // A 1-bit image after 8-bit ones gets its own block; the next 8-bit image one again.
    EXPECT_TRUE(images[2].configured);
    EXPECT_EQ(images[2].config[2], 1);
    EXPECT_EQ(images[2].rows[0], (std::vector<std::uint8_t>{0xF0}));
    EXPECT_TRUE(images[3].configured);
    EXPECT_EQ(images[3].config[2], 8);
    plot.device->end_picture();

    // A new job starts without a block in force.
    plot.Begin();
    index8();
    const auto second = Rasters(plot.output().bytes);
    ASSERT_FALSE(second.empty());
    EXPECT_TRUE(second.back().configured);
}

TEST(DciImages, AnOutputErrorStopsTheImageWithADiagnosticLine) {
    PlotObserver seen;
    HostPlot plot(Portrait());
    plot.Begin();
    std::vector<std::uint32_t> colours(4 * 50);
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = static_cast<std::uint32_t>(i * 0x010203u);
    const auto px = Rgb32Pixels(colours);
    // The third write fails: the rows after it are not encoded.
    plot.output().shortWriteAt = 3;
    plot.device->draw_dci_raster_image(SolidRendition(), {0, 49, 0}, {3, 0, 0},
                                       {HT_IMAGE_KIND_RGB32, 4, 50, 16, px.data(), 0});
    EXPECT_NE(OutputErrorState(), 0u);
    EXPECT_NE(
        DiagnosticText().find(L"\n..\\..\\Common\\XomImage::XOM_plotter_draw_dci_rgb32_image::"),
        std::wstring::npos);
    EXPECT_LT(plot.output().writes, 12);  // not one write per row of all 50
    plot.device->end_picture();
    ASSERT_EQ(seen.loggedStatus.size(), 1u);
    EXPECT_NE(seen.loggedStatus[0], L"Plot complete");
}

TEST(DciImages, ACancelSeenAfterTheImageEndsThePicture) {
    PlotObserver seen;
    HostPlot plot(Portrait());
    plot.Begin();
    plot.monitor->cancelAtPoll = 1;
    const auto px = Rgb32Pixels({0x123456});
    plot.device->draw_dci_raster_image(SolidRendition(), {0, 0, 0}, {0, 0, 0},
                                       {HT_IMAGE_KIND_RGB32, 1, 1, 4, px.data(), 0});
    EXPECT_TRUE(plot.device->picture_ended());
    ASSERT_EQ(seen.loggedStatus.size(), 1u);
    EXPECT_EQ(seen.loggedStatus[0], L"Plot canceled");
    // The image itself was closed before the picture ended.
    EXPECT_NE(plot.output().bytes.find("\x1b*rC\x1b%1B"), std::string::npos);
}

TEST(DciImages, EmptyImagesAndStoppedPicturesDrawNothing) {
    HostPlot plot(Portrait());
    plot.Begin();
    const auto px = Rgb32Pixels({0x123456});
    XOM_plotter_draw_dci_rgb32_image(plot.device.get(), SolidRendition(), {5, 0, 0}, {4, 0, 0}, 4,
                                     px.data());
    XOM_plotter_draw_dci_rgb32_image(plot.device.get(), SolidRendition(), {0, 0, 0}, {0, 1, 0}, 4,
                                     px.data());
    EXPECT_TRUE(plot.output().bytes.empty());
    EXPECT_EQ(plot.device->undrawn_primitives(), 0);
    // Pixels that do not cover the image: nothing sent, and the plot is not whole.
    XOM_plotter_draw_dci_rgb32_image(plot.device.get(), SolidRendition(), {0, 0, 0}, {1, 0, 0}, 4,
                                     px.data());
    EXPECT_TRUE(plot.output().bytes.empty());
    EXPECT_EQ(plot.device->undrawn_primitives(), 1);
}

TEST(DciImages, AnImageTheHostCannotDrawIsNeverAWholePlot) {
    PlotObserver seen;
    HostPlot plot(Portrait());
    plot.Begin();
    const HT_DCI_Point line[2] = {{0, 0, 0}, {100, 100, 0}};
    plot.device->draw_dci_polyline(SolidRendition(), 2, line);
    HT_Image general;
    general.kind = HT_IMAGE_KIND_GENERAL;
    plot.device->draw_dci_image(SolidRendition(), {0, 0, 0}, general);
    plot.device->end_picture();
    ASSERT_EQ(seen.loggedStatus.size(), 1u);
    EXPECT_EQ(seen.loggedStatus[0], L"Plot incomplete: an image could not be drawn.");
}

}  // namespace
