#include "tools/xomsim/FaultPlan.h"

#include <gtest/gtest.h>

namespace xomsim {
namespace {

TEST(FaultPlan, ModesCombineAndTheEarliestLimitCounts) {
    FaultPlan plan;
    std::string error;
    EXPECT_FALSE(plan.limit());
    ASSERT_TRUE(AddFault(plan, "rate=1000", error)) << error;
    ASSERT_TRUE(AddFault(plan, "close-after=5000", error)) << error;
    ASSERT_TRUE(AddFault(plan, "reset-after=300", error)) << error;
    EXPECT_EQ(plan.bytesPerSecond, 1000u);
    EXPECT_EQ(plan.limit(), 300u);
    ASSERT_TRUE(AddFault(plan, "never-read", error)) << error;
    EXPECT_EQ(plan.limit(), 0u);
    ASSERT_TRUE(AddFault(plan, "refuse", error));
    EXPECT_TRUE(plan.refuse);
}

TEST(FaultPlan, UnknownModesAndBadCountsAreRefusedNamingTheModes) {
    FaultPlan plan;
    std::string error;
    for (const char* bad :
         {"", "explode", "close-after", "close-after=", "close-after=-1", "reset-after=1x",
          "rate=0", "stop-reading-after=99999999999999999999"}) {
        EXPECT_FALSE(AddFault(plan, bad, error)) << bad;
        EXPECT_NE(error.find("never-read"), std::string::npos) << error;
    }
    EXPECT_FALSE(plan.limit());
    EXPECT_EQ(plan.bytesPerSecond, 0u);
}

}  // namespace
}  // namespace xomsim
