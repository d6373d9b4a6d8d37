#include "Common/XomImage/RowCompressor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/CaptureSink.h"
#include "tests/Common/XomImage/PlainRowCodec.h"

namespace {

using namespace std::string_literals;
using xomimage::RowCompressor;

class RowCompressorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearCapture();
        stream.byteSender = &CaptureBytes;
    }
    std::unique_ptr<RowCompressor> Make(int width, int bpp = 1) {
        auto c = RowCompressor::Create("Gray compressor", width, bpp, stream);
        EXPECT_NE(c, nullptr);
        return c;
    }
    static void Fill(RowCompressor& c, std::uint8_t value) {
        std::memset(c.Row(), value, c.RowBytes());
    }
    PlotStreamState stream;
};

TEST_F(RowCompressorTest, WhiteAfterWhiteIsAnEmptyDeltaRow) {
    auto c = Make(300);
    Fill(*c, 255);
    c->Encode();
    Fill(*c, 255);
    c->Encode();
    // First row against the zero seed: method 2 (6 bytes) beats method 3 (far longer).
    EXPECT_EQ(CapturedBytes(),
              "\x1b*b2M\x1b*b6W\x81\xff\x81\xff\xd5\xff"
              "\x1b*b3M\x1b*b0W"s);
    EXPECT_EQ(c->Rows(), 2u);
    EXPECT_EQ(c->InputBytes(), 600u);
    EXPECT_EQ(c->Method2Bytes(), 6u);
    EXPECT_EQ(c->Method3Bytes(), 0u);
}

TEST_F(RowCompressorTest, MethodIsSentOnlyOnChangeAndATieTakesMethod2) {
    auto c = Make(4);
    // Row 1 {1,2,3,4} against zeros: method 2 "3 1 2 3 4" (5), method 3 "0x60 1 2 3 4" (5): tie.
    const std::uint8_t row1[] = {1, 2, 3, 4};
    std::memcpy(c->Row(), row1, 4);
    c->Encode();
    // Row 2 {1,2,3,9}: method 3 "3 9" (2) wins.
    const std::uint8_t row2[] = {1, 2, 3, 9};
    std::memcpy(c->Row(), row2, 4);
    c->Encode();
    // Row 3 {1,2,3,8}: method 3 again, no "\e*b3M".
    const std::uint8_t row3[] = {1, 2, 3, 8};
    std::memcpy(c->Row(), row3, 4);
    c->Encode();
    EXPECT_EQ(CapturedBytes(),
              "\x1b*b2M\x1b*b5W\x03\x01\x02\x03\x04"
              "\x1b*b3M\x1b*b2W\x03\x09"
              "\x1b*b2W\x03\x08"s);
}

TEST_F(RowCompressorTest, RepeatedRowsAreEmptyDeltaRowsUnderMethod3) {
    auto c = Make(2);
    const std::uint8_t row[] = {7, 8};
    std::memcpy(c->Row(), row, 2);
    c->Encode(3);
    EXPECT_EQ(CapturedBytes(),
              "\x1b*b2M\x1b*b3W\x01\x07\x08"
              "\x1b*b3M\x1b*b0W\x1b*b0W"s);
    // A new raster forgets the method.
    ClearCapture();
    c->ForgetMethod();
    std::memcpy(c->Row(), row, 2);
    c->Encode();
    EXPECT_EQ(CapturedBytes(), "\x1b*b3M\x1b*b0W"s);
}

// The plain algorithm: both forms in full, the strictly shorter method 3 or else method 2.
std::string PlainRowCommands(const std::vector<std::uint8_t>& row,
                             const std::vector<std::uint8_t>& seed, int& method) {
    const auto m2 = plaincodec::Method2(row.data(), row.size());
    const auto m3 = plaincodec::Method3(row.data(), seed.data(), row.size());
    const bool take3 = m3.size() < m2.size();
    std::string out;
    if (method != (take3 ? 3 : 2)) out += take3 ? "\x1b*b3M" : "\x1b*b2M";
    method = take3 ? 3 : 2;
    const auto& body = take3 ? m3 : m2;
    out += "\x1b*b" + std::to_string(body.size()) + "W";
    out.append(body.begin(), body.end());
    return out;
}

TEST_F(RowCompressorTest, EncodeIsByteIdenticalToThePlainAlgorithm) {
    std::mt19937 rng(99);
    for (int trial = 0; trial < 200; ++trial) {
        const int width = 1 + static_cast<int>(rng() % 3000);
        auto c = Make(width);
        std::vector<std::uint8_t> seed(c->RowBytes(), 0), row(c->RowBytes());
        std::string expected;
        int method = -1;
        ClearCapture();
        for (int r = 0; r < 12; ++r) {
            // Mostly white with sparse ink, or noisy, or a copy of the row before, or the row
            // before with ink of some density added or taken away (both methods come close).
            const unsigned style = rng() % 4;
            const unsigned perMille = 1 + rng() % 40;
            for (std::size_t i = 0; i < row.size(); ++i) {
                if (style == 0) row[i] = rng() % 100 == 0 ? 0 : 255;
                if (style == 1) row[i] = static_cast<std::uint8_t>(rng() % 5);
                if (style == 3 && rng() % 1000 < perMille) row[i] = row[i] == 0 ? 255 : 0;
            }
            std::memcpy(c->Row(), row.data(), row.size());
            c->Encode();
            expected += PlainRowCommands(row, seed, method);
            seed = row;
        }
        ASSERT_EQ(CapturedBytes(), expected) << "width " << width;
    }
}

TEST_F(RowCompressorTest, NearTiesOfTheTwoMethodsTakeTheShorterLikeThePlainAlgorithm) {
    // A white row after a row with m dark bytes: method 2 is a few bytes per 128, method 3 two
    // or so per dark byte, so as m grows the shorter form changes from method 3 to method 2.
    std::mt19937 rng(5);
    for (const int width : {500, 2000, 21600}) {
        for (int m = 0; m <= 3 * width / 128; ++m) {
            auto c = Make(width);
            std::vector<std::uint8_t> seed(c->RowBytes(), 255);
            for (int k = 0; k < m; ++k) seed[rng() % seed.size()] = 0;
            const std::vector<std::uint8_t> row(c->RowBytes(), 255);
            ClearCapture();
            int method = -1;
            std::memcpy(c->Row(), seed.data(), seed.size());
            c->Encode();
            std::memcpy(c->Row(), row.data(), row.size());
            c->Encode();
            std::string expected =
                PlainRowCommands(seed, std::vector<std::uint8_t>(seed.size(), 0), method);
            expected += PlainRowCommands(row, seed, method);
            ASSERT_EQ(CapturedBytes(), expected) << "width " << width << ", " << m << " dark";
        }
    }
}

TEST_F(RowCompressorTest, RowBytesFollowTheDepthAndBadWidthsGiveNoCompressor) {
    EXPECT_EQ(Make(10, 3)->RowBytes(), 30u);
    EXPECT_EQ(Make(9, 0)->RowBytes(), 2u);
    EXPECT_EQ(Make(8, 0)->RowBytes(), 1u);
    EXPECT_EQ(RowCompressor::Create("x", 0, 1, stream), nullptr);
    EXPECT_EQ(RowCompressor::Create("x", -5, 3, stream), nullptr);
}

}  // namespace
