// Before a plot the settings dialog opens where the user has to decide: prompting is on, no
// printer is linked, or the linked printer gives no data. Its choices serve that plot only; Cancel
// ends the plot cancelled with nothing sent, and OK without a printer that answers ends it with
// the printer's address.
#include <gtest/gtest.h>

#include <filesystem>

#include "Common/XOM/DriverApp.h"
#include "Common/XomDialogs/DlgPrinterConnect.h"
#include "DeviceTestSupport.h"
#include "SettingsDialogScript.h"
#include "SimulatedPrinter.h"

namespace {

namespace fs = std::filesystem;
using xomplatform::DialogWindow;
using D = CDlgCustomSettings;

class PlotTimeSettings : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        work = fs::path(testing::TempDir()) / ("plot-time-settings-" + std::to_string(getpid()));
        fs::create_directories(work);
        theApp().currentPrinter().Reset();
        UseOwnAddressNetwork(xomtest::OwnLoopbackAddress());
        setup.printerAnswers = false;  // the driver reads the printer itself
    }
    void TearDown() override {
        DialogTest::TearDown();
        ShutdownPrinterNetwork();
        SetPrinterNetworkOptions({}, {});
        theApp().currentPrinter().Reset();
        fs::remove_all(work);
    }
    std::string Plot() { return PlotOneLine(setup, L"Plan.dwg"); }

    fs::path work;
    PlotSetup setup;
};

TEST_F(PlotTimeSettings, PromptingOpensTheDialogBeforeEachPlotAndItsChoiceServesThatPlot) {
    SimulatedPrinter printer(work, std::string(XOM_TEST_EXAMPLES) + "/printer-q1.txt");
    setup.settings = {TextItem(L"MachineIpAddress", xomplatform::FromUtf8(printer.address)),
                      LongItem(L"PromptAtPlotTime", 1), LongItem(L"DisableMediaWarning", 1)};
    PlotObserver seen;
    Then([this](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetText(IDCANCEL), L"Cancel Plot");
        WhenSettled(w, [this, &w] {
            Next({PickRow(1)});
            w.Click(D::kMediaButton);
            EXPECT_EQ(w.GetText(D::kMediaText), L"Coated paper 120 g");
            w.Click(IDOK);
        });
    });
    const std::string job = Plot();
    EXPECT_NE(job.find("<MediaId>281474976710660</MediaId>"), std::string::npos)
        << job.substr(0, 3000);
    EXPECT_EQ(seen.loggedStatus, (std::vector<std::wstring>{L"Plot complete"}));

    // The next plot opens it again with the stored media (the first); Cancel sends nothing.
    Then([](CXomDialog&, DialogWindow& w) {
        WhenSettled(w, [&w] {
            EXPECT_EQ(w.GetText(D::kMediaText), L"Plain paper 80 g");
            w.Click(IDCANCEL);
        });
    });
    EXPECT_EQ(Plot(), "");
    EXPECT_EQ(shown, (std::vector<unsigned>{D::kTemplate, CDlgSelect::kTemplate, D::kTemplate}));
    ASSERT_FALSE(seen.messages.empty());
    EXPECT_EQ(seen.messages.back().text, L"Plot canceled");
    EXPECT_EQ(seen.loggedStatus, (std::vector<std::wstring>{L"Plot complete", L"Plot canceled"}));
}

TEST_F(PlotTimeSettings, APrinterThatGivesNoDataOpensTheDialogAndOkEndsThePlot) {
    const std::string silent = xomtest::OwnLoopbackAddress();  // nothing answers there
    setup.settings = {TextItem(L"MachineIpAddress", xomplatform::FromUtf8(silent))};
    PlotObserver seen;
    Then([](CXomDialog&, DialogWindow& w) {
        WhenSettled(w, [&w] {
            EXPECT_EQ(w.GetText(D::kStatus), L"Cannot connect to printer.");
            EXPECT_FALSE(w.IsEnabled(D::kMediaButton));
            w.Click(IDOK);
        });
    });
    // Without its MAC address it cannot be woken: the dialog offers another printer first.
    Then([](CXomDialog&, DialogWindow& w) { w.Click(IDCANCEL); });
    EXPECT_EQ(Plot(), "") << "nothing is sent";
    EXPECT_EQ(shown, (std::vector<unsigned>{D::kTemplate, CDlgSnmpAgentConnect::kTemplate}));
    ASSERT_FALSE(seen.messages.empty());
    EXPECT_EQ(seen.messages.back().text, L"Plot canceled\nCannot connect to printer. " +
                                             xomplatform::FromUtf8(silent) + L"\n");
    EXPECT_EQ(seen.messages.back().caption, L"Error");
    EXPECT_EQ(seen.loggedStatus, (std::vector<std::wstring>{L"Plot canceled"}));
}

}  // namespace
