#include "support/PclRasterDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Bytes = std::vector<std::uint8_t>;

TEST(PclRasterDecoder, RowDecodersRejectMalformedRows) {
    std::string error;
    Bytes row;
    const Bytes truncatedLiteral{3, 1, 2};
    EXPECT_FALSE(
        xomtest::DecodeMethod2(truncatedLiteral.data(), truncatedLiteral.size(), 8, row, error));
    const Bytes tooLong{254, 1};
    EXPECT_FALSE(xomtest::DecodeMethod2(tooLong.data(), tooLong.size(), 2, row, error));
    const Bytes noByte{254};
    EXPECT_FALSE(xomtest::DecodeMethod2(noByte.data(), noByte.size(), 8, row, error));
    Bytes seed(4, 0);
    const Bytes pastRow{4, 1};
    EXPECT_FALSE(xomtest::DecodeMethod3(pastRow.data(), pastRow.size(), seed, error));
    const Bytes openExtension{31, 255};
    EXPECT_FALSE(xomtest::DecodeMethod3(openExtension.data(), openExtension.size(), seed, error));
}

TEST(PclRasterDecoder, ReadsAnIndexedRasterWithPaletteAndRepeatedRows) {
    const std::string job =
        "PU;TR0MC0\x1b%1A\x1b*v6W\x00\x01\x08\x08\x08\x08"
        "\x1b*v255a0b0c0i0a0b255c1I"
        "\x1b*t600R\x1b*r3t2S\x1b*r1A"
        "\x1b*b2M\x1b*b3W\x01\x01\x00"
        "\x1b*b3M\x1b*b0W\x1b*b2W\x01\x01"
        "\x1b*rC\x1b%1BTR0MC0"s;
    std::vector<xomtest::PclRasterImage> images;
    std::string error;
    ASSERT_TRUE(xomtest::ReadPclRasters(job, images, error)) << error;
    ASSERT_EQ(images.size(), 1u);
    const auto& im = images[0];
    EXPECT_EQ(im.hpglBefore, "PU;TR0MC0");
    EXPECT_EQ(im.after, "TR0MC0");
    EXPECT_TRUE(im.configured);
    EXPECT_EQ(im.width, 2);
    EXPECT_EQ(im.height, 3);
    ASSERT_EQ(im.rows.size(), 3u);
    EXPECT_EQ(im.rows[0], (Bytes{1, 0}));
    EXPECT_EQ(im.rows[1], (Bytes{1, 0}));
    EXPECT_EQ(im.rows[2], (Bytes{1, 1}));
    EXPECT_EQ(im.repeatedRows, 1);
    EXPECT_EQ(im.Colour(0, 0), 0x0000FFu);
    EXPECT_EQ(im.Colour(1, 0), 0xFF0000u);
}

TEST(PclRasterDecoder, MalformedStreamsAreErrors) {
    const std::vector<std::string> bad{
        "\x1b%1A\x1b*r1A\x1b*b9W\x01"s,          // data past the stream
        "\x1b%1Atext\x1b*rC\x1b%1B"s,            // text inside PCL
        "\x1b%1A\x1b*b0W\x1b*rC\x1b%1B"s,        // row outside a raster
        "\x1b%1A\x1b*r1A\x1b*b5M\x1b*b1W\x00"s,  // unknown method
        "\x1b%1A\x1b*r1A\x1b%1B"s,               // HP-GL/2 before the raster ended
        "\x1b%1A\x1b*v4W\x00\x01\x08\x08"s,      // short configure block
    };
    for (const auto& job : bad) {
        std::vector<xomtest::PclRasterImage> images;
        std::string error;
        EXPECT_FALSE(xomtest::ReadPclRasters(job, images, error));
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
