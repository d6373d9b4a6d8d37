// A plot whose settings do not satisfy the printer's user rules asks for them before anything is
// sent: the identification dialog's choice is this plot's only (the next plot asks again), and
// Cancel ends the plot cancelled with nothing sent.
#include <gtest/gtest.h>

#include "Common/XomDialogs/DlgIdentify.h"
#include "Common/XomDialogs/DlgSelect.h"
#include "DeviceTestSupport.h"
#include "PrinterFixture.h"

namespace {

using xomplatform::DialogWindow;

class PlotTimeIdentify : public PrinterDialogTest {
  protected:
    void SetUp() override {
        PrinterDialogTest::SetUp();
        Modes(3, 1, 1);  // a user from the printer's list, no password, no accounting
        data.m_processColorants = 4;
        setup.printerData = data;
        setup.settings = {TextItem(L"UserName", L"nobody")};
    }
    std::string Plot() { return PlotOneLine(setup, L"Plan.dwg"); }
    PlotSetup setup;
};

TEST_F(PlotTimeIdentify, TheChosenUserGoesWithThisPlotOnlyAndCancelSendsNothing) {
    PlotObserver seen;
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetText(CDlgIdentify::kUserText), L"Please Enter");
        w.Click(IDOK);  // nothing chosen yet: the dialog opens again
    });
    Then([this](CXomDialog&, DialogWindow& w) {
        Next({[](CXomDialog&, DialogWindow& select) {
            select.SelectItem(CDlgSelect::kList, 1);
            select.Click(IDOK);
        }});
        w.Click(CDlgIdentify::kUserButton);
        w.Click(IDOK);
    });
    const std::string job = Plot();
    EXPECT_NE(job.find("    <User Name=\"Bob\">\r\n"), std::string::npos) << job.substr(0, 2000);
    EXPECT_EQ(seen.loggedStatus, (std::vector<std::wstring>{L"Plot complete"}));
    EXPECT_EQ(shown, (std::vector<unsigned>{507, 507, 503}));

    // The stored configuration still names nobody: the next plot asks again; Cancel.
    Then([](CXomDialog&, DialogWindow& w) { w.Click(IDCANCEL); });
    EXPECT_EQ(Plot(), "") << "a cancelled plot sends nothing";
    EXPECT_EQ(shown.size(), 4u);
    ASSERT_EQ(seen.messages.size(), 1u);
    EXPECT_EQ(seen.messages[0].text, L"Plot canceled");
    EXPECT_EQ(seen.loggedStatus, (std::vector<std::wstring>{L"Plot complete", L"Plot canceled"}));
}

}  // namespace
