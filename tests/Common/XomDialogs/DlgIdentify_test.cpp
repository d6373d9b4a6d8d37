// The plot identification: rows labelled and enabled by the printer's rules, the warning line,
// the flows behind the buttons, and the plot-time loop that repeats it until the rules pass.
#include "Common/XomDialogs/DlgIdentify.h"

#include <gtest/gtest.h>

#include "Common/XomDialogs/DlgEnter.h"
#include "Common/XomDialogs/DlgSelect.h"
#include "PrinterFixture.h"

namespace {

using xomplatform::DialogWindow;
using Identify = PrinterDialogTest;
using D = CDlgIdentify;

TEST_F(Identify, RowsShowLabelsValuesAndWhatIsMissing) {
    Modes(4, 2, 1);
    DriverSettings settings;
    settings.AcctInfo0Name = L"any";
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetText(D::kGroup), L"Plot Identification");
        EXPECT_EQ(w.GetText(D::kInstruction), L"Please press buttons to identify plot.");
        EXPECT_EQ(w.GetText(D::kUserButton), L"Requester");
        EXPECT_EQ(w.GetText(D::kUserText), L"Please Enter");
        EXPECT_EQ(w.GetText(D::kAcct0Button), L"Project");
        EXPECT_EQ(w.GetText(D::kAcct0Text), L"any");
        EXPECT_EQ(w.GetText(D::kAcct1Button), L"Accounting Info 1");
        EXPECT_FALSE(w.IsEnabled(D::kAcct1Button));  // mode 1: not used
        EXPECT_EQ(w.GetText(D::kWarning), L"Warning:Requester Required");
        Screenshot(w, "identify");
        w.Click(IDCANCEL);
    });
    D dialog(settings, &data);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(Identify, WithoutPrinterDataAllRowsAreHidden) {
    DriverSettings settings;
    Then([](CXomDialog&, DialogWindow& w) {
        for (unsigned id : {D::kUserButton, D::kUserText, D::kAcct0Button, D::kAcct0Text,
                            D::kAcct1Button, D::kAcct1Text})
            EXPECT_FALSE(w.IsShown(id)) << id;
        EXPECT_EQ(w.GetText(D::kWarning), L" ");
        w.Click(IDOK);
    });
    D dialog(settings, nullptr);
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST_F(Identify, PlotTimeLoopRepeatsUntilTheRulesPassAndKeepsTheChoices) {
    Modes(4, 3, 2);
    DriverSettings settings;
    settings.JobName = L"plan.dwg";
    // First round: only the user is chosen, then OK; the rules still fail, so it opens again.
    Then([this](CXomDialog&, DialogWindow& w) {
        Next({[](CXomDialog&, DialogWindow& select) {
                  select.SelectItem(CDlgSelect::kList, 0);
                  select.Click(IDOK);
              },
              [](CXomDialog&, DialogWindow& enter) {
                  enter.TypeText(CDlgEnter::kEdit, L"alpha");
                  enter.Click(IDOK);
              }});
        w.Click(D::kUserButton);
        EXPECT_EQ(w.GetText(D::kUserText), L"Alice");
        EXPECT_EQ(w.GetText(D::kWarning), L"Warning:Project Required | Accounting Info 1 Required");
        w.Click(IDOK);
    });
    Then([this](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetText(D::kUserText), L"Alice");
        Next({[](CXomDialog&, DialogWindow& select) {
                  select.SelectItem(CDlgSelect::kList, 0);
                  select.Click(IDOK);
              },
              [](CXomDialog&, DialogWindow& enter) {
                  enter.TypeText(CDlgEnter::kEdit, L"\u00a7 42");
                  enter.Click(IDOK);
              }});
        w.Click(D::kAcct0Button);
        w.Click(D::kAcct1Button);
        EXPECT_EQ(w.GetText(D::kWarning), L" ");
        w.Click(IDOK);
    });
    ASSERT_TRUE(CompletePlotIdentification(settings, data));
    EXPECT_EQ(settings.UserName, L"Alice");
    EXPECT_EQ(settings.UserValidPassword, L"alpha");
    EXPECT_EQ(settings.AcctInfo0Name, L"P-1");
    EXPECT_EQ(settings.AcctInfo1Name, L"\u00a7 42");
    EXPECT_EQ(settings.JobName, L"plan.dwg");
    EXPECT_EQ(shown, (std::vector<unsigned>{507, 503, 504, 507, 503, 504}));
}

TEST_F(Identify, CancelLeavesTheSettingsAndEndsTheLoop) {
    Modes(3, 1, 1);
    DriverSettings settings;
    settings.UserName = L"nobody";
    Then([this](CXomDialog&, DialogWindow& w) {
        Next({[](CXomDialog&, DialogWindow& select) {
            select.SelectItem(CDlgSelect::kList, 1);
            select.Click(IDOK);
        }});
        w.Click(D::kUserButton);
        EXPECT_EQ(w.GetText(D::kUserText), L"Bob");
        w.Click(IDCANCEL);
    });
    EXPECT_FALSE(CompletePlotIdentification(settings, data));
    EXPECT_EQ(settings.UserName, L"nobody");
}

TEST_F(Identify, SettingsThatPassOpenNoDialog) {
    Modes(2, 1, 1);
    DriverSettings settings;
    settings.UserName = L"free";
    EXPECT_TRUE(CompletePlotIdentification(settings, data));
    EXPECT_TRUE(shown.empty());
}

}  // namespace
