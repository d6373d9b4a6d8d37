#include "tools/xomplot/PreviewCommand.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class PreviewCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("xomplot_preview_" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(PreviewCommandTest, RendersAJobFileToAPngOfTheMediaSize) {
    xomplot::PreviewOptions o;
    o.job = std::string(XOM_TEST_GOLDEN_DIR) + "/example.plt";
    o.output = (dir / "example.png").string();
    o.dpi = 50;
    ASSERT_EQ(xomplot::RunPreview(o), 0);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, o.output.c_str()));
    // ISO A4 portrait, 210 x 297 mm, at 50 dpi.
    EXPECT_EQ(image.width, 414u);
    EXPECT_EQ(image.height, 585u);
    png_image_free(&image);
}

TEST_F(PreviewCommandTest, BadJobsFailAndLeaveNoImage) {
    xomplot::PreviewOptions o;
    o.output = (dir / "bad.png").string();
    o.job = (dir / "missing.job").string();
    EXPECT_EQ(xomplot::RunPreview(o), 1);
    EXPECT_FALSE(fs::exists(o.output));
    o.job = (dir / "cut.job").string();
    std::ofstream(o.job, std::ios::binary) << "\x1b%0BPS1000,2000;PE<=?";
    EXPECT_EQ(xomplot::RunPreview(o), 1);
    EXPECT_FALSE(fs::exists(o.output));
    o.job = dir.string();  // a folder, not a job file
    EXPECT_EQ(xomplot::RunPreview(o), 1);
}

}  // namespace
