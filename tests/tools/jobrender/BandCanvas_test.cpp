#include "tools/jobrender/BandCanvas.h"

#include <gtest/gtest.h>

namespace jobrender {
namespace {

int Count(const BandCanvas& c, Rgb colour) {
    int n = 0;
    for (int i = 0; i < c.width() * c.rows(); ++i) {
        const std::uint8_t* p = c.data() + i * 3;
        if (p[0] == colour.r && p[1] == colour.g && p[2] == colour.b) ++n;
    }
    return n;
}

Rgb At(const BandCanvas& c, int col, int row) {
    const std::uint8_t* p = c.data() + ((row - c.first_row()) * c.width() + col) * 3;
    return {p[0], p[1], p[2]};
}

Ring Square(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

const Rgb kWhite{255, 255, 255};
const Rgb kRed{255, 0, 0};

TEST(BandCanvas, PaintsPixelsWhoseCentreIsInside) {
    BandCanvas c(10, 0, 10, kWhite);
    c.fill({Square(2, 2, 5, 5)}, FillRule::EvenOdd, Paint{kRed});
    EXPECT_EQ(Count(c, kRed), 9);
    EXPECT_EQ(At(c, 2, 2), kRed);
    EXPECT_EQ(At(c, 4, 4), kRed);
    EXPECT_EQ(At(c, 5, 4), kWhite);
    // Edges through pixel centres: [1.5, 3.5) holds centres 1.5 and 2.5.
    BandCanvas d(10, 0, 10, kWhite);
    d.fill({Square(1.5, 1.5, 3.5, 3.5)}, FillRule::EvenOdd, Paint{kRed});
    EXPECT_EQ(Count(d, kRed), 4);
}

TEST(BandCanvas, EvenOddLeavesOverlapsEmptyAndNonZeroFillsThem) {
    // Two squares running the same way round overlap in a 2 x 2 block.
    const std::vector<Ring> rings{Square(0, 0, 4, 4), Square(2, 2, 6, 6)};
    BandCanvas eo(8, 0, 8, kWhite);
    eo.fill(rings, FillRule::EvenOdd, Paint{kRed});
    EXPECT_EQ(Count(eo, kRed), 16 + 16 - 8);
    EXPECT_EQ(At(eo, 3, 3), kWhite);
    BandCanvas nz(8, 0, 8, kWhite);
    nz.fill(rings, FillRule::NonZero, Paint{kRed});
    EXPECT_EQ(Count(nz, kRed), 28);
    EXPECT_EQ(At(nz, 3, 3), kRed);
}

TEST(BandCanvas, BandShowsOnlyItsRowsOfAShape) {
    BandCanvas top(10, 0, 5, kWhite), bottom(10, 5, 5, kWhite);
    for (BandCanvas* c : {&top, &bottom})
        c->fill({Square(0, 3, 10, 7)}, FillRule::EvenOdd, Paint{kRed});
    EXPECT_EQ(Count(top, kRed), 20);
    EXPECT_EQ(Count(bottom, kRed), 20);
    EXPECT_EQ(At(bottom, 0, 6), kRed);
    EXPECT_EQ(At(bottom, 0, 7), kWhite);
}

TEST(BandCanvas, HugeAndNonFiniteShapesStayBounded) {
    BandCanvas c(10, 0, 10, kWhite);
    c.fill({Square(-1e300, -1e300, 1e300, 1e300)}, FillRule::NonZero, Paint{kRed});
    EXPECT_EQ(Count(c, kRed), 100);
    BandCanvas d(10, 0, 10, kWhite);
    d.fill({{{0, 0}, {std::numeric_limits<double>::infinity(), 0}, {0, 5}}}, FillRule::NonZero,
           Paint{kRed});
    EXPECT_EQ(Count(d, kRed), 0);
}

TEST(BandCanvas, MergeRopAndsColoursAndCopyReplaces) {
    EXPECT_EQ(ApplyRop(252, 0x12, 0xff), 0x12);
    EXPECT_EQ(ApplyRop(168, 0xf0, 0x3c), 0x30);  // destination AND pen colour
    BandCanvas c(4, 0, 1, Rgb{0, 255, 255});
    Paint p{kRed};
    p.rop = 168;
    c.fill({Square(0, 0, 4, 1)}, FillRule::NonZero, p);
    EXPECT_EQ(At(c, 1, 0), (Rgb{0, 0, 0}));
}

TEST(BandCanvas, HatchPaintsOnlyAlongItsLines) {
    BandCanvas c(20, 0, 20, kWhite);
    Paint p{kRed};
    HatchLines h;
    h.origin = {0, 0.5};
    h.normal = {0, 1};  // horizontal lines through row centres 0.5, 5.5, ..., 1 wide
    h.spacing = 5;
    h.width = 1;
    p.hatch.push_back(h);
    c.fill({Square(0, 0, 20, 20)}, FillRule::EvenOdd, p);
    for (int row = 0; row < 20; ++row)
        EXPECT_EQ(At(c, 7, row) == kRed, row % 5 == 0) << "row " << row;
}

TEST(BandCanvas, RectanglesMergeWhiteOnlyWhenAsked) {
    BandCanvas c(4, 0, 4, kRed);
    c.fill_rect(0, 0, 2, 4, kWhite, true);
    EXPECT_EQ(Count(c, kRed), 16);
    c.fill_rect(0, 0, 2, 4, kWhite, false);
    EXPECT_EQ(Count(c, kWhite), 8);
}

}  // namespace
}  // namespace jobrender
