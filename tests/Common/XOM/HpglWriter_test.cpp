#include "Common/XOM/HpglWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "Common/XOM/ColorIndexTable.h"
#include "Common/XOM/PenModel.h"
#include "support/ByteDiff.h"
#include "support/CaptureSink.h"
#include "support/HpglTokenizer.h"
#include "support/PeDecoder.h"

namespace {

// 600 dots per inch on a 36 x 24 inch sheet (wider than long: not rotated) unless a test says
// otherwise.
class HpglWriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearCapture();
        state_.mediaWidth = 36.0;
        state_.mediaLength = 24.0;
        state_.printableLeft = 0.0;
        state_.printableRight = 36.0;
        state_.printableBottom = 0.0;
        state_.printableTop = 24.0;
        state_.inchesPerDot = 1.0 / 600.0;
        state_.byteSender = CaptureBytes;
        UseModel(kPenModelColor);
    }

    void UseModel(uint32_t model) {
        if (model == kPenModelColor) LoadColorIndexPens(state_);
        ApplyWriterDefaults(state_, false, model);
    }

    // Starts the job and drops the opening block, so a test sees only what it draws.
    void StartJob() {
        BeginHpglJob(state_);
        ClearCapture();
        peOpenAtLastTake_ = false;
    }

    // The bytes written since the last Take (or the job start).
    std::string Take() {
        std::string bytes = CapturedBytes();
        ClearCapture();
        fragmentStartsInPe_ = peOpenAtLastTake_;
        peOpenAtLastTake_ = state_.peOpen != 0;
        return bytes;
    }

    PeFrame Frame() const {
        return {state_.rotate != 0, state_.mediaLengthDots, state_.offsetX, state_.offsetY};
    }

    void Line(std::vector<DciPoint> points) {
        DrawPolyline(state_, static_cast<int32_t>(points.size()), points.data());
    }

    static std::vector<HpglToken> Tokens(const std::string& bytes) {
        HpglTokenizeResult r = TokenizeHpgl(bytes);
        EXPECT_TRUE(r.ok) << r.error << " at " << r.errorOffset << " in " << Printable(bytes);
        return r.tokens;
    }

    // Commands of the fragment last taken, which has no opening block and may begin inside PE.
    std::vector<HpglToken> FragmentTokens(const std::string& bytes) const {
        return Tokens(std::string("\x1b%0B") + (fragmentStartsInPe_ ? "PE" : "") + bytes);
    }

    PlotStreamState state_;
    bool peOpenAtLastTake_ = false;
    bool fragmentStartsInPe_ = false;
};

TEST_F(HpglWriterTest, OpeningBlockIsByteExact) {
    state_.jobPrefix = "@PJL prefix\n";
    BeginHpglJob(state_);
    const std::string expected =
        "@PJL prefix\n"  // job prefix, as given
        "\x1b"
        "E"                           // printer reset
        "\x1b%0B"                     // enter HP-GL/2
        "BP5,1;"                      // begin plot, autorotation off
        "PS24384,36576;"              // length, width: inches x 1016
        "RO0"                         // no rotation
        "TR0MC0"                      // merge off
        "SC0,1.693333,0,1.693333,2;"  // one user unit = one dot at 600 dpi
        "CR0,255,0,255,0,255";        // colour range
    EXPECT_TRUE(BytesEqual(CapturedBytes(), expected));
    EXPECT_EQ(state_.jobStarted, 1);
    EXPECT_EQ(state_.absoluteNext, 1);
    EXPECT_EQ(state_.mediaLengthDots, 14400);
    EXPECT_EQ(state_.mediaWidthDots, 21600);
}

TEST_F(HpglWriterTest, OpeningBlockWithMergeOffsetsAndPrefixCutAtZero) {
    state_.jobPrefix = std::string("AB\0CD", 5);
    state_.mergeFlag = 1;
    state_.printableLeft = 0.2001;  // 120.06 dots: rounded up
    state_.printableBottom = 0.5;   // exactly 300 dots
    BeginHpglJob(state_);
    const std::string& bytes = CapturedBytes();
    EXPECT_EQ(bytes.substr(0, 4),
              "AB\x1b"
              "E")
        << "the prefix ends at its first zero byte";
    EXPECT_NE(bytes.find("RO0TR1MC1SC"), std::string::npos) << Printable(bytes);
    EXPECT_EQ(state_.offsetX, 121);
    EXPECT_EQ(state_.offsetY, 300);
}

TEST_F(HpglWriterTest, WritesStartTheJobOnce) {
    WriteMergeMode(state_);
    const std::vector<HpglToken> tokens = Tokens(Take());
    EXPECT_EQ(CountCommands(tokens, "BP"), 1u);
    EXPECT_EQ(CountCommands(tokens, "TR"), 2u) << "the opening block's and the requested one";
}

// Fill, line, move and dot in one job, byte for byte: pens, fill type, line attributes, the
// absolute first coordinate and the PE digit edge cases.
TEST_F(HpglWriterTest, DrawingSequenceIsByteExact) {
    StartJob();
    const DciPoint square[] = {{10, 10, 0}, {20, 10, 0}, {20, 20, 0}};
    FillPolygon(state_, 3, square);
    EXPECT_TRUE(BytesEqual(Take(),
                           "NP255"      // pen count
                           "PC7,0,0,0"  // black is colour index 7 (first match from pen 1)
                           "SP7"
                           "FT"            // solid fill
                           "PE<=\xD3\xD3"  // pen up, absolute (10,10): v=20 -> 191+20
                           ";PMPE"         // polygon mode
                           "\xD3\xBF"      // (+10, 0)
                           "\xBF\xD3"      // (0, +10)
                           "\xD4\xD4"      // back to the first point: -10 -> v=21
                           ";PM2FP"));     // close and fill

    Line({{10, 10, 0}, {42, 9, 0}});
    EXPECT_TRUE(BytesEqual(Take(),
                           "PW0.04"    // 1 dot = 0.0423 mm
                           "LT"        // solid
                           "LA1,4"     // round ends
                           "LA2,4"     // round joins
                           "PE"        // the pen is already at (10,10): no move
                           "\x3F\xC0"  // +32 -> v=64: digit 63, terminator 192
                           "\xC2"));   // -1 -> v=3: terminator 194

    MoveTo(state_, 0, 0);
    EXPECT_TRUE(BytesEqual(Take(), "<\x54\xC0\xD2;"));  // -42 -> v=85 = 21 + 64; -9 -> v=19

    DrawDot(state_, {0, 0, 0}, 1);
    EXPECT_TRUE(BytesEqual(Take(), "PE\xBF\xBF")) << "a dot where the pen is: one zero stroke";
    DrawDot(state_, {5, 0, 0}, 1);
    EXPECT_TRUE(BytesEqual(Take(), "<\xC9\xBF\xBF\xBF"));
}

TEST_F(HpglWriterTest, EncodePointDigits) {
    StartJob();
    EncodePoint(state_, 0, 0);
    EXPECT_TRUE(BytesEqual(Take(), "=\xBF\xBF")) << "first coordinate is absolute";
    EncodePoint(state_, -1, 32);
    EXPECT_TRUE(BytesEqual(Take(), "\xC2\x3F\xC0"));
    EncodePoint(state_, 99999, 32);
    // +100000 -> v=200000 = 0 + 53*64 + 48*4096
    EXPECT_TRUE(BytesEqual(Take(), "\x3F\x74\xEF\xBF"));
    EXPECT_EQ(state_.lastRequestedX, 99999);
    EXPECT_EQ(state_.lastEncodedX, 99999);
}

TEST_F(HpglWriterTest, ExtremeCoordinatesStayConsistent) {
    state_.printableLeft = 1.0;
    state_.printableBottom = 1.0;
    StartJob();
    const int32_t big = INT32_MAX;
    const int32_t small = INT32_MIN;
    const std::vector<DciPoint> points = {{big, small, 0}, {small, big, 0}, {0, 0, 0}, {big, 0, 0}};
    Line(points);
    const PeDecodeResult decoded = DecodePeStream("\x1b%0B" + Take(), Frame());
    ASSERT_TRUE(decoded.ok) << decoded.error;
    ASSERT_EQ(decoded.printerPoints.size(), 4u);
    // Beyond the int32 range the printer coordinate is held at the range's edge.
    EXPECT_EQ(decoded.printerPoints[0].x, INT32_MAX);
    EXPECT_EQ(decoded.printerPoints[0].y, int64_t{small} + 600);
    EXPECT_EQ(decoded.printerPoints[1].x, int64_t{small} + 600);
    EXPECT_EQ(decoded.printerPoints[1].y, INT32_MAX);
    EXPECT_EQ(decoded.points[2], (PePoint{0, 0, true, false, false}));
    EXPECT_EQ(decoded.printerPoints[3].x, INT32_MAX);
}

TEST_F(HpglWriterTest, RotatedPageTurnsEveryPoint) {
    state_.mediaWidth = 24.0;
    state_.mediaLength = 36.0;
    state_.rotate = 1;
    state_.printableLeft = 0.25;   // 150 dots
    state_.printableBottom = 0.5;  // 300 dots
    StartJob();
    ASSERT_EQ(state_.mediaLengthDots, 21600);
    Line({{10, 20, 0}, {11, 20, 0}});
    const PeDecodeResult decoded = DecodePeStream("\x1b%0B" + Take());  // printer's view only
    ASSERT_TRUE(decoded.ok) << decoded.error;
    ASSERT_EQ(decoded.printerPoints.size(), 2u);
    // (x, y) -> (length - (y + offset y), x + offset x)
    EXPECT_EQ(decoded.printerPoints[0], (PePoint{21600 - 320, 160, false, true, false}));
    EXPECT_EQ(decoded.printerPoints[1], (PePoint{21600 - 320, 161, true, false, false}));
}

TEST_F(HpglWriterTest, CoincidentTwoPointLineIsARoundDot) {
    StartJob();
    state_.wantedLineCap = 0;
    state_.wantedLineJoin = 1;
    Line({{0, 0, 0}, {50, 0, 0}});
    std::vector<HpglToken> tokens = FragmentTokens(Take());
    EXPECT_EQ(CountCommands(tokens, "LA", "1,1"), 1u);
    EXPECT_EQ(CountCommands(tokens, "LA", "2,5"), 1u);

    Line({{100, 100, 0}, {100, 100, 0}});
    const std::string dot = Take();
    // Round ends, then a move by (+50, +100): v=100 -> digits 99, 192; v=200 -> 71, 194; then a
    // zero-length stroke.
    EXPECT_TRUE(BytesEqual(dot, ";LA1,4PE<\x63\xC0\x47\xC2\xBF\xBF"));
    tokens = FragmentTokens(dot);
    EXPECT_EQ(CountCommands(tokens, "LA", "2,5"), 0u) << "a dot leaves the join alone";

    Line({{100, 100, 0}, {150, 100, 0}});
    tokens = FragmentTokens(Take());
    EXPECT_EQ(CountCommands(tokens, "LA", "1,1"), 1u) << "the line's own ends come back";
}

TEST_F(HpglWriterTest, ZeroWeightIsOneDot) {
    StartJob();
    state_.wantedLineWeight = 0;
    Line({{0, 0, 0}, {10, 0, 0}});
    EXPECT_EQ(CountCommands(FragmentTokens(Take()), "PW", "0.04"), 1u);
    DrawDot(state_, {20, 20, 0}, 0);
    EXPECT_EQ(CountCommands(FragmentTokens(Take()), "PW"), 0u) << "still 1 dot: cached";
    state_.wantedLineWeight = 24;  // 24 dots = 1.016 mm
    Line({{0, 0, 0}, {10, 0, 0}});
    EXPECT_EQ(CountCommands(FragmentTokens(Take()), "PW", "1.02"), 1u);
}

TEST_F(HpglWriterTest, SameAttributesTwiceWriteOneCommandEach) {
    StartJob();
    state_.wantedColor = PackColor(255, 0, 0);
    state_.wantedLineWeight = 3;
    Line({{0, 0, 0}, {10, 10, 0}});
    Line({{20, 0, 0}, {30, 10, 0}});
    DrawDot(state_, {40, 40, 0}, 3);
    const std::vector<HpglToken> tokens = FragmentTokens(Take());
    for (const char* mnemonic : {"NP", "PC", "SP", "PW", "LT"}) {
        EXPECT_EQ(CountCommands(tokens, mnemonic), 1u) << mnemonic;
    }
    EXPECT_EQ(CountCommands(tokens, "LA"), 2u) << "one for ends, one for joins";
    EXPECT_EQ(CountCommands(tokens, "PE"), 1u) << "the three figures share one PE";
}

TEST_F(HpglWriterTest, AnyCommandClosesAnOpenPe) {
    StartJob();
    Line({{0, 0, 0}, {10, 0, 0}});
    state_.wantedColor = PackColor(0, 255, 0);
    Line({{10, 0, 0}, {10, 10, 0}});
    const std::string bytes = Take();
    EXPECT_NE(bytes.find(";PC3,0,255,0SP3PE"), std::string::npos) << Printable(bytes);
    const std::vector<HpglToken> tokens = FragmentTokens(bytes);
    EXPECT_EQ(CountCommands(tokens, "PE"), 2u);
}

TEST_F(HpglWriterTest, ColorModelReusesPensAndRecyclesTheOldest) {
    StartJob();
    const DciPoint line[] = {{0, 0, 0}, {10, 0, 0}};
    auto draw = [&](uint32_t color) {
        state_.wantedColor = color;
        DrawPolyline(state_, 2, line);
    };
    draw(PackColor(1, 2, 0));    // not in the table: pen 19, the queue's head
    draw(PackColor(255, 0, 0));  // table colour: pen 1
    draw(PackColor(1, 2, 0));    // back to pen 19, still defined
    std::vector<HpglToken> tokens = FragmentTokens(Take());
    EXPECT_EQ(CountCommands(tokens, "PC", "19,1,2,0"), 1u);
    EXPECT_EQ(CountCommands(tokens, "PC", "1,255,0,0"), 1u);
    EXPECT_EQ(CountCommands(tokens, "SP", "19"), 2u);
    EXPECT_EQ(CountCommands(tokens, "PC"), 2u);

    for (int i = 1; i < 97; ++i) draw(PackColor(1, 2, static_cast<uint8_t>(i)));
    tokens = FragmentTokens(Take());
    EXPECT_EQ(CountCommands(tokens, "PC"), 96u);
    EXPECT_EQ(CountCommands(tokens, "PC", "29,1,2,1"), 1u);
    EXPECT_EQ(CountCommands(tokens, "PC", "246,1,2,95"), 1u);
    EXPECT_EQ(CountCommands(tokens, "PC", "19,1,2,96"), 1u) << "97th new colour reuses pen 19";
    EXPECT_EQ(state_.penQueue.Head(), 29);
}

// The pen recycled from the queue can be the current pen. Its new colour must still be sent,
// or the next strokes come out in its old colour.
TEST_F(HpglWriterTest, RecycledCurrentPenGetsItsNewColor) {
    StartJob();
    state_.wantedColor = PackColor(114, 57, 57);  // colour index 19: pen 19 by table match
    Line({{0, 0, 0}, {10, 0, 0}});
    ASSERT_EQ(state_.currentPen, 19);
    state_.wantedColor = PackColor(9, 8, 7);  // new colour: the queue's head is pen 19
    Line({{10, 0, 0}, {20, 0, 0}});
    const std::vector<HpglToken> tokens = FragmentTokens(Take());
    EXPECT_EQ(CountCommands(tokens, "PC", "19,114,57,57"), 1u);
    EXPECT_EQ(CountCommands(tokens, "PC", "19,9,8,7"), 1u);
    EXPECT_EQ(state_.penDefined[19], 1);
    EXPECT_EQ(state_.currentPen, 19);
    // And the next selection of the same colour sends nothing.
    Line({{20, 0, 0}, {30, 0, 0}});
    EXPECT_EQ(CountCommands(FragmentTokens(Take()), "PC"), 0u);
}

TEST_F(HpglWriterTest, MonochromeUsesPenOneOnly) {
    UseModel(kPenModelMonochrome);
    StartJob();
    for (uint32_t color : {PackColor(255, 0, 0), PackColor(0, 0, 255), PackColor(9, 9, 9)}) {
        state_.wantedColor = color;
        Line({{0, 0, 0}, {10, 0, 0}});
    }
    const std::vector<HpglToken> tokens = FragmentTokens(Take());
    EXPECT_EQ(CountCommands(tokens, "NP", "2"), 1u);
    EXPECT_EQ(CountCommands(tokens, "PC", "1,0,0,0"), 1u);
    EXPECT_EQ(CountCommands(tokens, "SP", "1"), 1u);
    EXPECT_EQ(CountCommands(tokens, "SP"), 1u);
}

TEST_F(HpglWriterTest, GrayPicksPensByLuminance) {
    UseModel(kPenModelGray);
    StartJob();
    const struct {
        uint32_t color;
        const char* pen;
    } cases[] = {{PackColor(255, 255, 255), "255"},  // L = 255
                 {PackColor(0, 0, 0), "1"},          // black
                 {PackColor(0, 0, 8), "1"},          // L = 1 shares pen 1
                 {PackColor(16, 16, 16), "16"}};
    for (const auto& c : cases) {
        state_.wantedColor = c.color;
        Line({{0, 0, 0}, {10, 0, 0}});
        const std::vector<HpglToken> tokens = FragmentTokens(Take());
        if (std::string(c.pen) == "1" && c.color != 0) {
            EXPECT_EQ(CountCommands(tokens, "SP"), 0u) << "pen 1 is already current";
        } else {
            EXPECT_EQ(CountCommands(tokens, "SP", c.pen), 1u) << c.pen;
        }
    }
    EXPECT_EQ(state_.lastColorLookedUp, PackColor(16, 16, 16));
}

TEST_F(HpglWriterTest, VirtualPensSendNoPenColorsOrLineTypes) {
    UseModel(kPenModelVirtualColor);
    StartJob();
    int pen = 1;
    for (int cap : {0, 1, 3, -1}) {
        state_.wantedLineCap = cap;
        state_.wantedLineJoin = cap;
        state_.wantedPenIndex = ++pen;
        state_.wantedLineWeight = pen;
        Line({{0, 0, 0}, {10, 0, 0}});
    }
    DrawDot(state_, {5, 5, 0}, 7);
    const std::vector<HpglToken> tokens = FragmentTokens(Take());
    EXPECT_EQ(CountCommands(tokens, "PC"), 0u);
    EXPECT_EQ(CountCommands(tokens, "LT"), 0u);
    EXPECT_EQ(CountCommands(tokens, "LA"), 0u);
    EXPECT_EQ(CountCommands(tokens, "NP", "255"), 1u);
    EXPECT_EQ(CountCommands(tokens, "SP"), 4u);
    EXPECT_EQ(CountCommands(tokens, "PW"), 5u);
}

TEST_F(HpglWriterTest, ResetPenStateSendsEverythingAfresh) {
    StartJob();
    state_.wantedColor = PackColor(1, 2, 3);
    Line({{0, 0, 0}, {10, 0, 0}});
    MoveTo(state_, 40, 40);  // a raster image starts with a move, which closes PE
    ResetPenState(state_);
    Take();
    Line({{40, 40, 0}, {50, 40, 0}});
    const std::string bytes = Take();
    const std::vector<HpglToken> tokens = FragmentTokens(bytes);
    for (const char* mnemonic : {"NP", "PC", "SP", "PW", "LT", "PE"}) {
        EXPECT_EQ(CountCommands(tokens, mnemonic), 1u) << mnemonic;
    }
    EXPECT_EQ(CountCommands(tokens, "LA"), 2u);
    EXPECT_NE(bytes.find("PE<="), std::string::npos) << "an absolute move, even to the same point";
}

TEST_F(HpglWriterTest, TwoJobsInOneProcessBothSendPenCount) {
    std::string jobs[2];
    for (std::string& job : jobs) {
        UseModel(kPenModelColor);
        Line({{0, 0, 0}, {10, 0, 0}});
        WriteJobClose(state_);
        job = Take();
    }
    for (const std::string& job : jobs) {
        const std::vector<HpglToken> tokens = Tokens(job);
        EXPECT_EQ(CountCommands(tokens, "BP"), 1u);
        EXPECT_EQ(CountCommands(tokens, "NP", "255"), 1u);
        EXPECT_EQ(job.substr(job.size() - 11),
                  ";PUSP0PG;\x1b"
                  "E");
    }
}

TEST_F(HpglWriterTest, CloseWithoutJobAndNullSenderSendNothing) {
    WriteJobClose(state_);
    EXPECT_TRUE(CapturedBytes().empty());
    FillPolygon(state_, 0, nullptr);
    Line({});
    EXPECT_TRUE(CapturedBytes().empty());
    EXPECT_EQ(state_.jobStarted, 0) << "nothing to draw starts no job";

    state_.byteSender = nullptr;
    Line({{0, 0, 0}, {10, 0, 0}});
    const DciPoint triangle[] = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
    FillPolygon(state_, 3, triangle);
    EXPECT_EQ(state_.plotNotEmpty, 1);
}

TEST_F(HpglWriterTest, LongPolylineIsSentInFewChunks) {
    StartJob();
    std::vector<DciPoint> points(20000);
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i] = {static_cast<int32_t>(i % 2 ? 1000 : 0), static_cast<int32_t>(i), 0};
    }
    Line(points);
    EXPECT_LT(CaptureCalls(), 40u) << "PE bytes are gathered, not sent per point";
    const PeDecodeResult decoded = DecodePeStream("\x1b%0B" + Take(), Frame());
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.points.size(), points.size());
}

// Random figures go out and come back through the decoder as the same points, on plain and on
// turned pages.
struct Expected {
    std::vector<std::tuple<int64_t, int64_t, bool>> points;
    int64_t lastX = 0, lastY = 0;
    bool absolute = true;

    bool NeedsMove(const DciPoint& p) const { return absolute || p.x != lastX || p.y != lastY; }
    void Add(const DciPoint& p, bool down) {
        points.emplace_back(p.x, p.y, down);
        lastX = p.x;
        lastY = p.y;
        absolute = false;
    }
};

class HpglRoundTripTest : public HpglWriterTest, public ::testing::WithParamInterface<bool> {};

TEST_P(HpglRoundTripTest, RandomFiguresDecodeToTheDrawnPoints) {
    if (GetParam()) {
        state_.mediaWidth = 24.0;
        state_.mediaLength = 36.0;
        state_.rotate = 1;
    }
    state_.printableLeft = 0.2001;
    state_.printableBottom = 0.31;
    std::mt19937 random(GetParam() ? 7 : 11);
    auto uniform = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    Expected expected;
    DciPoint at{uniform(-100, 20000), uniform(-100, 14000), 0};
    for (int figure = 0; figure < 400; ++figure) {
        state_.wantedColor = PackColor(static_cast<uint8_t>(uniform(0, 3) * 80), 0, 0);
        state_.wantedLineWeight = uniform(0, 4);
        const int kind = uniform(0, 9);
        if (kind == 0) {  // a move, then what a raster image does to the pen state
            at = {uniform(-500, 30000), uniform(-500, 30000), 0};
            MoveTo(state_, at.x, at.y);
            if (expected.NeedsMove(at)) expected.Add(at, false);
            ResetPenState(state_);
            expected.absolute = true;
            continue;
        }
        if (kind == 1) {  // a dot
            DrawDot(state_, at, 2);
            if (expected.NeedsMove(at)) {
                expected.Add(at, false);
                expected.Add(at, true);
            } else {
                expected.Add(at, true);
            }
            continue;
        }
        std::vector<DciPoint> line;
        if (kind == 2) at = {uniform(-70000, 70000), uniform(-70000, 70000), 0};  // far jump
        const int count = uniform(2, 300);
        for (int i = 0; i < count; ++i) {
            line.push_back(at);
            const int step = uniform(0, 20) == 0 ? 5000 : 50;
            at.x += uniform(-step, step);
            at.y += uniform(-step, step);
        }
        if (line.size() == 2 && line[0].x == line[1].x && line[0].y == line[1].y) line[1].x += 1;
        Line(line);
        if (expected.NeedsMove(line[0])) expected.Add(line[0], false);
        for (std::size_t i = 1; i < line.size(); ++i) expected.Add(line[i], true);
        at = line.back();
    }
    WriteJobClose(state_);

    const PeDecodeResult decoded = DecodePeStream(Take(), Frame());
    ASSERT_TRUE(decoded.ok) << decoded.error << " at " << decoded.errorOffset;
    EXPECT_FALSE(decoded.peOpenAtEnd);
    ASSERT_EQ(decoded.points.size(), expected.points.size());
    for (std::size_t i = 0; i < decoded.points.size(); ++i) {
        const PePoint& p = decoded.points[i];
        ASSERT_EQ(std::make_tuple(p.x, p.y, p.penDown), expected.points[i]) << "point " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(PlainAndTurned, HpglRoundTripTest, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "Turned" : "Plain"; });

}  // namespace
