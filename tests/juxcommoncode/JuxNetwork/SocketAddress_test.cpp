#include "juxcommoncode/JuxNetwork/SocketAddress.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>

namespace {

using JuxNetwork::JUX_IP_ADDRESS;

TEST(SocketAddress, ConvertsBothFamiliesWithPortAndScopeBothWays) {
    for (const wchar_t* text : {L"192.168.1.20:161", L"[fe80::1%12]:9100", L"2001:db8::5"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
        JUX_IP_ADDRESS address;
        ASSERT_TRUE(address.Set(text));
        sockaddr_storage system{};
        const socklen_t length = JuxNetwork::ToSockaddr(address, system);
        EXPECT_EQ(length, address.family == JUX_IP_ADDRESS::kFamilyIpv4 ? sizeof(sockaddr_in)
                                                                        : sizeof(sockaddr_in6));
        EXPECT_EQ(JuxNetwork::FromSockaddr(reinterpret_cast<sockaddr*>(&system)), address);
    }
    JUX_IP_ADDRESS linkLocal;
    ASSERT_TRUE(linkLocal.Set(L"[fe80::1%12]:9100"));
    sockaddr_storage system{};
    JuxNetwork::ToSockaddr(linkLocal, system);
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&system);
    EXPECT_EQ(v6->sin6_family, AF_INET6);
    EXPECT_EQ(ntohs(v6->sin6_port), 9100);
    EXPECT_EQ(v6->sin6_scope_id, 12u);
}

TEST(SocketAddress, OtherFamiliesGiveNothing) {
    sockaddr_storage system{};
    EXPECT_EQ(JuxNetwork::ToSockaddr(JUX_IP_ADDRESS{}, system), 0u);
    system.ss_family = AF_UNIX;
    EXPECT_EQ(JuxNetwork::FromSockaddr(reinterpret_cast<sockaddr*>(&system)), JUX_IP_ADDRESS{});
    EXPECT_EQ(JuxNetwork::FromSockaddr(nullptr), JUX_IP_ADDRESS{});
}

}  // namespace
