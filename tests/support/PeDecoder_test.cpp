#include "support/PeDecoder.h"

#include <gtest/gtest.h>

#include <string>

#include "support/HpglTokenizer.h"

namespace {

const std::string kEnter = "\x1b%0B";

TEST(PeDecoderTest, AbsoluteRelativeAndPenUp) {
    // =(10,10) pen up; (+32,-1); (-42,-9) pen up.
    const PeDecodeResult r =
        DecodePeStream(kEnter + "PE<=\xD3\xD3\x3F\xC0\xC2;SP1;PE<\x54\xC0\xD2");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.points.size(), 3u);
    EXPECT_EQ(r.points[0], (PePoint{10, 10, false, true, false}));
    EXPECT_EQ(r.points[1], (PePoint{42, 9, true, false, false}));
    EXPECT_EQ(r.points[2], (PePoint{0, 0, false, false, false})) << "position carries over PE";
    EXPECT_TRUE(r.peOpenAtEnd);
}

TEST(PeDecoderTest, UndoesOffsetsAndTurn) {
    PeFrame frame;
    frame.rotate = true;
    frame.mediaLengthDots = 1000;
    frame.offsetX = 5;
    frame.offsetY = 7;
    // Printer point (1000 - (20 + 7), 10 + 5) = (973, 15) for drawing point (10, 20).
    std::string pe = kEnter + "PE=";
    for (int v : {973 * 2, 15 * 2}) {
        while (v >= 64) {
            pe += static_cast<char>(v % 64 + 63);
            v /= 64;
        }
        pe += static_cast<char>(v + 191);
    }
    const PeDecodeResult r = DecodePeStream(pe + ";", frame);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.points.size(), 1u);
    EXPECT_EQ(r.points[0].x, 10);
    EXPECT_EQ(r.points[0].y, 20);
    EXPECT_EQ(r.printerPoints[0].x, 973);
    EXPECT_FALSE(r.peOpenAtEnd);
}

TEST(PeDecoderTest, PolygonModeIsMarked) {
    const PeDecodeResult r = DecodePeStream(kEnter + "PE<=\xBF\xBF;PMPE\xD3\xBF\xD4\xBF;PM2FP;");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.points.size(), 3u);
    EXPECT_FALSE(r.points[0].inPolygon);
    EXPECT_TRUE(r.points[1].inPolygon);
    EXPECT_TRUE(r.points[2].inPolygon);
    EXPECT_EQ(SplitStrokes(r.points).size(), 1u);
}

TEST(PeDecoderTest, MalformedDataIsReportedWithItsOffset) {
    const struct {
        std::string stream;
        std::size_t offset;
        const char* what;
    } cases[] = {
        {kEnter + "PE=\xBF\x20\xBF;", 8, "a space is no PE digit"},
        {kEnter + "PE=\xBF;", 8, "pair cut by the terminator"},
        {kEnter + "PE\x3F", 7, "digit without terminator at the end"},
        {kEnter + "PE\xBF<\xBF;", 7, "flag between x and y"},
        {kEnter + "PE>\xBF\xBF;", 6, "fractional flag"},
        {kEnter + "PE" + std::string(11, '\x3F') + "\xBF\xBF;", 16, "more digits than any value"},
        {kEnter + "PE<;", 7, "flag without a coordinate"},
    };
    for (const auto& c : cases) {
        const PeDecodeResult r = DecodePeStream(c.stream);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_FALSE(r.error.empty()) << c.what;
        EXPECT_EQ(r.errorOffset, c.offset) << c.what << ": " << r.error;
    }
}

TEST(HpglTokenizerTest, SplitsOpeningBlockAndClosing) {
    const std::string stream =
        "@PJL X\n\x1b"
        "E\x1b%0BBP5,1;PS24384,36576;RO0TR0MC0SC0,1.693333,0,1.693333,2;"
        "CR0,255,0,255,0,255NP255PC7,0,0,0SP7PE<=\xD3\xD3;PMPE\xD3\xBF;PM2FP;PUSP0PG;\x1b"
        "E";
    const HpglTokenizeResult r = TokenizeHpgl(stream);
    ASSERT_TRUE(r.ok) << r.error << " at " << r.errorOffset;
    EXPECT_EQ(r.tokens.front().kind, HpglToken::Kind::Text);
    const std::vector<std::string> expected = {"BP", "PS", "RO", "TR", "MC", "SC",
                                               "CR", "NP", "PC", "SP", "PE", "PM",
                                               "PE", "PM", "FP", "PU", "SP", "PG"};
    EXPECT_EQ(CommandMnemonics(r.tokens), expected);
    EXPECT_EQ(CountCommands(r.tokens, "SC", "0,1.693333,0,1.693333,2"), 1u);
    EXPECT_EQ(CountCommands(r.tokens, "PM", "2"), 1u);
    EXPECT_EQ(r.tokens.back().mnemonic,
              "\x1b"
              "E");
}

TEST(HpglTokenizerTest, SkipsRasterDataByItsCount) {
    const std::string stream = kEnter + "SP1;\x1b%1A\x1b*r1A\x1b*b3W;PE\x1b*rC\x1b%1BSP2;";
    const HpglTokenizeResult r = TokenizeHpgl(stream);
    ASSERT_TRUE(r.ok) << r.error << " at " << r.errorOffset;
    EXPECT_EQ(CommandMnemonics(r.tokens), (std::vector<std::string>{"SP", "SP"}))
        << "the data bytes ';PE' are not commands";
}

TEST(HpglTokenizerTest, MalformedStreams) {
    const struct {
        std::string stream;
        std::size_t offset;
        const char* what;
    } cases[] = {
        {kEnter + "SP1;\x01", 8, "control byte between commands"},
        {kEnter + "S", 4, "mnemonic cut short"},
        {kEnter + "\x1b*b99W12", 7, "data count beyond the stream"},
        {"\x1b", 0, "escape at the end"},
        {"\x1b%0Q", 3, "unknown % escape"},
    };
    for (const auto& c : cases) {
        const HpglTokenizeResult r = TokenizeHpgl(c.stream);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_EQ(r.errorOffset, c.offset) << c.what << ": " << r.error;
    }
    // The PE decoder reports the tokenizer's error too.
    EXPECT_FALSE(DecodePeStream(kEnter + "PE=\xBF\xBF;\x01").ok);
}

}  // namespace
