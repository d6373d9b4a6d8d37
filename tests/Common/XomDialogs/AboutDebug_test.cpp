// The about list (identity, printer link, plot log) and the debug options with their path test.
#include "Common/XomDialogs/DlgAbout.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "Common/XomDialogs/DlgDebug.h"
#include "DialogScript.h"
#include "juxcommoncode/PlotLog/PlotLog.h"
#include "platform/Utf8.h"

namespace {

using xomplatform::DialogWindow;
namespace fs = std::filesystem;

class AboutDebug : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        folder = fs::temp_directory_path() / ("xom-dialogs-" + std::to_string(getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        DialogTest::TearDown();
    }
    bool Has(const std::vector<std::wstring>& lines, const std::wstring& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    fs::path folder;
};

TEST_F(AboutDebug, AboutListsIdentityLinkAndPlotLog) {
    const std::wstring logPath = (folder / "log.dat").wstring();
    JuxNetwork::PlotLog log(logPath);
    JuxNetwork::CPlotData record;
    record.m_drawing = L"\u5efa\u7bc9-plan.dwg";
    record.m_status = L"Plot complete";
    log.AddEntry(record);
    ASSERT_EQ(log.Save(), 0u);

    CSnmpAgent link;
    ASSERT_TRUE(link.m_address.Set(L"192.0.2.7"));
    link.m_community = L"public";
    link.m_sysName = L"Q-Printer";
    link.m_physicalAddress = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
    DriverSettings settings;
    Then([](CXomDialog& d, DialogWindow& w) {
        const auto& lines = static_cast<CDlgAbout&>(d).Lines();
        ASSERT_EQ(w.GetListCount(CDlgAbout::kList), static_cast<int>(lines.size()));
        Screenshot(w, "about");
        w.Click(IDOK);
    });
    CDlgAbout dialog(&settings, &link, logPath);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    const auto& lines = dialog.Lines();
    ASSERT_GT(lines.size(), 12u);
    EXPECT_EQ(lines[0], L"Q Series");
    EXPECT_EQ(lines[1], L"");
    EXPECT_EQ(lines[2], L"HDI Driver Version: 1.0.24.x64   [xomq]");
    EXPECT_EQ(lines[4], L"Heidi Version: 15.0.0.0");
    EXPECT_EQ(lines[8].rfind(L"Locale: ", 0), 0u);
    EXPECT_EQ(lines[10], L"Current Connection Settings");
    EXPECT_EQ(lines[11], L"  IP Address:192.0.2.7");
    EXPECT_EQ(lines[12], L"  SNMP Community:public");
    EXPECT_EQ(lines[13], L"  Printer:Q-Printer");
    EXPECT_EQ(lines[14], L"  MAC Address:00-1A-2B-3C-4D-5E");
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::wstring& l) {
        return l.find(L"\u5efa\u7bc9-plan.dwg") != std::wstring::npos;
    }));
}

TEST_F(AboutDebug, WithoutALinkedPrinterTheAboutBoxHasNoConnectionLines) {
    CSnmpAgent unlinked;
    DriverSettings settings;
    const std::wstring logPath = (folder / "none.dat").wstring();
    EXPECT_FALSE(Has(AboutLines(&settings, &unlinked, logPath), L"Current Connection Settings"));
    CSnmpAgent link;
    ASSERT_TRUE(link.m_address.Set(L"192.0.2.7"));
    EXPECT_FALSE(Has(AboutLines(nullptr, &link, logPath), L"Current Connection Settings"));
    EXPECT_TRUE(Has(AboutLines(&settings, &link, logPath), L"Current Connection Settings"));
}

TEST_F(AboutDebug, DebugStoresTheFullPathOfARelativeName) {
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    DriverSettings settings;
    settings.LogFilePath = L"/var/log/xom.log";
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_FALSE(w.IsShown(CDlgDebug::kLogFile));
        EXPECT_FALSE(w.IsShown(CDlgDebug::kLogGroup));
        EXPECT_EQ(w.GetText(CDlgDebug::kLogFile), L"/var/log/xom.log");
        Screenshot(w, "debug");
        w.TypeText(CDlgDebug::kHeaderFile, L"header-\u00fc.txt");
        w.Click(CDlgDebug::kPutXml);
        w.Click(IDOK);
    });
    CDlgDebug dialog(settings);
    const int result = dialog.DoModal();
    fs::current_path(previous);
    EXPECT_EQ(result, IDOK);
    // Paths as UTF-8 bytes, whatever the test's locale.
    const std::string name = xomplatform::ToUtf8(L"header-\u00fc.txt");
    EXPECT_EQ(settings.DebugHeaderFilePath,
              xomplatform::FromUtf8((fs::canonical(folder) / name).string()));
    EXPECT_EQ(settings.PutXMLinPlotFile, 1);
    EXPECT_FALSE(fs::exists(folder / name));  // the test file is removed again
    EXPECT_EQ(settings.LogFilePath, L"/var/log/xom.log");
}

TEST_F(AboutDebug, AnUnwritablePathKeepsTheDialogOpenAndAnExistingFileWhole) {
    DriverSettings settings;
    settings.DebugHeaderFilePath = L"/old/header.txt";
    const fs::path existing = folder / "kept.txt";
    std::ofstream(existing) << "content";
    Then([&](CXomDialog&, DialogWindow& w) {
        w.TypeText(CDlgDebug::kHeaderFile,
                   xomplatform::FromUtf8((folder / "missing" / "h.txt").string()));
        w.Click(CDlgDebug::kPutXml);
        w.Click(IDOK);  // refused: the dialog stays open
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].caption, L"Error");
        EXPECT_EQ(messages[0].text, L"Diagnostic plot header file: \nNo such file or directory");
        EXPECT_EQ(messages[0].icon, xomplatform::MessageIcon::Stop);
        EXPECT_EQ(w.GetFocus(), CDlgDebug::kHeaderFile);
        w.Click(IDCANCEL);
    });
    CDlgDebug refused(settings);
    EXPECT_EQ(refused.DoModal(), IDCANCEL);
    EXPECT_EQ(settings.DebugHeaderFilePath, L"/old/header.txt");
    EXPECT_EQ(settings.PutXMLinPlotFile, 0);

    Then([&](CXomDialog&, DialogWindow& w) {
        w.TypeText(CDlgDebug::kHeaderFile, xomplatform::FromUtf8(existing.string()));
        w.Click(IDOK);
    });
    CDlgDebug accepted(settings);
    EXPECT_EQ(accepted.DoModal(), IDOK);
    EXPECT_EQ(settings.DebugHeaderFilePath,
              xomplatform::FromUtf8(fs::canonical(existing).string()));
    std::ifstream in(existing);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "content");

    Then([](CXomDialog&, DialogWindow& w) {
        w.TypeText(CDlgDebug::kHeaderFile, L"");
        w.Click(IDOK);
    });
    CDlgDebug cleared(settings);
    EXPECT_EQ(cleared.DoModal(), IDOK);
    EXPECT_EQ(settings.DebugHeaderFilePath, L"");
}

}  // namespace
