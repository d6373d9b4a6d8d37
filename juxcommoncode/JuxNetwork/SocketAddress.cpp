#include "juxcommoncode/JuxNetwork/SocketAddress.h"

#include <netinet/in.h>

namespace JuxNetwork {

JUX_IP_ADDRESS FromSockaddr(const sockaddr* address) {
    JUX_IP_ADDRESS out;
    if (address == nullptr) return out;
    if (address->sa_family == AF_INET) {
        sockaddr_in v4{};
        std::memcpy(&v4, address, sizeof v4);
        out.family = JUX_IP_ADDRESS::kFamilyIpv4;
        out.portNetworkOrder = v4.sin_port;
        std::memcpy(out.Ipv4(), &v4.sin_addr, 4);
    } else if (address->sa_family == AF_INET6) {
        sockaddr_in6 v6{};
        std::memcpy(&v6, address, sizeof v6);
        out.family = JUX_IP_ADDRESS::kFamilyIpv6;
        out.portNetworkOrder = v6.sin6_port;
        std::memcpy(out.body, &v6.sin6_flowinfo, 4);
        std::memcpy(out.Ipv6(), &v6.sin6_addr, 16);
        out.SetScopeId(v6.sin6_scope_id);
    }
    return out;
}

socklen_t ToSockaddr(const JUX_IP_ADDRESS& address, sockaddr_storage& out) {
    out = sockaddr_storage{};
    if (address.family == JUX_IP_ADDRESS::kFamilyIpv4) {
        sockaddr_in v4{};
        v4.sin_family = AF_INET;
        v4.sin_port = address.portNetworkOrder;
        std::memcpy(&v4.sin_addr, address.Ipv4(), 4);
        std::memcpy(&out, &v4, sizeof v4);
        return sizeof v4;
    }
    if (address.family == JUX_IP_ADDRESS::kFamilyIpv6) {
        sockaddr_in6 v6{};
        v6.sin6_family = AF_INET6;
        v6.sin6_port = address.portNetworkOrder;
        std::memcpy(&v6.sin6_flowinfo, address.body, 4);
        std::memcpy(&v6.sin6_addr, address.Ipv6(), 16);
        v6.sin6_scope_id = address.ScopeId();
        std::memcpy(&out, &v6, sizeof v6);
        return sizeof v6;
    }
    return 0;
}

}  // namespace JuxNetwork
