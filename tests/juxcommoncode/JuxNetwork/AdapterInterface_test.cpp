#include "juxcommoncode/JuxNetwork/AdapterInterface.h"

#include <gtest/gtest.h>

namespace {

using JuxNetwork::CAdapterInterface;
using JuxNetwork::JUX_IP_ADDRESS;

CAdapterInterface AdapterAt(const wchar_t* address, std::uint8_t prefixLength) {
    CAdapterInterface adapter;
    EXPECT_TRUE(adapter.m_localAddress.Set(address));
    adapter.m_prefixLength = prefixLength;
    JuxNetwork::SetBroadcastAddress(adapter);
    return adapter;
}

TEST(AdapterInterface, Ipv4BroadcastIsTheDirectedBroadcastOfThePrefix) {
    EXPECT_EQ(AdapterAt(L"192.168.1.20", 24).m_broadcastAddress.ToText(), L"192.168.1.255");
    EXPECT_EQ(AdapterAt(L"10.1.2.3", 22).m_broadcastAddress.ToText(), L"10.1.3.255");
    EXPECT_EQ(AdapterAt(L"10.1.2.3", 32).m_broadcastAddress.ToText(), L"10.1.2.3");
    EXPECT_EQ(AdapterAt(L"10.1.2.3", 0).m_broadcastAddress.ToText(), L"255.255.255.255");
    // The port of the local address never leaks into the broadcast address.
    EXPECT_EQ(AdapterAt(L"10.200.0.1:5000", 24).m_broadcastAddress.ToText(), L"10.200.0.255");
    const CAdapterInterface adapter = AdapterAt(L"10.1.2.3", 22);
    EXPECT_EQ(adapter.m_ipv4SubnetMask, JuxNetwork::Ipv4MaskFromPrefix(22));
    const std::uint8_t* mask = reinterpret_cast<const std::uint8_t*>(&adapter.m_ipv4SubnetMask);
    EXPECT_EQ(mask[0], 255);
    EXPECT_EQ(mask[2], 252);
    EXPECT_EQ(mask[3], 0);
}

TEST(AdapterInterface, Ipv6BroadcastIsTheAllNodesGroup) {
    const CAdapterInterface adapter = AdapterAt(L"fe80::1%4", 64);
    EXPECT_EQ(adapter.m_broadcastAddress.family, JUX_IP_ADDRESS::kFamilyIpv6);
    EXPECT_EQ(adapter.m_broadcastAddress.ToText(), L"ff02::1");
    EXPECT_EQ(adapter.m_broadcastAddress.Port(), 0);
    EXPECT_EQ(adapter.m_ipv4SubnetMask, 0u);
}

}  // namespace
