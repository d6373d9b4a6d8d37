#include "juxcommoncode/JuxNetwork/JuxIpAddress.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using JuxNetwork::JUX_IP_ADDRESS;

JUX_IP_ADDRESS Parsed(const wchar_t* text) {
    JUX_IP_ADDRESS a;
    EXPECT_TRUE(a.Set(text)) << "parsing " << testing::PrintToString(std::wstring(text));
    return a;
}

TEST(JuxIpAddress, Ipv4WithAndWithoutPort) {
    JUX_IP_ADDRESS a = Parsed(L"192.168.1.20");
    EXPECT_EQ(a.family, JUX_IP_ADDRESS::kFamilyIpv4);
    EXPECT_EQ(a.Ipv4()[0], 192);
    EXPECT_EQ(a.Ipv4()[3], 20);
    EXPECT_EQ(a.Port(), 0);
    EXPECT_EQ(a.AddressLength(), 16u);
    EXPECT_EQ(a.ToText(), L"192.168.1.20");
    a = Parsed(L"192.168.1.20:9100");
    EXPECT_EQ(a.Port(), 9100);
    EXPECT_EQ(a.portNetworkOrder, 0x8C23);  // 9100 = 0x238C, network order
    EXPECT_EQ(a.ToText(), L"192.168.1.20:9100");
    EXPECT_EQ(a.ToAddressText(), L"192.168.1.20");
    EXPECT_EQ(Parsed(L"10.0.0.0/8").ToText(), L"10.0.0.0");
}

TEST(JuxIpAddress, Ipv6WithScopeAndPort) {
    JUX_IP_ADDRESS a = Parsed(L"fe80::1%3");
    EXPECT_EQ(a.family, JUX_IP_ADDRESS::kFamilyIpv6);
    EXPECT_EQ(a.ScopeId(), 3u);
    EXPECT_TRUE(a.IsLinkLocal());
    EXPECT_EQ(a.AddressLength(), 28u);
    EXPECT_EQ(a.ToText(), L"fe80::1%3");
    a = Parsed(L"[FE80::0001%3]:9100");
    EXPECT_EQ(a.ToText(), L"[fe80::1%3]:9100");
    EXPECT_EQ(a.ToAddressText(), L"fe80::1");
    a = Parsed(L"[2001:db8::5]:161");
    EXPECT_EQ(a.ToText(), L"[2001:db8::5]:161");
    EXPECT_FALSE(a.IsLinkLocal());
    EXPECT_EQ(Parsed(L"fd00::/64").ToText(), L"fd00::");
    EXPECT_EQ(Parsed(L"::ffff:1.2.3.4").family, JUX_IP_ADDRESS::kFamilyIpv6);
}

// The address is handed around as the 28-octet socket address: family, port in network order, then
// the IPv4 octets at offset 4, or the flow information, the IPv6 octets at 8 and the scope at 24.
TEST(JuxIpAddress, KeepsTheSocketAddressLayout) {
    std::uint8_t raw[28];
    JUX_IP_ADDRESS a = Parsed(L"192.168.1.20:161");
    std::memcpy(raw, &a, sizeof raw);
    const std::uint8_t ipv4[] = {2, 0, 0x00, 0xA1, 192, 168, 1, 20, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(raw, ipv4, sizeof ipv4), 0);
    a = Parsed(L"[fe80::1%12]:9100");
    std::memcpy(raw, &a, sizeof raw);
    const std::uint8_t ipv6[] = {23, 0, 0x23, 0x8C, 0, 0, 0, 0, 0xFE, 0x80};
    EXPECT_EQ(std::memcmp(raw, ipv6, sizeof ipv6), 0);
    EXPECT_EQ(raw[23], 1);
    std::uint32_t scope = 0;
    std::memcpy(&scope, raw + 24, 4);
    EXPECT_EQ(scope, 12u);
    EXPECT_EQ(a.ToText(), L"[fe80::1%12]:9100");
    EXPECT_EQ(a.ToAddressText(), L"fe80::1");
}

TEST(JuxIpAddress, UnspecifiedAddresses) {
    EXPECT_TRUE(Parsed(L"0.0.0.0").IsUnspecified());
    EXPECT_EQ(Parsed(L"0.0.0.0").ToText(), L"");
    EXPECT_TRUE(Parsed(L"::").IsUnspecified());
    EXPECT_TRUE(JUX_IP_ADDRESS{}.IsUnspecified());
    EXPECT_EQ(JUX_IP_ADDRESS{}.ToText(), L"");
    EXPECT_FALSE(Parsed(L"127.0.0.1").IsUnspecified());
}

TEST(JuxIpAddress, NamesAndMalformedTextsLeaveTheAddressZeroWithATrace) {
    for (const wchar_t* bad :
         {L"", L"printer.example", L"1.2.3", L"1.2.3.4:65536", L"1.2.3.4:", L"[::1", L"[::1]x",
          L"fe80::1%x", L"1.2.3.4/33", L"::1/129", L"1.2.3.4 ", L"\u00E9::1", L"1.2.3.4:80/8"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(bad)));
        JUX_IP_ADDRESS a = Parsed(L"10.9.8.7:80");
        EXPECT_FALSE(a.Set(bad));
        EXPECT_EQ(a, JUX_IP_ADDRESS{});
        EXPECT_EQ(JuxNetwork::LastIpAddressParseTrace(),
                  std::wstring(L"JUX_IP_ADDRESS::Set() ParseNetworkString failed: ") + bad);
    }
}

}  // namespace
