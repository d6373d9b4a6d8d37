#include "tools/jobrender/PngBandWriter.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>

#include "JobBuilder.h"

namespace jobrender {
namespace {

using namespace jobrender::testing;

TEST(PngBandWriter, WritesTheRenderedPageBandByBand) {
    const auto path = std::filesystem::temp_directory_path() / "jobrender_png_test.png";
    RenderOptions o = TenPluPerPixel();
    o.bandBytes = 200 * 3 * 9;
    PngBandWriter png(path.string(), o.dpi);
    const std::string job =
        Page() + "PC1,255,0,0;SP1;PA300,300;PM0;PD500,300,500,500,300,500;PM2;FP;" + kEnd;
    ASSERT_TRUE(RenderJob(job, o, png).ok);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(image.width, 200u);
    EXPECT_EQ(image.height, 100u);
    const png_byte* red = &pixels[(60 * 200 + 40) * 3];
    EXPECT_EQ(red[0], 255);
    EXPECT_EQ(red[1], 0);
    const png_byte* white = &pixels[(10 * 200 + 10) * 3];
    EXPECT_EQ(white[1], 255);
    std::filesystem::remove(path);
}

TEST(PngBandWriter, UnwritablePathIsAnError) {
    PngBandWriter png("/nonexistent-dir/x.png", 100);
    const RenderResult r = RenderJob(Page() + kEnd, TenPluPerPixel(), png);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("/nonexistent-dir/x.png"), std::string::npos) << r.error;
}

}  // namespace
}  // namespace jobrender
