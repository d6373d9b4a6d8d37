#include "tools/xomplot/JobSizeLimit.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using xomplot::Drawing;
using xomplot::DrawingAction;
using xomplot::JobSizeLimit;

DrawingAction Image(int w, int h) {
    DrawingAction a;
    a.kind = xomplot::ActionKind::Image;
    a.image.width = w;
    a.image.height = h;
    return a;
}

TEST(JobSizeLimit, FourMegabytesOrAThousandBytesPerDrawingBytePlusImageDots) {
    Drawing d;
    d.actions.emplace_back();  // a polyline: no allowance of its own
    EXPECT_EQ(JobSizeLimit(0, d), 4u << 20);
    EXPECT_EQ(JobSizeLimit(4000, d), 4u << 20);  // a drawing of a few KB: a few MB
    EXPECT_EQ(JobSizeLimit(10000, d), 10000u * 1000);
    d.actions.push_back(Image(1000, 2000));
    d.actions.push_back(Image(0, 5000));  // places nothing
    EXPECT_EQ(JobSizeLimit(4000, d), (4u << 20) + 4u * 1000 * 2000);
}

TEST(JobSizeLimit, SaturatesRatherThanWrapping) {
    constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
    Drawing d;
    d.actions.push_back(Image(1000000, 1000000));
    EXPECT_EQ(JobSizeLimit(kMax / 10, Drawing{}), kMax);
    EXPECT_EQ(JobSizeLimit(kMax / 1000 - 1, d), kMax);  // the image's dots pass the top
}

TEST(JobSizeLimit, TextNamesTheLimitInMegabytesAndTheWayToRaiseIt) {
    EXPECT_EQ(xomplot::JobSizeLimitText(4u << 20, false),
              L"Plot failed: the job would exceed 4 MB, the limit for this drawing "
              L"(--max-job-mb raises it)");
    EXPECT_EQ(xomplot::JobSizeLimitText((4u << 20) + 1, true),
              L"Plot failed: the job would exceed 5 MB, the limit of --max-job-mb");
}

}  // namespace
