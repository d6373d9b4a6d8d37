#include "Common/xomOutput/PrinterDataRead.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "../../juxcommoncode/PrinterData/MibTestAgent.h"
#include "Common/xomOutput/PrinterNetwork.h"
#include "platform/MessageService.h"
#include "tests/support/LoopbackAdapter.h"

namespace {

using V = MibTestAgent;
const std::wstring kPrivate = L"1.3.6.1.4.1.40713.1.1.1.";

// The smallest printer that reads: its own values and the user data; every table empty.
std::map<std::wstring, MibTestAgent::Value> SmallPrinter() {
    return {{L"1.3.6.1.2.1.1.1.0", V::Text("XOM Q Series Q2")},
            {L"1.3.6.1.2.1.1.5.0", V::Text("q2-office")},
            {L"1.3.6.1.2.1.43.10.2.1.6.1.1", V::Integer(1)},
            {L"1.3.6.1.2.1.2.2.1.6.1", V::Octets({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x02})},
            {kPrivate + L"3.1.0", V::Octets({})},
            {kPrivate + L"3.2.1.0", V::Integer(1)},
            {kPrivate + L"3.2.2.0", V::Text("User")},
            {kPrivate + L"3.2.3.0", V::Text("")}};
}

class PrinterDataReadTest : public testing::Test {
  protected:
    void UseAgent(const MibTestAgent& agent, std::uint16_t wakePort = 7) {
        JuxNetwork::NetIpIoManagerOptions options;
        options.adapterSource = std::make_shared<xomtest::LoopbackAdapterSource>();
        options.processorCount = 2;
        JuxNetwork::SnmpManagerOptions snmp;
        snmp.agentPort = agent.Port();
        snmp.tries = 2;
        snmp.responseTimeout = std::chrono::milliseconds(100);
        snmp.wakePort = wakePort;
        ShutdownPrinterNetwork();
        SetPrinterNetworkOptions(options, snmp);
    }
    void SetUp() override {
        previousSink = xomplatform::SetMessageSink(
            [this](const std::wstring& text, const std::wstring&, xomplatform::MessageIcon) {
                shown.push_back(text);
            });
        printer.m_address.Set(L"127.0.0.1");
    }
    void TearDown() override {
        ShutdownPrinterNetwork();
        SetPrinterNetworkOptions({}, {});
        xomplatform::SetMessageSink(previousSink);
    }
    CXomMachine printer;
    std::vector<std::wstring> shown;
    xomplatform::MessageSink previousSink;
};

TEST_F(PrinterDataReadTest, AReadAttachesTheDataAndTakesThePrintersIdentity) {
    MibTestAgent agent(SmallPrinter());
    UseAgent(agent);
    printer.m_community = L"plotroom";
    ASSERT_EQ(ReadPrinterData(printer), JuxNetwork::kS_OK);
    ASSERT_NE(printer.m_printerData, nullptr);
    EXPECT_EQ(printer.m_sysName, L"q2-office");
    EXPECT_EQ(printer.m_sysDescription, L"XOM Q Series Q2");
    EXPECT_EQ(printer.m_physicalAddress, (OctetArray{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x02}));
    EXPECT_EQ(agent.Requests().front().community, L"plotroom") << "the printer's own community";

    printer.m_community.clear();
    ASSERT_EQ(ReadPrinterData(printer), JuxNetwork::kS_OK);
    EXPECT_EQ(agent.Requests().back().community, L"tamsel") << "the default without one";
    EXPECT_TRUE(shown.empty());
}

TEST_F(PrinterDataReadTest, AFailedReadLeavesNoDataAndOneReadWithoutAMacAddress) {
    MibTestAgent agent(SmallPrinter());
    UseAgent(agent);
    ASSERT_EQ(ReadPrinterData(printer), JuxNetwork::kS_OK);
    agent.AnswerOnly(3);  // the printer's values and two tables, then silence
    EXPECT_EQ(ReadPrinterData(printer), JuxNetwork::kE_FAIL);
    EXPECT_EQ(printer.m_printerData, nullptr) << "a half-read model is never kept";

    printer.m_physicalAddress.clear();
    const std::size_t before = agent.RequestCount();
    EXPECT_EQ(ReadPrinterDataWakingIt(printer), 1) << "no MAC address: nothing to wake";
    EXPECT_EQ(agent.RequestCount(), before + 2) << "one read of two tries";
    EXPECT_EQ(printer.m_printerData, nullptr);
}

// Wake-up packets go to the loopback adapter's broadcast address, where the test listens.
class WakeListener {
  public:
    WakeListener() {
        m_socket = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in any{};
        any.sin_family = AF_INET;
        socklen_t length = sizeof any;
        EXPECT_EQ(bind(m_socket, reinterpret_cast<sockaddr*>(&any), length), 0);
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&any), &length);
        m_port = ntohs(any.sin_port);
        const timeval wait{0, 1000};
        setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    }
    ~WakeListener() { close(m_socket); }
    std::uint16_t Port() const { return m_port; }
    // The magic packets received so far.
    int Packets() {
        std::uint8_t datagram[256];
        while (recv(m_socket, datagram, sizeof datagram, 0) == 102) ++m_packets;
        return m_packets;
    }

  private:
    int m_socket = -1;
    std::uint16_t m_port = 0;
    int m_packets = 0;
};

TEST_F(PrinterDataReadTest, ASleepingPrinterIsWokenAndReadAgainUpToEightTimes) {
    WakeListener wake;
    MibTestAgent asleep(SmallPrinter());
    asleep.IgnoreFirst(4);  // two reads of two tries go unanswered
    UseAgent(asleep, wake.Port());
    printer.m_physicalAddress = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x02};
    EXPECT_EQ(ReadPrinterDataWakingIt(printer), 3) << "used on the third read";
    EXPECT_NE(printer.m_printerData, nullptr);
    EXPECT_EQ(wake.Packets(), 2);

    MibTestAgent silent(SmallPrinter());
    silent.AnswerOnly(0);
    UseAgent(silent, wake.Port());
    printer.m_printerData.reset();
    EXPECT_EQ(ReadPrinterDataWakingIt(printer), 8);
    EXPECT_EQ(printer.m_printerData, nullptr);
    EXPECT_EQ(silent.RequestCount(), 16u) << "eight reads of two tries";
    EXPECT_EQ(wake.Packets(), 2 + 7) << "a packet before each read after the first";
}

TEST_F(PrinterDataReadTest, APrinterWithoutAnAddressLosesItsData) {
    MibTestAgent agent(SmallPrinter());
    UseAgent(agent);
    ASSERT_EQ(ReadPrinterData(printer), JuxNetwork::kS_OK);
    printer.m_address = JuxNetwork::JUX_IP_ADDRESS{};
    EXPECT_EQ(ReadPrinterData(printer), JuxNetwork::kE_FAIL);
    EXPECT_EQ(printer.m_printerData, nullptr);
}

TEST_F(PrinterDataReadTest, NoAdapterReachingThePrinterSaysTheNetworkIsUnavailable) {
    MibTestAgent agent(SmallPrinter());
    UseAgent(agent);
    printer.m_address.Set(L"2001:db8::5");  // the loopback adapter reaches no IPv6 network
    EXPECT_EQ(ReadPrinterData(printer), JuxNetwork::kE_FAIL);
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"Network is not available."}));
    EXPECT_EQ(agent.RequestCount(), 0u);
}

}  // namespace
