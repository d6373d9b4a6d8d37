// The host's image routines: integer-coordinate images handed to the device's action of their
// kind, device-coordinate images rounded, resampled and banded, and what cannot be drawn reported
// and counted.
#include <gtest/gtest.h>

#include <vector>

#include "FakeDevice.h"
#include "hdi/HT_Actions.h"
#include "hdi/HT_Error.h"

namespace {

// Keeps the host's error reports while alive.
class HostErrors {
  public:
    HostErrors() : handler(new HT_Error_Handler()) { HT_Set_Host_Error_Handler(handler.get()); }
    ~HostErrors() { HT_Set_Host_Error_Handler(nullptr); }
    HostErrors(const HostErrors&) = delete;
    HostErrors& operator=(const HostErrors&) = delete;
    SPMP<HT_Error_Handler> handler;
};

HT_Image Rgb32(int w, int h, std::vector<std::uint8_t>& px) {
    px.resize(static_cast<std::size_t>(w * h * 4));
    for (std::size_t i = 0; i < px.size(); ++i) px[i] = static_cast<std::uint8_t>(i);
    HT_Image image;
    image.kind = HT_IMAGE_KIND_RGB32;
    image.width = w;
    image.height = h;
    image.row_bytes = w * 4;
    image.pixels = px.data();
    return image;
}

TEST(StandardImageRoutines, DciImagesGoToTheDevicesActionOfTheirKind) {
    FakeDevice d;
    d.record_images();
    std::vector<std::uint8_t> px;
    const HT_Image image = Rgb32(3, 2, px);
    HD_Standard_Draw_DCI_Image(&d, HT_Rendition{}, {10, 20, 0}, image);
    ASSERT_EQ(d.images.size(), 1u);
    EXPECT_EQ(d.images[0].kind, HT_IMAGE_KIND_RGB32);
    EXPECT_EQ(d.images[0].corner1.x, 10);
    EXPECT_EQ(d.images[0].corner1.y, 20);
    EXPECT_EQ(d.images[0].corner2.x, 12);
    EXPECT_EQ(d.images[0].corner2.y, 19);
    EXPECT_EQ(d.images[0].pixels, px);
    EXPECT_EQ(d.undrawn_primitives(), 0);
}

TEST(StandardImageRoutines, WhatCannotBeDrawnIsReportedAndCounted) {
    HostErrors errors;
    FakeDevice d;  // no image actions
    std::vector<std::uint8_t> px;
    const HT_Image image = Rgb32(2, 2, px);
    HD_Standard_Draw_DCI_Image(&d, HT_Rendition{}, {0, 0, 0}, image);
    HT_Image general;
    general.kind = HT_IMAGE_KIND_GENERAL;
    d.record_images();
    HD_Standard_Draw_DCI_Image(&d, HT_Rendition{}, {0, 0, 0}, general);
    HT_Image short_rows = image;
    short_rows.row_bytes = 7;  // less than 2 pixels of 4 bytes
    HD_Standard_Draw_DCI_Image(&d, HT_Rendition{}, {0, 0, 0}, short_rows);
    EXPECT_TRUE(d.images.empty());
    EXPECT_EQ(d.undrawn_primitives(), 3);
    ASSERT_EQ(errors.handler->reports().size(), 3u);
    for (const auto& r : errors.handler->reports()) EXPECT_EQ(r.message, HT_MSG_NOT_SUPPORTED);
}

TEST(StandardImageRoutines, DcImagesAreRoundedAndResampledToTheirRectangle) {
    FakeDevice d;
    d.record_images();
    // 2 x 2 index image over 4 x 4 dots (corners given bottom-right first).
    const std::vector<std::uint8_t> px{1, 2, 3, 4};
    HT_Image image;
    image.kind = HT_IMAGE_KIND_INDEX8;
    image.width = 2;
    image.height = 2;
    image.row_bytes = 2;
    image.pixels = px.data();
    d.draw_dc_raster_image(HT_Rendition{}, {103.4f, 196.6f, 0}, {99.6f, 200.4f, 0}, image);
    ASSERT_EQ(d.images.size(), 1u);
    const RecordedImage& got = d.images[0];
    EXPECT_EQ(got.corner1.x, 100);
    EXPECT_EQ(got.corner1.y, 200);
    EXPECT_EQ(got.corner2.x, 103);
    EXPECT_EQ(got.corner2.y, 197);
    EXPECT_EQ(got.pixels,
              (std::vector<std::uint8_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
}

TEST(StandardImageRoutines, DcBitonalImagesKeepTheirBitOrder) {
    FakeDevice d;
    d.record_images();
    for (std::uint8_t flags : {std::uint8_t{0}, HT_BITONAL_HIGH_BIT_FIRST}) {
        d.images.clear();
        // Three pixels: on, off, on.
        const std::uint8_t row = flags ? 0b10100000 : 0b00000101;
        HT_Image image;
        image.kind = HT_IMAGE_KIND_BITONAL;
        image.width = 3;
        image.height = 1;
        image.row_bytes = 1;
        image.pixels = &row;
        image.flags = flags;
        d.draw_dc_raster_image(HT_Rendition{}, {0, 0, 0}, {5, 0, 0}, image);
        ASSERT_EQ(d.images.size(), 1u);
        EXPECT_EQ(d.images[0].flags, flags);
        // Six dots wide: on, on, off, off, on, on.
        EXPECT_EQ(d.images[0].pixels[0], flags ? 0b11001100 : 0b00110011);
    }
}

TEST(StandardImageRoutines, AOnePixelImageOverAWideAreaArrivesInBoundedBands) {
    FakeDevice d;
    d.record_images();
    std::vector<std::uint8_t> px;
    const HT_Image image = Rgb32(1, 1, px);
    // 30000 x 1000 dots of 4 bytes: 120 MB if made at once.
    d.draw_dc_raster_image(HT_Rendition{}, {0, 999, 0}, {29999, 0, 0}, image);
    ASSERT_GT(d.images.size(), 1u);
    int rows = 0;
    int top = 999;
    for (const auto& band : d.images) {
        EXPECT_EQ(band.corner1.y, top);
        EXPECT_LE(band.pixels.size(), 16u << 20);
        rows += band.corner1.y - band.corner2.y + 1;
        top = band.corner2.y - 1;
        EXPECT_EQ(band.pixels[4 * 29999 + 2], px[2]);
    }
    EXPECT_EQ(rows, 1000);
}

TEST(StandardImageRoutines, EmptyRectanglesDrawNothing) {
    FakeDevice d;
    d.record_images();
    std::vector<std::uint8_t> px;
    HT_Image image = Rgb32(2, 2, px);
    image.width = 0;
    HD_Standard_Draw_DCI_Image(&d, HT_Rendition{}, {0, 0, 0}, image);
    EXPECT_TRUE(d.images.empty());
}

}  // namespace
