#include "Common/XomSettings/MacAddressText.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ParseMacAddress, HexTokensAtAnyOfTheFourSeparators) {
    EXPECT_EQ(ParseMacAddress(L"00-1a-2B-3c-4d-5e"), (Bytes{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
    EXPECT_EQ(ParseMacAddress(L"00.1a 2B+3c"), (Bytes{0x00, 0x1A, 0x2B, 0x3C}));
    EXPECT_EQ(ParseMacAddress(L"--1--2--"), (Bytes{1, 2}));
}

TEST(ParseMacAddress, LargeValuesClampAndNonNumbersAreSkipped) {
    EXPECT_EQ(ParseMacAddress(L"1-2-300"), (Bytes{0x01, 0x02, 0xFF}));
    EXPECT_EQ(ParseMacAddress(L"zz-10-FFFFFFFFFFFFFFFFFFFF"), (Bytes{0x10, 0xFF}));
    EXPECT_EQ(ParseMacAddress(L"1g"), (Bytes{0x01}));
    EXPECT_TRUE(ParseMacAddress(L"").empty());
}

TEST(FormatMacAddress, UpperCasePairsJoinedByDashes) {
    EXPECT_EQ(FormatMacAddress({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}), L"00-1A-2B-3C-4D-5E");
    EXPECT_EQ(FormatMacAddress({0x01, 0x02, 0xFF}), L"01-02-FF");
    EXPECT_EQ(FormatMacAddress({}), L"");
}

}  // namespace
