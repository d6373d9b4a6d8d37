#include "tools/xomplot/PrintersCommand.h"

#include <gtest/gtest.h>

namespace {

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

}  // namespace
