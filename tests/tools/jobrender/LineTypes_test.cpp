#include "tools/jobrender/LineTypes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace jobrender {
namespace {

// The pieces along y = 0 as [from, to] of x.
std::vector<std::pair<double, double>> Spans(const DashedPath& d) {
    std::vector<std::pair<double, double>> out;
    for (const auto& piece : d.pieces) out.emplace_back(piece.front().x, piece.back().x);
    return out;
}

void ExpectSpans(const DashedPath& d, const std::vector<std::pair<double, double>>& expected) {
    const auto got = Spans(d);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].first, expected[i].first, 1e-9) << i;
        EXPECT_NEAR(got[i].second, expected[i].second, 1e-9) << i;
    }
}

TEST(LineTypes, FixedTypesRepeatTheirPatternAndCarryTheResidue) {
    DashedPath d;
    // Type 2: half down, half up. A pattern of 20 along 100 pixels, turning a corner.
    ASSERT_TRUE(DashPath({{0, 0}, {45, 0}, {100, 0}}, 2, 20, 0, 1000, d));
    ExpectSpans(d, {{0, 10}, {20, 30}, {40, 50}, {60, 70}, {80, 90}});
    EXPECT_EQ(d.pieces[2].size(), 3u) << "a dash across a vertex keeps the vertex";
    EXPECT_NEAR(d.phase, 0.0, 1e-9);

    // The next line goes on where the last one left the pattern.
    ASSERT_TRUE(DashPath({{0, 0}, {15, 0}}, 2, 20, 0, 1000, d));
    ExpectSpans(d, {{0, 10}});
    EXPECT_NEAR(d.phase, 0.75, 1e-9);
    ASSERT_TRUE(DashPath({{0, 0}, {15, 0}}, 2, 20, 0.75, 1000, d));
    ExpectSpans(d, {{5, 15}});

    // Type 4: 80 down, 10 up, a dot, 10 up.
    ASSERT_TRUE(DashPath({{0, 0}, {200, 0}}, 4, 100, 0, 1000, d));
    ExpectSpans(d, {{0, 80}, {90, 90}, {100, 180}, {190, 190}});
}

TEST(LineTypes, TypeOneIsDotsAndTypeZeroDotsThePoints) {
    DashedPath d;
    ASSERT_TRUE(DashPath({{0, 0}, {50, 0}}, 1, 20, 0, 1000, d));
    ExpectSpans(d, {{0, 0}, {20, 20}, {40, 40}});
    for (const auto& dot : d.pieces) ASSERT_EQ(dot.size(), 2u);
    ASSERT_TRUE(DashPath({{0, 0}, {7, 0}, {30, 0}}, 0, 20, 0, 1000, d));
    ExpectSpans(d, {{0, 0}, {7, 7}, {30, 30}});
}

TEST(LineTypes, AdaptiveTypesFitWholePatternsIntoEachSegment) {
    DashedPath d;
    // 100 pixels with a pattern of 30: three patterns of 33.3; the next segment starts afresh.
    ASSERT_TRUE(DashPath({{0, 0}, {100, 0}, {140, 0}}, -2, 30, 0.5, 1000, d));
    const double p = 100.0 / 3;
    ExpectSpans(d, {{0, p / 2}, {p, 1.5 * p}, {2 * p, 2.5 * p}, {100, 120}});
}

TEST(LineTypes, APatternTooFineForThePieceLimitIsRefused) {
    DashedPath d;
    EXPECT_FALSE(DashPath({{0, 0}, {1e6, 0}}, 2, 0.01, 0, 1000, d));
    EXPECT_FALSE(DashPath({{0, 0}, {10, 0}}, 2, 0, 0, 1000, d));
    EXPECT_FALSE(DashPath({{0, 0}, {1, 0}, {2, 0}}, 0, 1, 0, 2, d));
    EXPECT_TRUE(DashPath({{0, 0}, {1000, 0}}, 2, 1, 0, 1100, d));
    EXPECT_EQ(d.pieces.size(), 1000u);
}

}  // namespace
}  // namespace jobrender
