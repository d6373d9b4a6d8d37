#include "hdi/HT_Color_Index.h"

#include <gtest/gtest.h>

namespace {

void ExpectRgb(int index, int r, int g, int b) {
    const HT_RGB c = HT_Color_Index_To_RGB(index);
    EXPECT_EQ(c.r, r) << index;
    EXPECT_EQ(c.g, g) << index;
    EXPECT_EQ(c.b, b) << index;
    EXPECT_EQ(c.a, 0) << index;
}

TEST(HostColorIndex, BasicColoursHuesAndGrays) {
    ExpectRgb(0, 0, 0, 0);
    ExpectRgb(1, 255, 0, 0);
    ExpectRgb(2, 255, 255, 0);
    ExpectRgb(5, 0, 0, 255);
    ExpectRgb(7, 0, 0, 0);
    ExpectRgb(9, 220, 220, 220);
    ExpectRgb(21, 255, 159, 127);
    ExpectRgb(138, 0, 114, 114);
    ExpectRgb(249, 114, 57, 71);
    ExpectRgb(250, 84, 84, 84);
    ExpectRgb(255, 250, 250, 250);
}

TEST(HostColorIndex, IndexesOutsideTheTableDrawAsSeven) {
    ExpectRgb(-1, 0, 0, 0);
    ExpectRgb(256, 0, 0, 0);
}

}  // namespace
