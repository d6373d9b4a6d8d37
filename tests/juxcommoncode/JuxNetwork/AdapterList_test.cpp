#include "juxcommoncode/JuxNetwork/AdapterList.h"

#include <gtest/gtest.h>

namespace {

using JuxNetwork::AdapterAddressRecord;
using JuxNetwork::AdapterList;
using JuxNetwork::CAdapterInterface;
using JuxNetwork::JUX_IP_ADDRESS;
using JuxNetwork::kInterfaceTypeEthernet;
using JuxNetwork::kInterfaceTypeIeee80211;

constexpr std::uint32_t kLoopback = 24;
constexpr std::uint32_t kTunnel = 131;

AdapterAddressRecord Record(const wchar_t* name, std::uint32_t type, const wchar_t* address,
                            std::uint8_t prefixLength, std::uint32_t index = 2, bool up = true) {
    AdapterAddressRecord record;
    record.friendlyName = name;
    record.interfaceType = type;
    record.interfaceIndex = index;
    record.up = up;
    record.physicalAddress = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    EXPECT_TRUE(record.address.Set(address));
    record.prefixLength = prefixLength;
    return record;
}

JUX_IP_ADDRESS Address(const wchar_t* text) {
    JUX_IP_ADDRESS address;
    EXPECT_TRUE(address.Set(text));
    return address;
}

// The name of the adapter chosen for destination, or "none".
std::wstring Chosen(const AdapterList& adapters, const wchar_t* destination) {
    const CAdapterInterface* adapter = JuxNetwork::FindAdapterFor(adapters, Address(destination));
    return adapter ? adapter->m_friendlyName + L" " + adapter->m_localAddress.ToText() : L"none";
}

TEST(AdapterList, KeepsOnlyAdaptersThatAreUpAndEthernetOr80211) {
    const AdapterList adapters = JuxNetwork::BuildAdapterList({
        Record(L"lo", kLoopback, L"127.0.0.1", 8, 1),
        Record(L"eth0", kInterfaceTypeEthernet, L"192.168.1.20", 24, 2),
        Record(L"eth1", kInterfaceTypeEthernet, L"10.0.0.5", 8, 3, /*up=*/false),
        Record(L"tun0", kTunnel, L"10.8.0.1", 24, 4),
        Record(L"wlan0", kInterfaceTypeIeee80211, L"fe80::a%5", 64, 5),
        Record(L"eth0", kInterfaceTypeEthernet, L"fe80::1%2", 64, 2),
        // The same address reported twice for one interface gives one adapter.
        Record(L"eth0", kInterfaceTypeEthernet, L"fe80::1%2", 64, 2),
    });
    ASSERT_EQ(adapters.size(), 3u);
    EXPECT_EQ(adapters[0]->m_friendlyName, L"eth0");
    EXPECT_EQ(adapters[0]->m_broadcastAddress.ToText(), L"192.168.1.255");
    EXPECT_EQ(adapters[0]->m_physicalAddress.size(), 6u);
    EXPECT_EQ(adapters[0]->m_ipv6InterfaceIndex, 2u);
    EXPECT_EQ(adapters[1]->m_friendlyName, L"wlan0");
    EXPECT_EQ(adapters[1]->m_interfaceType, kInterfaceTypeIeee80211);
    EXPECT_EQ(adapters[1]->m_broadcastAddress.ToText(), L"ff02::1");
    EXPECT_EQ(adapters[2]->m_localAddress.ToText(), L"fe80::1%2");
}

TEST(AdapterList, AMachineWithOnlyLoopbackTunnelsOrDownAdaptersHasNone) {
    const AdapterList adapters = JuxNetwork::BuildAdapterList({
        Record(L"lo", kLoopback, L"127.0.0.1", 8, 1),
        Record(L"lo", kLoopback, L"::1", 128, 1),
        Record(L"tun0", kTunnel, L"10.8.0.1", 24, 4),
        Record(L"eth0", kInterfaceTypeEthernet, L"192.168.1.20", 24, 2, /*up=*/false),
    });
    EXPECT_TRUE(adapters.empty());
    EXPECT_EQ(Chosen(adapters, L"192.168.1.30"), L"none");
    EXPECT_EQ(Chosen(adapters, L"fe80::2"), L"none");
}

TEST(AdapterList, Ipv4PrefersEthernetInTheSubnetThenTheSubnetThenEthernetThenAny) {
    const AdapterList adapters = JuxNetwork::BuildAdapterList({
        Record(L"wlan0", kInterfaceTypeIeee80211, L"192.168.1.20", 24),
        Record(L"wlan1", kInterfaceTypeIeee80211, L"172.16.0.9", 16),
        Record(L"eth0", kInterfaceTypeEthernet, L"10.1.2.3", 22),
        Record(L"eth1", kInterfaceTypeEthernet, L"172.16.5.1", 16),
        Record(L"eth6", kInterfaceTypeEthernet, L"fe80::1%2", 64),
    });
    EXPECT_EQ(Chosen(adapters, L"172.16.200.7"), L"eth1 172.16.5.1");  // (1) Ethernet in the subnet
    EXPECT_EQ(Chosen(adapters, L"192.168.1.77"),
              L"wlan0 192.168.1.20");                              // (2) 802.11 in the subnet
    EXPECT_EQ(Chosen(adapters, L"10.1.3.254"), L"eth0 10.1.2.3");  // a /22 spans 10.1.0-3
    EXPECT_EQ(Chosen(adapters, L"8.8.8.8"), L"eth0 10.1.2.3");     // (3) first Ethernet
    const AdapterList wireless = JuxNetwork::BuildAdapterList({
        Record(L"eth6", kInterfaceTypeEthernet, L"fe80::1%2", 64),
        Record(L"wlan0", kInterfaceTypeIeee80211, L"192.168.1.20", 24),
    });
    EXPECT_EQ(Chosen(wireless, L"8.8.8.8"), L"wlan0 192.168.1.20");  // (4) any IPv4 adapter
}

TEST(AdapterList, Ipv6MatchesTheLinkLocalStateThenEthernetThenAny) {
    const AdapterList adapters = JuxNetwork::BuildAdapterList({
        Record(L"wlan0", kInterfaceTypeIeee80211, L"fe80::a%5", 64, 5),
        Record(L"wlan0", kInterfaceTypeIeee80211, L"2001:db8::a", 64, 5),
        Record(L"eth4", kInterfaceTypeEthernet, L"192.168.1.20", 24, 2),
        Record(L"eth0", kInterfaceTypeEthernet, L"2001:db8::1", 64, 2),
        Record(L"eth0", kInterfaceTypeEthernet, L"fe80::1%2", 64, 2),
    });
    EXPECT_EQ(Chosen(adapters, L"fe80::99"), L"eth0 fe80::1%2");        // (1) link-local Ethernet
    EXPECT_EQ(Chosen(adapters, L"2001:db8::99"), L"eth0 2001:db8::1");  // (1) global Ethernet
    const AdapterList linkLocalWireless = JuxNetwork::BuildAdapterList({
        Record(L"eth0", kInterfaceTypeEthernet, L"2001:db8::1", 64, 2),
        Record(L"wlan0", kInterfaceTypeIeee80211, L"fe80::a%5", 64, 5),
    });
    EXPECT_EQ(Chosen(linkLocalWireless, L"fe80::99"), L"wlan0 fe80::a%5");  // (2) same state
    EXPECT_EQ(Chosen(linkLocalWireless, L"2001:db8::99"), L"eth0 2001:db8::1");
    const AdapterList globalOnly = JuxNetwork::BuildAdapterList({
        Record(L"wlan0", kInterfaceTypeIeee80211, L"2001:db8::a", 64, 5),
        Record(L"eth0", kInterfaceTypeEthernet, L"2001:db8::1", 64, 2),
    });
    EXPECT_EQ(Chosen(globalOnly, L"fe80::99"), L"eth0 2001:db8::1");  // (3) any Ethernet
    const AdapterList wirelessOnly = JuxNetwork::BuildAdapterList({
        Record(L"eth4", kInterfaceTypeEthernet, L"192.168.1.20", 24, 2),
        Record(L"wlan0", kInterfaceTypeIeee80211, L"2001:db8::a", 64, 5),
    });
    EXPECT_EQ(Chosen(wirelessOnly, L"fe80::99"), L"wlan0 2001:db8::a");  // (4) any IPv6 adapter
    EXPECT_EQ(JuxNetwork::FindAdapterFor(wirelessOnly, JUX_IP_ADDRESS{}), nullptr);
}

}  // namespace
