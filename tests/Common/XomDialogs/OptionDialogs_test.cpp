// Colour and more options: the record is edited in place on OK only, colour values are clamped
// to -60..60 whatever is typed or slid, and the plot-time copy keeps its prompting switch.
#include "Common/XomDialogs/DlgSimpleColorOptions.h"

#include <gtest/gtest.h>

#include "Common/XomDialogs/DlgMoreOptions.h"
#include "DialogScript.h"

namespace {

using xomplatform::DialogWindow;
using C = CDlgSimpleColorOptions;
using M = CDlgMoreOptions;

TEST(ColorEditText, KeepsDigitsAndALeadingMinusAndClamps) {
    EXPECT_EQ(CleanColorEditText(L"-70").text, L"-60");
    EXPECT_EQ(CleanColorEditText(L"-70").value, -60);
    EXPECT_EQ(CleanColorEditText(L"75").text, L"60");
    EXPECT_EQ(CleanColorEditText(L"a5").text, L"5");
    EXPECT_TRUE(CleanColorEditText(L"a5").changed);
    EXPECT_EQ(CleanColorEditText(L"5-").text, L"5");
    EXPECT_FALSE(CleanColorEditText(L"-12").changed);
    EXPECT_EQ(CleanColorEditText(L"-").value, 0);
    EXPECT_FALSE(CleanColorEditText(L"").changed);
    EXPECT_EQ(CleanColorEditText(L"99999999999999999999999").value, 60);
}

TEST_F(DialogTest, ColorValuesAreClampedAndStoredOnOk) {
    DriverSettings settings;
    settings.Brightness = 10;
    settings.GreenRedShift = 99;  // stored out of range: shown clamped
    settings.BlackTrapping = 1;
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetText(C::kBrightnessEdit), L"10");
        EXPECT_EQ(w.GetSliderPosition(C::kGreenRedSlider), 60);
        EXPECT_EQ(w.GetText(C::kGreenRedEdit), L"60");
        EXPECT_TRUE(w.GetCheck(C::kBlackTrapping));
        w.TypeText(C::kBrightnessEdit, L"-70");
        EXPECT_EQ(w.GetText(C::kBrightnessEdit), L"-60");
        EXPECT_EQ(w.GetSliderPosition(C::kBrightnessSlider), -60);
        w.TypeText(C::kGreenRedEdit, L"x7");
        EXPECT_EQ(w.GetText(C::kGreenRedEdit), L"7");
        EXPECT_EQ(w.GetSliderPosition(C::kGreenRedSlider), 7);
        w.TypeText(C::kBlueYellowEdit, L"-1000");  // three characters reach the edit
        EXPECT_EQ(w.GetText(C::kBlueYellowEdit), L"-10");
        w.MoveSlider(C::kBlueYellowSlider, 30);
        EXPECT_EQ(w.GetText(C::kBlueYellowEdit), L"30");
        EXPECT_EQ(w.GetFocus(), C::kBlueYellowEdit);
        w.Click(C::kColorTrapping);
        w.Click(C::kBlackTrapping);
        Screenshot(w, "color-options");
        w.Click(IDOK);
    });
    C dialog(settings);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(settings.Brightness, -60);
    EXPECT_EQ(settings.GreenRedShift, 7);
    EXPECT_EQ(settings.BlueYellowShift, 30);
    EXPECT_EQ(settings.ColorTrapping, 1);
    EXPECT_EQ(settings.BlackTrapping, 0);
}

TEST_F(DialogTest, ColorCancelLeavesTheRecord) {
    DriverSettings settings;
    settings.Brightness = 5;
    Then([](CXomDialog&, DialogWindow& w) {
        w.TypeText(C::kBrightnessEdit, L"40");
        w.Click(C::kColorTrapping);
        w.Click(IDCANCEL);
    });
    C dialog(settings);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(settings.Brightness, 5);
    EXPECT_EQ(settings.ColorTrapping, 0);
}

TEST_F(DialogTest, MoreOptionsWriteTheThreeValues) {
    DriverSettings settings;
    settings.PlotDirectToIpAddress = 1;
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetText(M::kDirectToIp), L"Plot direct to printer's IP address");
        EXPECT_TRUE(w.GetCheck(M::kDirectToIp));
        EXPECT_FALSE(w.GetCheck(M::kToPort));
        EXPECT_TRUE(w.IsEnabled(M::kPromptAtPlotTime));
        w.Click(M::kPromptAtPlotTime);
        w.Click(M::kDisableMediaWarning);
        w.Click(M::kToPort);
        EXPECT_FALSE(w.GetCheck(M::kDirectToIp));
        Screenshot(w, "more-options");
        w.Click(IDOK);
    });
    M dialog(settings);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(settings.PromptAtPlotTime, 1);
    EXPECT_EQ(settings.DisableMediaWarning, 1);
    EXPECT_EQ(settings.PlotDirectToIpAddress, 0);
}

TEST_F(DialogTest, ThePlotTimeCopyCannotChangeItsPrompting) {
    DriverSettings settings;
    settings.PromptAtPlotTime = 1;
    settings.ForCurrentPlot = true;
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_FALSE(w.IsEnabled(M::kPromptAtPlotTime));
        w.Click(M::kPromptAtPlotTime);
        w.Click(M::kDirectToIp);
        w.Click(IDOK);
    });
    M dialog(settings);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(settings.PromptAtPlotTime, 1);
    EXPECT_EQ(settings.PlotDirectToIpAddress, 1);
}

}  // namespace
