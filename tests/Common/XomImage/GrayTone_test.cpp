#include "Common/XomImage/GrayTone.h"

#include <gtest/gtest.h>

namespace {

using xomimage::BuildToneTable;

TEST(GrayTone, IdentityAtGammaOneAndIntensity100) {
    const auto t = BuildToneTable(1.0, 100);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(t[static_cast<std::size_t>(i)], i);
}

TEST(GrayTone, IntensityLightensAndDarkens) {
    EXPECT_EQ(BuildToneTable(1.0, 300)[128], 64);
    EXPECT_EQ(BuildToneTable(1.0, 50)[128], 192);
    for (int b : {10, 50, 100, 300, 500, 900}) EXPECT_EQ(BuildToneTable(1.0, b)[255], 255) << b;
    // Above 500 the curve is flat black for every level but white.
    EXPECT_EQ(BuildToneTable(1.0, 900)[1], 0);
}

TEST(GrayTone, GammaAndTheGeneralRoadsFloor) {
    EXPECT_EQ(BuildToneTable(2.0, 100)[128], 192);  // (1 - (127/255)^2) * 255 = 191.8
    EXPECT_EQ(BuildToneTable(1.0, 100)[0], 0);
    EXPECT_EQ(BuildToneTable(1.0, 100, true)[0], 1);
    // A gamma that is no positive number stays linear instead of turning every level to NaN.
    EXPECT_EQ(BuildToneTable(-1.0, 100)[100], 100);
}

TEST(GrayTone, LuminanceWeights) {
    EXPECT_EQ(xomimage::Luminance(255, 255, 255), 255);
    EXPECT_EQ(xomimage::Luminance(0, 0, 255), (9 * 255) >> 4);
    EXPECT_EQ(xomimage::Luminance(255, 0, 0), (2 * 255) >> 4);
}

}  // namespace
