#include "tools/xomplot/PngImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/tools/xomplot/TestPng.h"

namespace {

using xomplot::DecodePng;
using xomplot::RgbaImage;

std::vector<std::uint8_t> Pattern(int w, int h) {
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w * h * 4));
    for (std::size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<std::uint8_t>(i * 7);
    for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    return rgba;
}

TEST(PngImage, DecodesToRgba) {
    const auto rgba = Pattern(5, 3);
    const auto png = testpng::ToMemory(5, 3, rgba);
    ASSERT_FALSE(png.empty());
    RgbaImage image;
    std::string error;
    ASSERT_TRUE(DecodePng(png.data(), png.size(), image, error)) << error;
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.rgba, rgba);
}

TEST(PngImage, TruncatedCorruptAndEmptyFilesAreClearErrors) {
    const auto png = testpng::ToMemory(40, 30, Pattern(40, 30));
    RgbaImage image;
    std::string error;
    for (std::size_t cut :
         {std::size_t{0}, std::size_t{8}, std::size_t{30}, png.size() / 2, png.size() - 13}) {
        EXPECT_FALSE(DecodePng(png.data(), cut, image, error)) << cut;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(image.rgba.empty());
    }
    auto corrupt = png;
    corrupt[corrupt.size() / 2] ^= 0xFF;
    corrupt[corrupt.size() / 2 + 1] ^= 0x55;
    EXPECT_FALSE(DecodePng(corrupt.data(), corrupt.size(), image, error));
}

TEST(PngImage, HugeDimensionsAreRefusedBeforeAnyPixelMemory) {
    // A valid 1 x 1 PNG whose header is rewritten to claim 100000 x 100000 pixels.
    auto png = testpng::ToMemory(1, 1, Pattern(1, 1));
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) png[at + k] = static_cast<std::uint8_t>(v >> (24 - 8 * k));
    };
    put32(16, 100000);
    put32(20, 100000);
    RgbaImage image;
    std::string error;
    EXPECT_FALSE(DecodePng(png.data(), png.size(), image, error));
    EXPECT_FALSE(error.empty());
}

TEST(PngImage, ReadPngNamesTheFile) {
    RgbaImage image;
    std::string error;
    EXPECT_FALSE(xomplot::ReadPng("/nonexistent/x.png", image, error));
    EXPECT_NE(error.find("/nonexistent/x.png"), std::string::npos);
}

}  // namespace
