#include "hdi/HT_Image_Row_Source.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// 2 x 2 RGBA: red, green / blue, transparent.
const Bytes kPixels{255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 9, 9, 9, 0};

Bytes Band(HT_RGBA_Row_Source& s, const HT_Image_Band_Request& q) {
    HT_Image_Band b = s.render_band(q);
    EXPECT_EQ(b.status, HT_BAND_OK);
    Bytes out;
    for (int k = 0; k < b.row_count; ++k)
        out.insert(out.end(), b.data + k * b.row_stride,
                   b.data + k * b.row_stride + q.columns * HT_Band_Format_Bytes(q.format));
    s.release_band(b);
    return out;
}

TEST(ImageRowSource, FormatsOrientationsAndResampling) {
    HT_RGBA_Row_Source s(2, 2, kPixels.data());
    HT_Image_Band_Request q;
    q.columns = 2;
    q.rows = 2;
    q.row_count = 2;
    q.format = HT_BAND_FORMAT_BGR24;
    EXPECT_EQ(Band(s, q), (Bytes{0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}));
    q.transparent = true;  // the background takes the key colour
    EXPECT_EQ(Band(s, q), (Bytes{0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 241, 250}));
    q.orientation = HT_ORIENTATION_HALF_TURN;  // bottom row first, right to left
    EXPECT_EQ(Band(s, q), (Bytes{255, 241, 250, 255, 0, 0, 0, 255, 0, 0, 0, 255}));
    q.orientation = HT_ORIENTATION_AS_IS;
    q.format = HT_BAND_FORMAT_BGRA32;
    EXPECT_EQ(Band(s, q), (Bytes{0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255, 9, 9, 9, 0}));
    q.format = HT_BAND_FORMAT_GRAY8;
    EXPECT_EQ(Band(s, q), (Bytes{143, 79, 31, 255}));
    q.format = HT_BAND_FORMAT_CLASS8;  // ink darker than 128, paper, background
    EXPECT_EQ(Band(s, q), (Bytes{1, 2, 2, 0}));
    q.format = HT_BAND_FORMAT_BGR24;
    q.bitonal = true;
    EXPECT_EQ(Band(s, q), (Bytes{0, 0, 0, 255, 255, 255, 255, 255, 255, 0, 0, 0}));
    // Enlarged to 4 x 4, the second row band only: nearest pixel.
    q.bitonal = false;
    q.format = HT_BAND_FORMAT_GRAY8;
    q.columns = 4;
    q.rows = 4;
    q.first_row = 1;
    q.row_count = 2;
    EXPECT_EQ(Band(s, q), (Bytes{143, 143, 79, 79, 31, 31, 255, 255}));
    EXPECT_EQ(s.live_bands(), 0);
}

TEST(ImageRowSource, MemoryLimitAndBadRequests) {
    HT_RGBA_Row_Source s(2, 2, kPixels.data());
    HT_Image_Band_Request q;
    q.columns = 100;
    q.rows = 100;
    q.row_count = 10;
    q.format = HT_BAND_FORMAT_BGR24;
    s.set_band_memory_limit(2999);  // the band needs 3000 bytes
    HT_Image_Band b = s.render_band(q);
    EXPECT_EQ(b.status, HT_BAND_NO_MEMORY);
    EXPECT_EQ(s.refusals(), 1);
    q.row_count = 9;
    b = s.render_band(q);
    EXPECT_EQ(b.status, HT_BAND_OK);
    EXPECT_EQ(s.live_bands(), 1);
    s.release_band(b);
    EXPECT_EQ(s.live_bands(), 0);
    s.set_band_memory_limit(0);
    for (auto bad :
         {HT_Image_Band_Request{0, 1, 0, 1}, HT_Image_Band_Request{1, 1, 1, 1},
          HT_Image_Band_Request{1, 1, -1, 1}, HT_Image_Band_Request{1, 2, 0, 0},
          HT_Image_Band_Request{1, 1, 0, 1, 4}, HT_Image_Band_Request{1, 1, 0, 1, 0, 2}}) {
        b = s.render_band(bad);
        EXPECT_EQ(b.status, HT_BAND_FAILED);
        EXPECT_EQ(b.data, nullptr);
    }
    HT_RGBA_Row_Source none(2, 2, nullptr);
    q.row_count = 1;
    EXPECT_EQ(none.render_band(q).status, HT_BAND_FAILED);
}

}  // namespace
