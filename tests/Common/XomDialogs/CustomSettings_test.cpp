// The settings dialog against a simulated printer: its rows and status from the printer's data,
// a choice in every row stored into the configuration and carried by the next plot's ticket, the
// rows without printer data or printer, the PIN edit, the media warning, Cancel, and the wake-up
// of a sleeping printer.
#include "Common/XomDialogs/DlgCustomSettings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Common/XOM/DriverApp.h"
#include "Common/XomDialogs/DlgDebug.h"
#include "Common/XomDialogs/DlgEnter.h"
#include "Common/XomDialogs/DlgMoreOptions.h"
#include "Common/XomDialogs/DlgPrinterConnect.h"
#include "Common/XomDialogs/DlgSelect.h"
#include "Common/XomDialogs/DlgSimpleColorOptions.h"
#include "Common/XomSettings/SettingsKeys.h"
#include "Common/XomSettings/SettingsStore.h"
#include "DialogScript.h"
#include "SettingsDialogScript.h"
#include "SimulatedPrinter.h"
#include "platform/Utf8.h"

namespace {

namespace fs = std::filesystem;
using xomplatform::DialogWindow;
using D = CDlgCustomSettings;

const std::string kPrinterFile = std::string(XOM_TEST_EXAMPLES) + "/printer-q-series.txt";
const std::wstring kPrinterMac = L"00-1A-2B-3C-4D-04";

class CustomSettingsTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        work = fs::path(testing::TempDir()) /
               ("custom-settings-" + std::to_string(getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(work);
        fs::create_directories(work);
        host = MakeSettingsHost();
        theApp().currentPrinter().Reset();
        theApp().currentPin().clear();
        UseOwnAddressNetwork(xomtest::OwnLoopbackAddress());
        xomplatform::SetBeepSink([this] { ++beeps; });
        xomplatform::SetQuestionSink([this](const std::wstring& text, const std::wstring& caption,
                                            xomplatform::MessageIcon icon) {
            questions.push_back({text, caption, icon});
            if (answers.empty()) return xomplatform::MessageAnswer::Cancel;
            const xomplatform::MessageAnswer a = answers.front();
            answers.erase(answers.begin());
            return a;
        });
    }
    void TearDown() override {
        xomplatform::SetBeepSink({});
        xomplatform::SetQuestionSink({});
        DialogTest::TearDown();
        ShutdownPrinterNetwork();
        SetPrinterNetworkOptions({}, {});
        theApp().currentPrinter().Reset();
        fs::remove_all(work);
    }

    void Link(const SimulatedPrinter& printer, bool withMac = false) {
        SetTextSetting(*host, L"MachineIpAddress", xomplatform::FromUtf8(printer.address));
        if (withMac) SetTextSetting(*host, L"MachineMacAddress", kPrinterMac);
    }
    int OpenStored() {
        D dialog(nullptr, theApp().currentPrinter(), *host);
        return dialog.DoModal();
    }
    DriverSettings Stored() {
        DriverSettings record;
        LoadSettings(record, *host);
        return record;
    }
    // Every stored item, as xomplot keeps a configuration.
    std::string ConfigText() {
        std::string text;
        for (const HT_Custom_Config_Item& item :
             host->get_plotter_configuration()->custom_items().items()) {
            text += xomplatform::ToUtf8(item.name) + " = ";
            if (auto* n = dynamic_cast<const HT_Std_Long_Custom_Data*>(item.data.get()))
                text += std::to_string(n->data());
            else if (auto* t = dynamic_cast<const HT_Std_String_Custom_Data*>(item.data.get()))
                text += xomplatform::ToUtf8(t->data());
            text += "\n";
        }
        return text;
    }

    fs::path work;
    SPMP<HT_Std_Plotter_Definition> host;
    int beeps = 0;
    std::vector<CapturedMessage> questions;
    std::vector<xomplatform::MessageAnswer> answers;
};

TEST_F(CustomSettingsTest, RowsComeFromThePrinterEveryChoiceIsStoredAndTheNextPlotCarriesIt) {
    SimulatedPrinter printer(work, kPrinterFile);
    Link(printer);
    Then([&](CXomDialog& dialog, DialogWindow& w) {
        EXPECT_EQ(w.GetText(D::kPrinterText), L"q4-reprographics");
        EXPECT_EQ(w.GetText(D::kStatus), L"Media installed in  printer:");
        EXPECT_EQ(w.GetText(D::kPanel),
                  L"Roll Roll 1, 36 Inches, Plain paper 80 g\n"
                  L"Roll Roll 2, 42 Inches, Coated paper 120 g");
        EXPECT_EQ(w.GetText(D::kUserButton), L"User name");
        EXPECT_EQ(w.GetText(D::kAcct0Button), L"Project");
        EXPECT_EQ(w.GetText(D::kAcct1Button), L"Cost centre");
        EXPECT_EQ(w.GetText(D::kUserText), L"Please Enter");
        EXPECT_EQ(w.GetText(D::kMediaText), L"Plain paper 80 g");  // the first media
        EXPECT_EQ(w.GetText(D::kAlignText), L"Default");
        EXPECT_EQ(w.GetText(D::kBordersText), L"None");
        EXPECT_EQ(w.GetText(D::kTrayText), L"Default");
        for (unsigned id :
             {D::kUserButton, D::kAcct0Button, D::kAcct1Button, D::kStampButton, D::kMediaButton,
              D::kAlignButton, D::kBordersButton, D::kFolderButton, D::kTrayButton,
              D::kQualityButton, D::kHpglButton, D::kColorButton, D::kMoreButton, D::kPin})
            EXPECT_TRUE(w.IsEnabled(id)) << id;
        EXPECT_FALSE(w.IsShown(D::kLanguageButton));
        EXPECT_EQ(w.GetText(IDCANCEL), L"Cancel");
        Screenshot(w, "custom-settings");

        // Each row's choice; the user and the first accounting field ask for their passwords.
        const std::pair<unsigned, std::vector<Step>> rows[] = {
            {D::kUserButton, {PickRow(0), TypeValue(L"plotter1")}},
            {D::kAcct0Button, {PickRow(1), TypeValue(L"beta")}},
            {D::kAcct1Button, {PickRow(1)}},
            {D::kStampButton, {PickRow(1)}},
            {D::kMediaButton, {PickRow(3)}},
            {D::kAlignButton, {PickRow(2)}},
            {D::kBordersButton, {PickRow(2)}},
            {D::kFolderButton, {PickRow(1)}},
            {D::kTrayButton, {PickRow(1)}},
            {D::kQualityButton, {PickRow(3)}},
            {D::kHpglButton, {PickRow(1)}},
            {D::kColorButton, {[](CXomDialog&, DialogWindow& c) {
                 c.TypeText(CDlgSimpleColorOptions::kBrightnessEdit, L"30");
                 c.Click(CDlgSimpleColorOptions::kColorTrapping);
                 c.Click(IDOK);
             }}},
            {D::kMoreButton, {[](CXomDialog&, DialogWindow& m) {
                 m.Click(CDlgMoreOptions::kDirectToIp);
                 m.Click(IDOK);
             }}}};
        for (const auto& [button, steps] : rows) {
            Next(steps);
            w.Click(button);
        }
        EXPECT_EQ(w.GetText(D::kUserText), L"alice");
        EXPECT_EQ(w.GetText(D::kAcct0Text), L"P-1002");
        EXPECT_EQ(w.GetText(D::kAcct1Text), L"CC-200");
        EXPECT_EQ(w.GetText(D::kStampText), L"Draft");
        EXPECT_EQ(w.GetText(D::kMediaText), L"Coated paper 120 g");
        EXPECT_EQ(w.GetText(D::kAlignText), L"Center");
        EXPECT_EQ(w.GetText(D::kBordersText), L"Trailing edge");
        EXPECT_EQ(w.GetText(D::kTrayText), L"Rear");
        EXPECT_EQ(w.GetText(D::kColorText), L"");
        w.TypeText(D::kPin, L"2468");
        Screenshot(w, "custom-settings-chosen");
        (void)dialog;
        w.Click(IDOK);
    });
    EXPECT_EQ(OpenStored(), IDOK);
    EXPECT_TRUE(questions.empty()) << "the chosen media is loaded in roll 2";
    EXPECT_EQ(theApp().currentPrinter().m_printerData, nullptr) << "OK lets the data go";

    const DriverSettings s = Stored();
    EXPECT_EQ(s.UserName, L"alice");
    EXPECT_EQ(s.UserValidPassword, L"plotter1");
    EXPECT_EQ(s.AcctInfo0Name, L"P-1002");
    EXPECT_EQ(s.AcctInfo0ValidPassword, L"beta");
    EXPECT_EQ(s.AcctInfo1Name, L"CC-200");
    EXPECT_EQ(s.StampName, L"Draft");
    EXPECT_EQ(s.MediaName, L"Coated paper 120 g");
    EXPECT_EQ(s.AlignmentType, 2);
    EXPECT_EQ(s.RemoveBorders, 2);
    EXPECT_EQ(s.FolderPresetName, L"A4 fold with binding edge");
    EXPECT_EQ(s.PrintExit, 2);
    EXPECT_EQ(s.PrintQualityPresetName, L"Photo");
    EXPECT_EQ(s.HpglPresetName, L"Thin lines");
    EXPECT_EQ(s.Brightness, 30);
    EXPECT_EQ(s.ColorTrapping, 1);
    EXPECT_EQ(s.PlotDirectToIpAddress, 1);
    EXPECT_EQ(s.ColorMode, 0) << "four colorants";
    EXPECT_EQ(s.MachineName, L"q4-reprographics");
    EXPECT_EQ(s.MachineMacAddress, kPrinterMac);
    EXPECT_EQ(s.JobPin, L"2468") << "the PIN serves the next plot";

    // The next plot of that configuration, directly to the printer: the printer checks the
    // ticket's tokens, and the ticket carries every choice.
    const fs::path config = work / "config" / "xomplot" / "printers";
    fs::create_directories(config);
    std::ofstream(config / "edited.conf") << ConfigText();
    const std::string cmd = "env XDG_CONFIG_HOME='" + (work / "config").string() +
                            "' XDG_DATA_HOME='" + (work / "data").string() + "' " +
                            XOM_TEST_XOMPLOT + " --driver " + XOM_TEST_DRIVER_DIR +
                            "/xomq15.hdi --config edited --pin 2468 " + XOM_TEST_EXAMPLE_DRAWING +
                            " >'" + (work / "plot.txt").string() + "' 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << std::ifstream(work / "plot.txt").rdbuf();
    std::string said;
    for (int i = 0; i < 200 && said.find("ticket yes") == std::string::npos; ++i) {
        usleep(20000);
        said = printer.Said();
    }
    EXPECT_NE(said.find("user alice valid"), std::string::npos) << said;
    EXPECT_NE(said.find("P-1002 valid"), std::string::npos) << said;
    std::ifstream in(printer.jobs / "job-0001.prn", std::ios::binary);
    const std::string job((std::istreambuf_iterator<char>(in)), {});
    for (const char* part :
         {"<JobPin>2468</JobPin>", "<HpglPresetId>2</HpglPresetId>", "<User Name=\"alice\">",
          "<InformationElement Name=\"P-1002\">", "<InformationElement Name=\"CC-200\">",
          "<RemoveWhiteBorderMethod>TrailingEdge</RemoveWhiteBorderMethod>",
          "<AlignmentType>Center</AlignmentType>", "<PrintQualityPresetId>4</PrintQualityPresetId>",
          "<ColorTrapping>1</ColorTrapping>", "<MediaId>281474976710660</MediaId>",
          "<MediaType>2</MediaType>", "<PrintExit>Rear</PrintExit>",
          "<FoldingPresetId>2</FoldingPresetId>", "<StampPresetId>2</StampPresetId>",
          "<Brightness>30</Brightness>"})
        EXPECT_NE(job.find(part), std::string::npos) << part << " in:\n" << job.substr(0, 3000);
}

TEST_F(CustomSettingsTest, WithoutPrinterDataEveryRowIsDisabledAndWithoutPrinterNoneIsShown) {
    // A printer that does not answer, in a plot that does not prompt: no wake-up, no connect
    // dialog, only the status.
    DriverSettings copy;
    copy.UserName = L"kept";
    theApp().currentPrinter().m_address.Set(xomplatform::FromUtf8(xomtest::OwnLoopbackAddress()));
    theApp().currentPrinter().m_physicalAddress = {0, 0x1A, 0x2B, 0x3C, 0x4D, 0x04};
    Then([&](CXomDialog&, DialogWindow& w) {
        WhenSettled(w, [&w] {
            EXPECT_EQ(w.GetText(D::kStatus), L"Cannot connect to printer.");
            for (unsigned id : {D::kIdentGroup, D::kMediaGroup, D::kAdjustGroup, D::kUserButton,
                                D::kMediaButton, D::kTrayButton, D::kMoreButton, D::kPin})
                EXPECT_FALSE(w.IsEnabled(id)) << id;
            for (unsigned id : {D::kUserText, D::kMediaText, D::kUserSecurity})
                EXPECT_FALSE(w.IsShown(id)) << id;
            EXPECT_EQ(w.GetText(D::kUserButton), L"");
            EXPECT_EQ(w.GetText(IDCANCEL), L"Cancel Plot");
            Screenshot(w, "custom-settings-no-data");
            w.Click(IDCANCEL);
        });
    });
    D dialog(nullptr, theApp().currentPrinter(), copy, true);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(copy.UserName, L"kept");

    // No printer at all: the connect dialog is offered; cancelled, the dialog says so.
    theApp().currentPrinter().Reset();
    bool connectClosed = false;
    Then([&](CXomDialog&, DialogWindow& w) {
        WhenTrue(w, connectClosed, [&w] {
            EXPECT_EQ(w.GetText(D::kPrinterText), L"None");
            EXPECT_EQ(w.GetText(D::kStatus), L"No printer selected.");
            w.Click(IDCANCEL);
        });
    });
    Then([&](CXomDialog& connect, DialogWindow& w) {
        EXPECT_EQ(connect.TemplateId(), 517u);
        w.Click(IDCANCEL);
        connectClosed = true;
    });
    EXPECT_EQ(OpenStored(), IDCANCEL);
}

TEST_F(CustomSettingsTest, APrinterPickedInTheConnectDialogIsReadAndStored) {
    SimulatedPrinter printer(work, kPrinterFile);
    bool connectClosed = false;
    Then([&](CXomDialog&, DialogWindow& w) {
        WhenTrue(w, connectClosed, [&w] {
            EXPECT_EQ(w.GetText(D::kPrinterText), L"q4-reprographics");
            EXPECT_EQ(w.GetText(D::kStatus), L"Media installed in  printer:");
            EXPECT_TRUE(w.IsEnabled(D::kStampButton));
            w.Click(IDOK);
        });
    });
    Then([&](CXomDialog& connect, DialogWindow& w) {
        EXPECT_EQ(connect.TemplateId(), CDlgSnmpAgentConnect::kTemplate);
        w.TypeText(CDlgSnmpAgentConnect::kAddress, xomplatform::FromUtf8(printer.address));
        w.Click(IDOK);
        connectClosed = true;
    });
    EXPECT_EQ(OpenStored(), IDOK);
    const DriverSettings s = Stored();
    EXPECT_EQ(s.MachineIpAddress, xomplatform::FromUtf8(printer.address));
    EXPECT_EQ(s.MachineName, L"q4-reprographics");
    EXPECT_EQ(s.MachineMacAddress, kPrinterMac);
    EXPECT_EQ(s.MediaName, L"Plain paper 80 g");
}

TEST_F(CustomSettingsTest, PinEditKeepsFourDigitsAndHidesTheDebugCode) {
    SimulatedPrinter printer(work, kPrinterFile);
    Link(printer);
    Then([&](CXomDialog&, DialogWindow& w) {
        w.TypeText(D::kPin, L"12a3");
        EXPECT_EQ(w.GetText(D::kPin), L"123");
        EXPECT_EQ(beeps, 1);
        w.TypeText(D::kPin, L"12345");
        EXPECT_EQ(w.GetText(D::kPin), L"1234");
        EXPECT_EQ(beeps, 2);
        w.TypeText(D::kPin, L"123");
        w.Click(IDOK);  // refused: the dialog stays
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, L"PIN must be 4 digits.");
        EXPECT_EQ(messages[0].caption, L"XOM Printer Message");
        EXPECT_EQ(messages[0].icon, xomplatform::MessageIcon::Stop);

        // The start of the hidden code stays as typed; the whole code opens the debug options.
        w.TypeText(D::kPin, L"wobne");
        EXPECT_EQ(w.GetText(D::kPin), L"wobne");
        Next({[](CXomDialog& debug, DialogWindow& d) {
            EXPECT_EQ(debug.TemplateId(), CDlgDebug::kTemplate);
            d.Click(CDlgDebug::kPutXml);
            d.Click(IDOK);
        }});
        w.TypeText(D::kPin, L"wobnerit");
        EXPECT_EQ(w.GetText(D::kPin), L"");
        EXPECT_EQ(beeps, 2);
        // The digits typed before are gone for good: another row's choice does not bring them back.
        Next({PickRow(0)});
        w.Click(D::kStampButton);
        EXPECT_EQ(w.GetText(D::kPin), L"");

        // Secure print by user: the PIN is cleared and cannot be typed.
        w.TypeText(D::kPin, L"9876");
        w.Click(D::kUserSecurity);
        EXPECT_EQ(w.GetText(D::kPin), L"");
        EXPECT_FALSE(w.IsEnabled(D::kPin));
        EXPECT_EQ(w.GetText(D::kUserText), L"Please Enter");
        w.Click(IDOK);
    });
    EXPECT_EQ(OpenStored(), IDOK);
    const DriverSettings s = Stored();
    EXPECT_EQ(s.PutXMLinPlotFile, 1);
    EXPECT_EQ(s.UserPrintSecurity, 1);
    EXPECT_EQ(s.JobPin, L"");
}

TEST_F(CustomSettingsTest, MediaNotLoadedIsQuestionedUnlessTheWarningIsOff) {
    SimulatedPrinter printer(work, kPrinterFile);
    Link(printer);
    SetTextSetting(*host, L"MediaName", L"Photo gloss 200 g");  // in the list, on no roll
    // Cancel stays; Try Again opens the media list (Recycled: still not loaded); Continue ends.
    answers = {xomplatform::MessageAnswer::Cancel, xomplatform::MessageAnswer::TryAgain,
               xomplatform::MessageAnswer::Continue};
    Then([&](CXomDialog&, DialogWindow& w) {
        w.Click(IDOK);
        EXPECT_EQ(questions.size(), 1u);
        Next({PickRow(2)});
        w.Click(IDOK);
        EXPECT_EQ(w.GetText(D::kMediaText), L"Recycled paper 80 g");
        w.Click(IDOK);
    });
    EXPECT_EQ(OpenStored(), IDOK);
    ASSERT_EQ(questions.size(), 3u);
    EXPECT_EQ(questions[0].text, L"Selected media is not installed in printer.");
    EXPECT_EQ(questions[0].caption, L"XOM Printer Message");
    EXPECT_EQ(questions[0].icon, xomplatform::MessageIcon::Warning);
    EXPECT_EQ(Stored().MediaName, L"Recycled paper 80 g");

    questions.clear();
    SetLongSetting(*host, L"DisableMediaWarning", 1);
    Then([](CXomDialog&, DialogWindow& w) { w.Click(IDOK); });
    EXPECT_EQ(OpenStored(), IDOK);
    EXPECT_TRUE(questions.empty());
}

TEST_F(CustomSettingsTest, CancelStoresNothingNotEvenTheDefaultsItShowed) {
    SimulatedPrinter printer(work, kPrinterFile);
    Link(printer);
    Stored();
    const std::string before = ConfigText();
    Then([&](CXomDialog&, DialogWindow& w) {
        Next({PickRow(1)});
        w.Click(D::kStampButton);
        w.TypeText(D::kPin, L"1111");
        w.Click(IDCANCEL);
    });
    EXPECT_EQ(OpenStored(), IDCANCEL);
    EXPECT_EQ(ConfigText(), before);
    EXPECT_EQ(theApp().currentPrinter().m_printerData, nullptr);
    EXPECT_EQ(theApp().currentPin(), L"");
}

TEST_F(CustomSettingsTest, OkOnAPlotsCopyEditsTheCopyAndKeepsThePrinterDataForThePlot) {
    SimulatedPrinter printer(work, kPrinterFile);
    Link(printer);
    DriverSettings copy;
    LoadSettings(copy, *host);
    const std::string stored = ConfigText();
    Then([this](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetText(IDCANCEL), L"Cancel Plot");
        Next({PickRow(2)});
        w.Click(D::kStampButton);
        w.Click(IDOK);
    });
    D dialog(PrinterNetwork(), theApp().currentPrinter(), copy, /*forCurrentPlot*/ true);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(copy.StampName, L"Confidential");
    EXPECT_TRUE(copy.ForCurrentPlot);
    EXPECT_EQ(ConfigText(), stored);
    EXPECT_NE(theApp().currentPrinter().m_printerData, nullptr);
}

TEST_F(CustomSettingsTest, ASleepingPrinterIsWokenFromTheDialog) {
    SimulatedPrinter printer(work, kPrinterFile, "--sleep --wake-packets 1");
    Link(printer, true);
    std::wstring waking;
    Then([&](CXomDialog&, DialogWindow& w) {
        waking = w.GetText(D::kPanel);
        WhenSettled(w, [&w] {
            EXPECT_EQ(w.GetText(D::kStatus), L"Media installed in  printer:");
            EXPECT_TRUE(w.IsEnabled(D::kMediaButton));
            w.Click(IDCANCEL);
        });
    });
    EXPECT_EQ(OpenStored(), IDCANCEL);
    EXPECT_EQ(waking.rfind(L"Waking printer . . .", 0), 0u) << xomplatform::ToUtf8(waking);
    EXPECT_NE(printer.Said().find("magic packet, awake"), std::string::npos) << printer.Said();
}

TEST_F(CustomSettingsTest, CancelDuringAWakeUpOnlyStopsIt) {
    SimulatedPrinter printer(work, kPrinterFile, "--sleep --wake-packets 100");
    Link(printer, true);
    bool stillOpen = false;
    Then([&](CXomDialog&, DialogWindow& w) {
        // Runs once the wake-up has sent its packet and waits for the first answer.
        w.Post([&] {
            w.Click(IDCANCEL);
            WhenSettled(w, [&] {
                stillOpen = true;
                EXPECT_EQ(w.GetText(D::kStatus), L"Cannot connect to printer.");
                w.Click(IDCANCEL);
            });
        });
    });
    EXPECT_EQ(OpenStored(), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_NE(printer.Said().find("magic packet"), std::string::npos) << printer.Said();
}

TEST(MediaInstalledText, RollsWithLevelWidthAndMediaOtherInputsLeftOut) {
    CXomPrinterData data;
    auto add = [&](const wchar_t* name, int type, int units, int width, int max, int level) {
        CXomPrtInputEntry input;
        input.m_name = name;
        input.m_type = type;
        input.m_units = units;
        input.m_crossFeedDimension = width;
        input.m_maxCapacity = max;
        input.m_currentLevel = level;
        input.m_mediaName = L"Bond";
        data.m_inputTrays.push_back(input);
    };
    add(L"R1", 6, 3, 85000, 200, 50);    // 8.5 inches, a quarter full
    add(L"S", 3, 4, 297000, 100, 60);    // a sheet tray
    add(L"R2", 6, 4, 594000, 100, 300);  // 594 mm, over full reads 100
    add(L"R3", 6, 3, 240000, 0, 5);      // 24 inches, no capacity known
    EXPECT_EQ(MediaInstalledText(data),
              L"Roll R1: 25%, 8.5 Inches, Bond\nRoll R2: 100%, 594 mm, Bond\n"
              L"Roll R3, 24 Inches, Bond");
    EXPECT_EQ(RollWidthText(3, 123456), L"314 mm");  // 12.3456 inches
    EXPECT_EQ(RollWidthText(5, 1000), L"");
    EXPECT_EQ(ExitTrayName(4), L"Below");
    EXPECT_EQ(ExitTrayName(9), L"Unknown");
}

}  // namespace
