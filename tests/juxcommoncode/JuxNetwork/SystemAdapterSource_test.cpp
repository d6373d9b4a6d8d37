#include "juxcommoncode/JuxNetwork/SystemAdapterSource.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include "NetworkNamespacePair.h"
#include "NetworkTestPeers.h"
#include "juxcommoncode/JuxNetwork/AdapterList.h"
#include "juxcommoncode/JuxNetwork/NetIpIoManager.h"

namespace {

using JuxNetwork::AdapterList;
using JuxNetwork::CIoContext;
using JuxNetwork::CSocketContext;
using JuxNetwork::JUX_IP_ADDRESS;

TEST(SystemAdapterSource, InterfaceTypesFromHardwareTypeAndWirelessMark) {
    EXPECT_EQ(JuxNetwork::InterfaceTypeOf(ARPHRD_ETHER, IFF_UP, false),
              JuxNetwork::kInterfaceTypeEthernet);
    EXPECT_EQ(JuxNetwork::InterfaceTypeOf(ARPHRD_ETHER, IFF_UP, true),
              JuxNetwork::kInterfaceTypeIeee80211);
    EXPECT_EQ(JuxNetwork::InterfaceTypeOf(ARPHRD_LOOPBACK, IFF_UP | IFF_LOOPBACK, false), 24u);
    EXPECT_EQ(JuxNetwork::InterfaceTypeOf(ARPHRD_NONE, IFF_UP, false), 131u);  // tun devices
    EXPECT_EQ(JuxNetwork::InterfaceTypeOf(ARPHRD_SIT, IFF_UP, false), 131u);
    EXPECT_EQ(JuxNetwork::InterfaceTypeOf(0xFFFF, IFF_UP, false), 1u);  // no link entry at all
}

std::string Describe(const AdapterList& adapters) {
    std::string text;
    for (const auto& adapter : adapters) {
        const std::wstring address =
            adapter->m_friendlyName + L" " + adapter->m_localAddress.ToText();
        text += std::string(address.begin(), address.end()) + "; ";
    }
    return text;
}

class SystemAdapterSourceInNamespace : public testing::Test {
  protected:
    void SetUp() override {
        if (!m_pair.Created())
            GTEST_SKIP() << "cannot create network namespaces here: " << m_pair.Failure();
    }
    NetworkNamespacePair m_pair;
};

// The client side of the namespace pair sees its veth end, up and Ethernet, with both addresses;
// its loopback is left out.
TEST_F(SystemAdapterSourceInNamespace, ListsTheUpEthernetAdaptersOfTheMachine) {
    AdapterList adapters;
    unsigned index = 0;
    bool listed = false;
    ASSERT_TRUE(m_pair.RunInClient([&] {
        index = if_nametoindex(m_pair.ClientInterface().c_str());
        std::vector<JuxNetwork::AdapterAddressRecord> records;
        listed = JuxNetwork::CSystemAdapterSource().ListAddresses(records);
        adapters = JuxNetwork::BuildAdapterList(records);
    }));
    ASSERT_TRUE(listed);
    ASSERT_NE(index, 0u);
    const std::string clientIpv4 = m_pair.ClientIpv4();
    const std::wstring name(m_pair.ClientInterface().begin(), m_pair.ClientInterface().end());
    const std::wstring ipv4(clientIpv4.begin(), clientIpv4.end());
    const auto find = [&](const std::wstring& address) -> const JuxNetwork::CAdapterInterface* {
        for (const auto& adapter : adapters) {
            if (adapter->m_localAddress.ToAddressText() == address) return adapter.get();
        }
        return nullptr;
    };
    for (const auto& adapter : adapters) {
        EXPECT_EQ(adapter->m_friendlyName, name) << "only the veth end is usable";
    }
    const JuxNetwork::CAdapterInterface* v4 = find(ipv4);
    ASSERT_NE(v4, nullptr) << Describe(adapters);
    EXPECT_EQ(v4->m_interfaceType, JuxNetwork::kInterfaceTypeEthernet);
    EXPECT_EQ(v4->m_prefixLength, 24);
    const std::string broadcast = clientIpv4.substr(0, clientIpv4.rfind('.')) + ".255";
    EXPECT_EQ(v4->m_broadcastAddress.ToText(), std::wstring(broadcast.begin(), broadcast.end()));
    EXPECT_EQ(v4->m_ipv6InterfaceIndex, index);
    ASSERT_EQ(v4->m_physicalAddress.size(), 6u);
    EXPECT_TRUE(std::any_of(v4->m_physicalAddress.begin(), v4->m_physicalAddress.end(),
                            [](auto o) { return o != 0; }));
    const JuxNetwork::CAdapterInterface* v6 = find(L"fe80::1");
    ASSERT_NE(v6, nullptr);
    EXPECT_EQ(v6->m_localAddress.ScopeId(), index);
    EXPECT_EQ(v6->m_broadcastAddress.ToText(), L"ff02::1");
    EXPECT_EQ(v6->m_physicalAddress, v4->m_physicalAddress);
}

// A link-local printer address carries no zone; the connection takes it from the adapter.
TEST_F(SystemAdapterSourceInNamespace, ConnectTcpToALinkLocalPrinterUsesTheAdaptersZone) {
    int listening = -1;
    ASSERT_TRUE(m_pair.RunInDevice([&] {
        listening = socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in6 address{};
        address.sin6_family = AF_INET6;
        inet_pton(AF_INET6, "fe80::2", &address.sin6_addr);
        address.sin6_scope_id = if_nametoindex(("vd" + m_pair.ClientInterface().substr(2)).c_str());
        if (bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listening, 4) != 0) {
            close(listening);
            listening = -1;
        }
    }));
    ASSERT_GE(listening, 0);
    TcpListener listener(listening);
    std::vector<std::uint8_t> received;
    bool connected = false;
    ASSERT_TRUE(m_pair.RunInClient([&] {
        JuxNetwork::NetIpIoManagerOptions options;
        options.printerPort = listener.Port();
        options.processorCount = 1;
        options.connectTimeout = std::chrono::milliseconds(5000);
        JuxNetwork::CNetIpIoManager manager(options);
        if (!manager.Start() || !manager.RefreshAdapters()) return;
        JUX_IP_ADDRESS printer;
        printer.Set(L"fe80::2");
        CSocketContext* tcp = manager.ConnectTcp(printer);
        if (tcp == nullptr) return;
        connected = true;
        JobReader reader(listener.Accept());
        CIoContext* io = tcp->GetIoContext(CIoContext::kTcpBuffer);
        FillJob(*io, 0, 30000);
        tcp->Send(io, CIoContext::kTcpLastSend);
        received = reader.Finish();
    }));
    ASSERT_TRUE(connected);
    EXPECT_EQ(received.size(), 30000u);
}

// With the broadcast flag an IPv4 socket may send to the directed broadcast address, and an IPv6
// socket's datagrams to the all-nodes group leave by its own adapter; the devices answer the
// sender directly.
TEST_F(SystemAdapterSourceInNamespace, BroadcastSocketsReachTheWholeLinkAndHearTheAnswers) {
    int device = -1;
    ASSERT_TRUE(m_pair.RunInDevice([&] {
        device = socket(AF_INET6, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int off = 0;
        setsockopt(device, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
        sockaddr_in6 any{};
        any.sin6_family = AF_INET6;
        if (bind(device, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0) {
            close(device);
            device = -1;
        }
    }));
    ASSERT_GE(device, 0);
    sockaddr_in6 bound{};
    socklen_t length = sizeof bound;
    getsockname(device, reinterpret_cast<sockaddr*>(&bound), &length);
    const std::uint16_t devicePort = ntohs(bound.sin6_port);
    timeval wait{5, 0};
    setsockopt(device, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    // The device answers each datagram to its sender, and says what it heard.
    const auto answer = [device](std::string& heard) {
        char octets[64];
        sockaddr_storage sender{};
        socklen_t senderLength = sizeof sender;
        const ssize_t got = recvfrom(device, octets, sizeof octets, 0,
                                     reinterpret_cast<sockaddr*>(&sender), &senderLength);
        if (got <= 0) return;
        heard.assign(octets, static_cast<std::size_t>(got));
        sendto(device, "pong", 4, 0, reinterpret_cast<sockaddr*>(&sender), senderLength);
    };

    std::string heardIpv4, heardIpv6;
    std::vector<ReceivedDatagram> answers;
    ASSERT_TRUE(m_pair.RunInClient([&] {
        RecordingIoManager manager(JuxNetwork::NetIpIoManagerOptions{});
        if (!manager.Start() || !manager.RefreshAdapters()) return;
        for (const auto& adapter : manager.GetAdapters()) {
            const bool ipv6 = adapter->IsIpv6();
            if (ipv6 && adapter->m_localAddress.ToAddressText() != L"fe80::1") continue;
            CSocketContext* udp = manager.CreateUdpSocket(*adapter, true);
            if (udp == nullptr || !udp->StartReceive()) return;
            udp->m_remoteAddress = adapter->m_broadcastAddress;
            udp->m_remoteAddress.SetPort(devicePort);
            CIoContext* io = udp->GetIoContext(CIoContext::kUdpSend);
            io->Buffer().WriteBytes(ipv6 ? "six" : "four", ipv6 ? 3 : 4);
            if (udp->SendDatagram(io) != 0) return;
            answer(ipv6 ? heardIpv6 : heardIpv4);
        }
        answers = manager.WaitForDatagrams(2);
    }));
    close(device);
    EXPECT_EQ(heardIpv4, "four") << "the directed broadcast reaches the device";
    EXPECT_EQ(heardIpv6, "six") << "the all-nodes datagram reaches the device";
    ASSERT_EQ(answers.size(), 2u);
    for (const ReceivedDatagram& got : answers) {
        EXPECT_EQ(got.octets, (std::vector<std::uint8_t>{'p', 'o', 'n', 'g'}));
    }
}

}  // namespace
