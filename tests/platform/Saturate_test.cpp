#include "platform/Saturate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using xomplatform::SaturateToInt32;
using xomplatform::SaturateToInt64;

TEST(Saturate, NanAndInfinitiesNeverReachTheCast) {
    EXPECT_EQ(SaturateToInt32(std::nan("")), 0);
    EXPECT_EQ(SaturateToInt64(-std::nan("")), 0);
    EXPECT_EQ(SaturateToInt32(HUGE_VAL), INT32_MAX);
    EXPECT_EQ(SaturateToInt32(-HUGE_VAL), INT32_MIN);
    EXPECT_EQ(SaturateToInt64(HUGE_VAL), INT64_MAX);
    EXPECT_EQ(SaturateToInt64(-HUGE_VAL), INT64_MIN);
}

TEST(Saturate, ValuesAtAndBeyondTheLimitsClampToThem) {
    EXPECT_EQ(SaturateToInt32(2147483647.0), INT32_MAX);
    EXPECT_EQ(SaturateToInt32(2147483647.9), INT32_MAX);
    EXPECT_EQ(SaturateToInt32(2147483648.0), INT32_MAX);
    EXPECT_EQ(SaturateToInt32(1e300), INT32_MAX);
    EXPECT_EQ(SaturateToInt32(-2147483648.0), INT32_MIN);
    EXPECT_EQ(SaturateToInt32(-2147483649.0), INT32_MIN);
    // 2^63 is the first double above INT64_MAX; the largest double below it converts exactly.
    EXPECT_EQ(SaturateToInt64(9223372036854775808.0), INT64_MAX);
    EXPECT_EQ(SaturateToInt64(std::nextafter(9223372036854775808.0, 0.0)),
              INT64_C(9223372036854774784));
    EXPECT_EQ(SaturateToInt64(-9223372036854775808.0), INT64_MIN);
    EXPECT_EQ(SaturateToInt64(-1e30), INT64_MIN);
    // A float the size of the largest float below 2^31 is still in range.
    EXPECT_EQ(SaturateToInt32(2147483520.0f), 2147483520);
}

TEST(Saturate, InRangeValuesTruncateTowardZero) {
    EXPECT_EQ(SaturateToInt32(0.0), 0);
    EXPECT_EQ(SaturateToInt32(-0.0), 0);
    EXPECT_EQ(SaturateToInt32(41.99), 41);
    EXPECT_EQ(SaturateToInt32(-41.99), -41);
    EXPECT_EQ(SaturateToInt32(-2147483647.5), -2147483647);
    EXPECT_EQ(xomplatform::SaturatingCast<std::uint8_t>(300.0), 255);
    EXPECT_EQ(xomplatform::SaturatingCast<std::uint8_t>(-3.0), 0);
    static_assert(SaturateToInt32(7.5) == 7, "usable in constant expressions");
}

}  // namespace
