#include "tools/xomplot/PrintersCommand.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/tools/xomplot/NamespacePrinters.h"

namespace {

using xomtest::Shell;

using xomplot::ParseMacAddress;

TEST(PrintersCommand, MacAddressesInTheUsualFormsAndNothingElse) {
    const std::vector<std::uint8_t> mac{0x00, 0x11, 0x22, 0xAA, 0xbb, 0x5F};
    EXPECT_EQ(ParseMacAddress("00-11-22-AA-BB-5f"), mac);
    EXPECT_EQ(ParseMacAddress("00:11:22:aa:bb:5F"), mac);
    EXPECT_EQ(ParseMacAddress("001122AABB5F"), mac);
    for (const char* bad :
         {"", "00-11-22-33-44", "00-11-22-33-44-55-66", "00-11:22-33-44-55", "0g-11-22-33-44-55",
          "00112233445", "0011223344556", "00 11 22 33 44 55", "00-11-22-33-44-5"}) {
        EXPECT_FALSE(ParseMacAddress(bad).has_value()) << bad;
    }
}

TEST(PrintersCommand, AgentLinesListQSeriesPrintersUnlessAllAreAsked) {
    std::vector<CSnmpAgent> agents(3);
    agents[0].m_address.Set(L"10.0.0.5");
    agents[0].m_sysDescription = L"XOM Q Series 42";
    agents[0].m_sysName = L"q42";
    agents[0].m_community = L"tamsel";
    agents[1].m_address.Set(L"10.0.0.6");
    agents[1].m_sysDescription = L"Some router";
    agents[2].m_address.Set(L"fe80::2");
    agents[2].m_sysDescription = L"XOM Q\tSeries";
    agents[2].m_sysLocation = L"hall\n2";
    EXPECT_EQ(xomplot::AgentLines(agents, false),
              (std::vector<std::string>{"10.0.0.5\tq42\tXOM Q Series 42\t-\ttamsel",
                                        "fe80::2\t-\tXOM Q Series\thall 2\t-"}));
    EXPECT_EQ(xomplot::AgentLines(agents, true).size(), 3u);
}

// The way README shows: the simulated printers of scripts/netns-printers.sh (under this test's
// own names), discovered from the client namespace by xomplot as a user runs it.
TEST(PrintersCommand, DiscoverFindsTheSimulatedPrintersOfTheNamespaceNetwork) {
    xomtest::NamespacePrinters network("xp");
    const auto up = network.Up();
    const std::string xomplot = network.InClient() + std::string(XOM_TEST_XOMPLOT) + " printers ";
    const auto found = Shell(xomplot + "discover");
    const auto wrongCommunity = Shell(xomplot + "discover --community nobody");
    const auto woken = Shell(xomplot + "wake 00-11-22-33-44-55");
    const auto badMac = Shell(xomplot + "wake 00-11-22");
    // Linking a configuration asks the printer who it is; one that does not answer stores nothing.
    const std::string configHome = network.state.string() + "-config";
    const std::string config = network.InClient() + "env XDG_CONFIG_HOME=" + configHome + " " +
                               std::string(XOM_TEST_XOMPLOT) + " --driver " + XOM_TEST_DRIVER_DIR +
                               "/xomq15.hdi config ";
    const auto linked = Shell(config + "link q2 fe80::12");
    const auto shown = Shell(config + "show q2");
    const auto nobody = Shell(config + "link q9 10.200.0.11 --community nobody");
    const auto noConfig = Shell(config + "show q9");
    std::filesystem::remove_all(configHome);
    ASSERT_EQ(up.second, 0) << up.first;
    EXPECT_EQ(found.second, 0) << found.first;
    for (const char* line :
         {"10.200.0.11\tq1-plotroom\tXOM Q Series Q1", "10.200.0.12\tq2-drawing-office\t",
          "fe80::11\tq1-plotroom\t", "fe80::12\tq2-drawing-office\t"}) {
        EXPECT_NE(found.first.find(line), std::string::npos) << line << " in:\n" << found.first;
    }
    EXPECT_EQ(std::count(found.first.begin(), found.first.end(), '\n'), 4) << found.first;
    EXPECT_EQ(wrongCommunity, (std::pair<std::string, int>{"No printers answered.\n", 0}));
    EXPECT_EQ(woken,
              (std::pair<std::string, int>{"Wake-up packet sent for 00-11-22-33-44-55.\n", 0}));
    EXPECT_EQ(badMac.second, 64) << badMac.first;

    EXPECT_EQ(linked.second, 0) << linked.first;
    for (const char* item :
         {"MachineName              q2-drawing-office", "MachineIpAddress         fe80::12\n",
          "MachineMacAddress        00-1A-2B-3C-4D-02",
          "MachineLocation          Drawing office, first floor",
          "MachineDescription       XOM Q Series Q2", "MachineSnmpCommunity     tamsel"})
        EXPECT_NE(shown.first.find(item), std::string::npos) << item << " in:\n" << shown.first;
    EXPECT_EQ(nobody.second, 1) << nobody.first;
    EXPECT_NE(nobody.first.find("10.200.0.11 did not say who it is"), std::string::npos)
        << nobody.first;
    EXPECT_NE(noConfig.second, 0) << "nothing was stored: " << noConfig.first;
}

}  // namespace
