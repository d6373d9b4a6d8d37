#include "Common/xomOutput/PrinterNetwork.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/MessageService.h"

namespace {

// The one manager serves the job port and SNMP alike; it is made once and again after a shutdown,
// and starting it says nothing to the user when it starts.
TEST(PrinterNetwork, StartSnmpManagerMakesTheOneManagerOnce) {
    std::vector<std::wstring> shown;
    const auto previous =
        xomplatform::SetMessageSink([&](const std::wstring& text, const std::wstring&,
                                        xomplatform::MessageIcon) { shown.push_back(text); });
    ShutdownPrinterNetwork();
    EXPECT_EQ(StartSnmpManager(), JuxNetwork::kS_OK);
    JuxNetwork::CSnmpManager* first = PrinterNetwork();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->IsStarted());
    EXPECT_EQ(first->GetCommunity(), L"tamsel");
    EXPECT_EQ(StartSnmpManager(), JuxNetwork::kS_OK);
    EXPECT_EQ(PrinterNetwork(), first);
    ShutdownPrinterNetwork();
    EXPECT_EQ(StartSnmpManager(), JuxNetwork::kS_OK);
    EXPECT_NE(PrinterNetwork(), nullptr);
    ShutdownPrinterNetwork();
    EXPECT_TRUE(shown.empty());
    xomplatform::SetMessageSink(previous);
}

}  // namespace
