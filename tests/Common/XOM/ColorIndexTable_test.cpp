#include "Common/XOM/ColorIndexTable.h"

#include <gtest/gtest.h>

#include "hdi/HT_Color_Index.h"

namespace {

// The driver's pens and palette must show each host colour index as the host does.
TEST(ColorIndexTable, ReproducesTheHostsColourIndexes) {
    for (int i = 0; i < 256; ++i) {
        const HT_RGB host = HT_Color_Index_To_RGB(i);
        const RgbColor own = kColorIndexTable[static_cast<std::size_t>(i)];
        EXPECT_EQ(own.red, host.r) << i;
        EXPECT_EQ(own.green, host.g) << i;
        EXPECT_EQ(own.blue, host.b) << i;
    }
}

}  // namespace
