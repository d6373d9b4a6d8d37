#include "Common/XOM/ColorRights.h"

#include <gtest/gtest.h>

namespace {

using Outcome = ColorModeDecision::Outcome;

CXomPrinterData Controlled(int anonymousMono, int anonymousColour) {
    CXomPrinterData data;
    data.m_roleBasedAccessControl = true;
    data.m_anonymousMonoAllowed = anonymousMono;
    data.m_anonymousColorAllowed = anonymousColour;
    CXomUserEntry bob;
    bob.m_name = L"bob";
    bob.m_monoAllowed = 1;
    bob.m_colorAllowed = 0;
    CXomUserEntry bobAgain = bob;  // only the first of a name counts
    bobAgain.m_colorAllowed = 1;
    data.m_users = {bob, bobAgain};
    return data;
}

TEST(ColorRights, TheUsersRightsReplaceTheAnonymousOnes) {
    const CXomPrinterData data = Controlled(0, 1);
    ColorRights anonymous = PlotColorRights(data, L"nobody");
    EXPECT_FALSE(anonymous.mono);
    EXPECT_TRUE(anonymous.colour);
    ColorRights bob = PlotColorRights(data, L"bob");
    EXPECT_TRUE(bob.mono);
    EXPECT_FALSE(bob.colour) << "the first bob of the table";
    ColorRights capitals = PlotColorRights(data, L"BOB");
    EXPECT_FALSE(capitals.mono) << "names compare case-sensitively";
}

TEST(ColorRights, APrinterWithoutAccessControlRestrictsNobody) {
    CXomPrinterData data;  // anonymous rights not published: they read 0
    const ColorRights rights = PlotColorRights(data, L"");
    EXPECT_TRUE(rights.mono);
    EXPECT_TRUE(rights.colour);
}

TEST(ColorRights, ColourModesFallBackToMonochromeOrAreRefused) {
    const ColorRights monoOnly{true, false};
    ColorModeDecision d = DecideColorMode(L"Color", monoOnly);
    EXPECT_EQ(d.outcome, Outcome::Switched);
    EXPECT_EQ(d.modeName, L"Gray");
    EXPECT_EQ(d.messageId, 375u);
    d = DecideColorMode(L"255_Virtual_Pens_Color", monoOnly);
    EXPECT_EQ(d.modeName, L"255_Virtual_Pens_Mono");
    EXPECT_EQ(DecideColorMode(L"Monochrome", monoOnly).outcome, Outcome::Keep);

    const ColorRights nothing{false, false};
    EXPECT_EQ(DecideColorMode(L"Color", nothing).messageId, 374u);
    EXPECT_EQ(DecideColorMode(L"Color", nothing).outcome, Outcome::Refused);
    EXPECT_EQ(DecideColorMode(L"Monochrome", nothing).messageId, 372u);

    const ColorRights colourOnly{false, true};
    EXPECT_EQ(DecideColorMode(L"Color", colourOnly).outcome, Outcome::Keep);
    EXPECT_EQ(DecideColorMode(L"Gray", colourOnly).outcome, Outcome::Refused);
}

}  // namespace
