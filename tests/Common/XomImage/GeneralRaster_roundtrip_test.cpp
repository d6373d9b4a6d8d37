// Round trip: images plotted through the driver and drawn back by the job renderer land on the
// rectangle the vectors give and show their source pixels after the gray or colour conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "Common/XomImage/GeneralRaster.h"
#include "Common/XomImage/GrayTone.h"
#include "DeviceTestSupport.h"
#include "hdi/HT_Image_Row_Source.h"
#include "tools/jobrender/JobRenderer.h"
#include "tools/jobrender/PclRasterRenderer.h"

namespace {

using jobrender::Rgb;

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

Box InkBox(const jobrender::Image& img) {
    Box b;
    for (int r = 0; r < img.height; ++r)
        for (int c = 0; c < img.width; ++c)
            if (!(img.at(c, r) == Rgb{255, 255, 255})) {
                b.left = std::min(b.left, c);
                b.right = std::max(b.right, c);
                b.top = std::min(b.top, r);
                b.bottom = std::max(b.bottom, r);
            }
    return b;
}

jobrender::Image RenderBack(const std::string& job) {
    jobrender::RenderOptions o;
    o.dpi = 600;
    jobrender::PclRasterRenderer raster;
    o.raster = &raster;
    jobrender::Image img;
    const jobrender::RenderResult r = jobrender::RenderJobToImage(job, o, img);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.warnings.unsupportedRaster, 0u);
    EXPECT_EQ(raster.bad_rows(), 0u);
    return img;
}

// 4 x 3 RGBA, every pixel its own colour, none of them white.
std::vector<std::uint8_t> Source() {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            rgba.insert(rgba.end(), {static_cast<std::uint8_t>(60 * x + 5),
                                     static_cast<std::uint8_t>(80 * y + 9),
                                     static_cast<std::uint8_t>(200 - 30 * x), 255});
    return rgba;
}

enum class Road { General, Rgb32 };

std::string Plot(const PlotSetup& setup, bool image, Road road) {
    HostPlot plot(setup);
    plot.Begin();
    const HT_DCI_Point topLeft{400, 900, 0};
    const std::vector<std::uint8_t> rgba = Source();
    HT_RGBA_Row_Source source(4, 3, rgba.data());
    std::vector<std::uint8_t> bgrx;
    for (std::size_t i = 0; i < rgba.size(); i += 4)
        bgrx.insert(bgrx.end(), {rgba[i + 2], rgba[i + 1], rgba[i], 0});
    if (!image) {
        // The same rectangle as a filled polygon: 40 dots across from 400, 30 down from 900.
        const HT_DCI_Point box[4] = {{400, 900, 0}, {440, 900, 0}, {440, 870, 0}, {400, 870, 0}};
        plot.device->draw_dci_polygon(SolidRendition(), 4, box, nullptr);
    } else if (road == Road::General) {
        HT_Image im;
        im.kind = HT_IMAGE_KIND_GENERAL;
        im.width = 4;
        im.height = 3;
        im.source = &source;
        im.dest_width = 40;
        im.dest_height = 30;
        plot.device->draw_dci_image(SolidRendition(), topLeft, im);
    } else {
        // Enlarged by the host's standard routine to 40 x 30 dots.
        HT_Image im{HT_IMAGE_KIND_RGB32, 4, 3, 16, bgrx.data(), 0};
        plot.device->draw_dc_raster_image(SolidRendition(), {400, 900, 0}, {439, 871, 0}, im);
    }
    plot.device->end_picture();
    return plot.output().bytes;
}

TEST(GeneralRasterRoundTrip, ImagesLandOnTheirRectangleWithTheirPixels) {
    setenv("XOM_AVAILABLE_MEMORY", "100000000", 1);
    const xomimage::ToneTable gray = xomimage::BuildToneTable(1.0, 100, true);
    for (bool portrait : {true, false}) {
        for (const wchar_t* mode : {L"Color", L"Gray"}) {
            for (Road road : {Road::General, Road::Rgb32}) {
                SCOPED_TRACE(std::string(portrait ? "portrait " : "landscape ") +
                             (mode[0] == L'C' ? "colour " : "gray ") +
                             (road == Road::General ? "general" : "rgb32"));
                PlotSetup setup;
                setup.widthMm = portrait ? 60 : 90;
                setup.lengthMm = portrait ? 90 : 60;
                setup.colorMode = mode;
                const Box vectors = InkBox(RenderBack(Plot(setup, false, road)));
                ASSERT_EQ(vectors.right - vectors.left + 1, 40);
                ASSERT_EQ(vectors.bottom - vectors.top + 1, 30);
                const jobrender::Image img = RenderBack(Plot(setup, true, road));
                const Box raster = InkBox(img);
                ASSERT_EQ(raster.right - raster.left + 1, 40);
                ASSERT_EQ(raster.bottom - raster.top + 1, 30);
                // Within a dot: a raster dot is a cell beside the cursor, a polygon's edge a line
                // through it, and the quarter turn of a long page flips which side the cell is.
                EXPECT_NEAR(raster.left, vectors.left, 1);
                EXPECT_NEAR(raster.top, vectors.top, 1);
                EXPECT_NEAR(raster.right, vectors.right, 1);
                EXPECT_NEAR(raster.bottom, vectors.bottom, 1);
                const std::vector<std::uint8_t> src = Source();
                for (int y = 0; y < 3; ++y) {
                    for (int x = 0; x < 4; ++x) {
                        const std::uint8_t* p = &src[static_cast<std::size_t>(y * 4 + x) * 4];
                        Rgb want{p[0], p[1], p[2]};
                        if (mode[0] == L'G') {
                            const std::uint8_t v = xomimage::Luminance(p[2], p[1], p[0]);
                            const std::uint8_t g = road == Road::General ? gray[v] : v;
                            want = {g, g, g};
                        }
                        EXPECT_EQ(img.at(raster.left + 10 * x + 5, raster.top + 10 * y + 5), want)
                            << x << "," << y;
                    }
                }
            }
        }
    }
    unsetenv("XOM_AVAILABLE_MEMORY");
}

}  // namespace
