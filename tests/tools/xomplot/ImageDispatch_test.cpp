#include "tools/xomplot/ImageDispatch.h"

#include <gtest/gtest.h>

#include "tools/xomplot/PngImage.h"

namespace {

using xomplot::RgbaImage;

RgbaImage Image(int w, int h, const std::vector<std::uint32_t>& rgb, std::uint8_t alpha = 255) {
    RgbaImage im;
    im.width = w;
    im.height = h;
    for (std::uint32_t c : rgb) {
        im.rgba.push_back(static_cast<std::uint8_t>(c >> 16));
        im.rgba.push_back(static_cast<std::uint8_t>(c >> 8));
        im.rgba.push_back(static_cast<std::uint8_t>(c));
        im.rgba.push_back(alpha);
    }
    return im;
}

TEST(ImageDispatch, Rgb32IsBlueGreenRedOverWhite) {
    EXPECT_EQ(xomplot::ToRgb32(Image(1, 1, {0x102030})),
              (std::vector<std::uint8_t>{0x30, 0x20, 0x10, 0}));
    // A transparent pixel is paper.
    EXPECT_EQ(xomplot::ToRgb32(Image(1, 1, {0x000000}, 0)),
              (std::vector<std::uint8_t>{255, 255, 255, 0}));
}

TEST(ImageDispatch, BitonalRowsArePaddedHighBitFirstWithInkAsOne) {
    std::vector<std::uint32_t> px(10, 0xFFFFFF);
    px[0] = 0;
    px[9] = 0x202020;
    int rowBytes = 0;
    const auto bits = xomplot::ToBitonal(Image(10, 1, px), 128, rowBytes);
    EXPECT_EQ(rowBytes, 2);
    EXPECT_EQ(bits, (std::vector<std::uint8_t>{0x80, 0x40}));
}

TEST(ImageDispatch, Index8TakesTheNearestPaletteEntry) {
    HT_Palette palette;
    palette.set_size(3);
    palette.set_entry(0, {255, 255, 255, 255});
    palette.set_entry(1, {250, 0, 0, 255});
    palette.set_entry(2, {0, 0, 0, 255});
    EXPECT_EQ(xomplot::ToIndex8(Image(3, 1, {0xFF1010, 0x101010, 0xF0F0F0}), palette),
              (std::vector<std::uint8_t>{1, 2, 0}));
}

}  // namespace
