#include "juxcommoncode/JuxNetwork/NetIpIoManager.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <set>

#include "NetworkTestPeers.h"
#include "juxcommoncode/JuxNetwork/NetworkTrace.h"

namespace {

using JuxNetwork::CIoContext;
using JuxNetwork::CNetIpIoManager;
using JuxNetwork::CSocketContext;
using JuxNetwork::JUX_IP_ADDRESS;
using JuxNetwork::NetIpIoManagerOptions;
using std::chrono::milliseconds;
using std::chrono::seconds;

JUX_IP_ADDRESS Address(const wchar_t* text) {
    JUX_IP_ADDRESS address;
    EXPECT_TRUE(address.Set(text));
    return address;
}

NetIpIoManagerOptions TestOptions(std::uint16_t printerPort = 9100) {
    NetIpIoManagerOptions options;
    options.printerPort = printerPort;
    options.processorCount = 2;
    return options;
}

void SendDatagram(CSocketContext& from, const JUX_IP_ADDRESS& to,
                  const std::vector<std::uint8_t>& octets) {
    from.m_remoteAddress = to;
    CIoContext* io = from.GetIoContext(CIoContext::kUdpSend);
    io->Buffer().WriteBytes(octets.data(), octets.size());
    ASSERT_EQ(from.SendDatagram(io), 0u);
}

TEST(NetIpIoManager, RunsTwiceTheProcessorsInWorkersAtMostEight) {
    EXPECT_EQ(CNetIpIoManager::WorkerThreadCountFor(1), 2u);
    EXPECT_EQ(CNetIpIoManager::WorkerThreadCountFor(3), 6u);
    EXPECT_EQ(CNetIpIoManager::WorkerThreadCountFor(4), 8u);
    EXPECT_EQ(CNetIpIoManager::WorkerThreadCountFor(64), 8u);
    NetIpIoManagerOptions options;
    options.processorCount = 1;
    CNetIpIoManager manager(options);
    EXPECT_EQ(manager.GetWorkerThreadCount(), 2u);
}

class FixedAdapterSource : public JuxNetwork::IAdapterSource {
  public:
    bool answers = true;
    std::vector<JuxNetwork::AdapterAddressRecord> records;
    bool ListAddresses(std::vector<JuxNetwork::AdapterAddressRecord>& out) override {
        out = records;
        return answers;
    }
};

TEST(NetIpIoManager, RefreshAdaptersKeepsTheUsableAddressesOfItsSource) {
    auto source = std::make_shared<FixedAdapterSource>();
    JuxNetwork::AdapterAddressRecord ethernet;
    ethernet.friendlyName = L"eth0";
    ethernet.interfaceType = JuxNetwork::kInterfaceTypeEthernet;
    ethernet.up = true;
    ethernet.address = Address(L"192.168.1.20");
    ethernet.prefixLength = 24;
    JuxNetwork::AdapterAddressRecord loopback = ethernet;
    loopback.interfaceType = 24;
    source->records = {loopback, ethernet};
    NetIpIoManagerOptions options = TestOptions();
    options.adapterSource = source;
    CNetIpIoManager manager(options);
    ASSERT_TRUE(manager.RefreshAdapters());
    ASSERT_EQ(manager.GetAdapters().size(), 1u);
    EXPECT_EQ(manager.FindAdapterFor(Address(L"192.168.1.9")), manager.GetAdapters()[0].get());
    // A source that cannot be asked fails and leaves no stale adapters behind.
    source->answers = false;
    EXPECT_FALSE(manager.RefreshAdapters());
    EXPECT_TRUE(manager.GetAdapters().empty());
    source->answers = true;
    source->records.clear();
    EXPECT_TRUE(manager.RefreshAdapters());
    EXPECT_EQ(manager.FindAdapterFor(Address(L"192.168.1.9")), nullptr);
}

TEST(NetIpIoManager, StartsOnceStopsAndStartsAgain) {
    CNetIpIoManager manager(TestOptions());
    EXPECT_EQ(manager.CreateUdpSocket(LoopbackAdapter(), false), nullptr)
        << "no sockets before Start()";
    EXPECT_TRUE(manager.Start());
    EXPECT_TRUE(manager.Start());
    EXPECT_NE(manager.CreateUdpSocket(LoopbackAdapter(), false), nullptr);
    manager.Stop();
    EXPECT_FALSE(manager.IsStarted());
    EXPECT_EQ(manager.GetSocketContextCount(), 0u);
    manager.Stop();
    EXPECT_TRUE(manager.Start());
    EXPECT_NE(manager.CreateUdpSocket(LoopbackAdapter(), false), nullptr);
}

TEST(NetIpIoManager, UdpDatagramsMakeTheRoundTripOnBothFamilies) {
    RecordingIoManager manager(TestOptions());
    ASSERT_TRUE(manager.Start());
    for (const wchar_t* host : {L"127.0.0.1", L"::1"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(host)));
        CSocketContext* client = manager.CreateUdpSocket(LoopbackAdapter(host), false);
        CSocketContext* agent = manager.CreateUdpSocket(LoopbackAdapter(host), false);
        ASSERT_NE(client, nullptr);
        ASSERT_NE(agent, nullptr);
        EXPECT_NE(agent->m_localAddress.Port(), 0) << "the bound port is read back";
        EXPECT_TRUE(client->m_remoteAddress.IsUnspecified());
        ASSERT_TRUE(agent->StartReceive());
        ASSERT_TRUE(client->StartReceive());
        const std::size_t before = manager.WaitForDatagrams(0).size();
        SendDatagram(*client, agent->m_localAddress, {1, 2, 3, 4});
        std::vector<ReceivedDatagram> got = manager.WaitForDatagrams(before + 1);
        ASSERT_EQ(got.size(), before + 1);
        EXPECT_EQ(got.back().octets, (std::vector<std::uint8_t>{1, 2, 3, 4}));
        EXPECT_EQ(got.back().sender, client->m_localAddress);
        // The agent answers the sender; the receive was posted again after the first datagram.
        SendDatagram(*agent, got.back().sender, {9, 8});
        SendDatagram(*client, agent->m_localAddress, {5});
        got = manager.WaitForDatagrams(before + 3);
        ASSERT_EQ(got.size(), before + 3);
        std::set<std::vector<std::uint8_t>> answers{got[before + 1].octets, got[before + 2].octets};
        EXPECT_EQ(answers, (std::set<std::vector<std::uint8_t>>{{9, 8}, {5}}));
    }
}

// A receive gives a datagram all the room UDP allows: a long SNMP answer must not be cut off.
TEST(NetIpIoManager, ALongDatagramArrivesWhole) {
    RecordingIoManager manager(TestOptions());
    ASSERT_TRUE(manager.Start());
    CSocketContext* client = manager.CreateUdpSocket(LoopbackAdapter(), false);
    CSocketContext* agent = manager.CreateUdpSocket(LoopbackAdapter(), false);
    ASSERT_TRUE(agent->StartReceive());
    std::vector<std::uint8_t> answer(10000);
    for (std::size_t i = 0; i < answer.size(); ++i) answer[i] = JobOctet(i);
    SendDatagram(*client, agent->m_localAddress, answer);
    const std::vector<ReceivedDatagram> got = manager.WaitForDatagrams(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].octets, answer);
}

TEST(NetIpIoManager, ManyDatagramsInFlightAllArriveAndFreeTheirContexts) {
    RecordingIoManager manager(TestOptions());
    ASSERT_TRUE(manager.Start());
    CSocketContext* client = manager.CreateUdpSocket(LoopbackAdapter(), false);
    CSocketContext* agent = manager.CreateUdpSocket(LoopbackAdapter(), false);
    for (int i = 0; i < 16; ++i) ASSERT_TRUE(agent->StartReceive());
    constexpr int kDatagrams = 64;
    client->m_remoteAddress = agent->m_localAddress;
    for (int i = 0; i < kDatagrams; ++i) {
        CIoContext* io = client->GetIoContext(CIoContext::kUdpSend);
        const std::uint8_t octets[] = {static_cast<std::uint8_t>(i), 0xAA, 0x55};
        io->Buffer().WriteBytes(octets, sizeof octets);
        ASSERT_EQ(client->SendDatagram(io), 0u);
    }
    const std::vector<ReceivedDatagram> got = manager.WaitForDatagrams(kDatagrams);
    ASSERT_EQ(got.size(), static_cast<std::size_t>(kDatagrams));
    std::set<int> numbers;
    for (const ReceivedDatagram& datagram : got) {
        ASSERT_EQ(datagram.octets.size(), 3u);
        numbers.insert(datagram.octets[0]);
    }
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kDatagrams));
    for (int i = 0; i < 250 && client->GetBusyIoContextCount() != 0; ++i) {
        std::this_thread::sleep_for(milliseconds(20));
    }
    EXPECT_EQ(client->GetBusyIoContextCount(), 0u) << "every finished send gives its context back";
    EXPECT_LE(client->GetIoContextCount(), static_cast<std::size_t>(kDatagrams));
}

std::size_t CountOf(const std::wstring& text, const std::wstring& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(NetIpIoManager, WithoutAProtocolADatagramIsDroppedWithATraceAndTheReceivePostedAgain) {
    CNetIpIoManager manager(TestOptions());
    ASSERT_TRUE(manager.Start());
    CSocketContext* client = manager.CreateUdpSocket(LoopbackAdapter(), false);
    CSocketContext* agent = manager.CreateUdpSocket(LoopbackAdapter(), false);
    JuxNetwork::ClearNetworkTrace();
    ASSERT_TRUE(agent->StartReceive());
    for (std::size_t sent = 1; sent <= 2; ++sent) {
        SendDatagram(*client, agent->m_localAddress, {1});
        for (int i = 0; i < 250 && CountOf(JuxNetwork::NetworkTraceText(), L"dropped") < sent;
             ++i) {
            std::this_thread::sleep_for(milliseconds(20));
        }
        EXPECT_EQ(CountOf(JuxNetwork::NetworkTraceText(), L"dropped"), sent);
    }
}

TEST(NetIpIoManager, ConnectTcpGoesToThePrinterPortWhateverPortItIsGiven) {
    TcpListener listener;
    CNetIpIoManager manager(TestOptions(listener.Port()));
    ASSERT_TRUE(manager.Start());
    CSocketContext* tcp = manager.ConnectTcp(Address(L"127.0.0.1:631"));
    ASSERT_NE(tcp, nullptr);
    EXPECT_EQ(tcp->m_remoteAddress.Port(), listener.Port());
    EXPECT_EQ(tcp->m_localAddress.ToAddressText(), L"127.0.0.1");
    EXPECT_NE(tcp->m_localAddress.Port(), 0);
    JobReader reader(listener.Accept());
    CIoContext* io = tcp->GetIoContext(CIoContext::kTcpBuffer);
    FillJob(*io, 0, 5000);
    tcp->GetNoticeEvent().Reset();
    ASSERT_EQ(tcp->Send(io, CIoContext::kTcpLastSend), 0u);
    EXPECT_EQ(reader.Finish().size(), 5000u);
    ASSERT_TRUE(tcp->GetNoticeEvent().WaitFor(seconds(10)));
    EXPECT_EQ(tcp->GetNoticeStatus(), CSocketContext::kNoticeJobSent);
    // The finished connection goes at the next purge; an open socket stays.
    CSocketContext* open = manager.CreateUdpSocket(LoopbackAdapter(), false);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(manager.GetSocketContextCount(), 2u);
    manager.PurgeSocketContexts();
    EXPECT_EQ(manager.GetSocketContextCount(), 1u);
    EXPECT_FALSE(open->IsClosed());
}

TEST(NetIpIoManager, ConnectTcpGivesNoneForNoAddressARefusalAndALinkLocalWithoutAdapter) {
    std::uint16_t closedPort = 0;
    {
        TcpListener probe;
        closedPort = probe.Port();
    }
    CNetIpIoManager manager(TestOptions(closedPort));
    ASSERT_TRUE(manager.Start());
    EXPECT_EQ(manager.ConnectTcp(JUX_IP_ADDRESS{}), nullptr);
    EXPECT_EQ(manager.ConnectTcp(Address(L"0.0.0.0:9100")), nullptr);
    EXPECT_EQ(manager.ConnectTcp(Address(L"127.0.0.1")), nullptr) << "nobody listens there";
    EXPECT_EQ(manager.ConnectTcp(Address(L"fe80::2")), nullptr) << "no adapter gives the zone";
    EXPECT_EQ(manager.GetSocketContextCount(), 0u);
}

// A listener whose accept queue is full drops further connection requests, as a printer that does
// not answer would: the connect ends at the time-out.
TEST(NetIpIoManager, ConnectTcpEndsAtItsTimeOut) {
    TcpListener listener("127.0.0.1", 0);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        const int filler = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(listener.Port());
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        (void)connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fillers.push_back(filler);
    }
    std::this_thread::sleep_for(milliseconds(100));
    NetIpIoManagerOptions options = TestOptions(listener.Port());
    options.connectTimeout = milliseconds(300);
    CNetIpIoManager manager(options);
    ASSERT_TRUE(manager.Start());
    JuxNetwork::ClearNetworkTrace();
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(manager.ConnectTcp(Address(L"127.0.0.1")), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - started, seconds(10))
        << "the time-out must bound the wait";
    EXPECT_NE(JuxNetwork::NetworkTraceText().find(L"ERROR 110"), std::wstring::npos)
        << testing::PrintToString(JuxNetwork::NetworkTraceText());
    for (int filler : fillers) close(filler);
}

// Stop() with receives pending and a connection whose peer reads nothing: it returns, and every
// socket, context and thread is gone.
TEST(NetIpIoManager, StopEndsWithOperationsPending) {
    TcpListener listener;
    auto manager = std::make_unique<RecordingIoManager>(TestOptions(listener.Port()));
    ASSERT_TRUE(manager->Start());
    for (int i = 0; i < 4; ++i) {
        CSocketContext* udp = manager->CreateUdpSocket(LoopbackAdapter(), false);
        ASSERT_NE(udp, nullptr);
        for (int j = 0; j < 4; ++j) ASSERT_TRUE(udp->StartReceive());
    }
    CSocketContext* tcp = manager->ConnectTcp(Address(L"127.0.0.1"));
    ASSERT_NE(tcp, nullptr);
    const int stalled = listener.Accept();
    for (int i = 0; i < 8; ++i) {
        CIoContext* io = tcp->GetIoContext(CIoContext::kTcpBuffer);
        FillJob(*io, 0, 2 * 1024 * 1024);
        ASSERT_EQ(tcp->Send(io, i == 7 ? CIoContext::kTcpLastSend : CIoContext::kTcpSend), 0u);
    }
    EXPECT_GT(tcp->GetBusyIoContextCount(), 0u);
    manager->Stop();
    EXPECT_EQ(manager->GetSocketContextCount(), 0u);
    EXPECT_FALSE(manager->IsStarted());
    manager.reset();
    close(stalled);
}

}  // namespace
