#pragma once
// Conversions between JUX_IP_ADDRESS and the system's socket addresses (and the socket endpoints
// built on them). The system numbers the families differently (AF_INET6 is not 23 here), so the
// address is always converted, never cast.
#include <sys/socket.h>

#include <cstring>

#include "juxcommoncode/JuxNetwork/JuxIpAddress.h"

namespace JuxNetwork {

// An AF_INET or AF_INET6 socket address; any other family gives the all-zero address.
JUX_IP_ADDRESS FromSockaddr(const sockaddr* address);
// Fills out for an IPv4 or IPv6 address and gives its length; 0 for any other family.
socklen_t ToSockaddr(const JUX_IP_ADDRESS& address, sockaddr_storage& out);

// Endpoint is a socket endpoint type with data(), size() and resize() (TCP or UDP).
template <class Endpoint>
Endpoint ToEndpoint(const JUX_IP_ADDRESS& address) {
    sockaddr_storage storage{};
    const socklen_t length = ToSockaddr(address, storage);
    Endpoint endpoint;
    if (length != 0) {
        std::memcpy(endpoint.data(), &storage, length);
        endpoint.resize(length);
    }
    return endpoint;
}

template <class Endpoint>
JUX_IP_ADDRESS FromEndpoint(const Endpoint& endpoint) {
    return FromSockaddr(endpoint.data());
}

}  // namespace JuxNetwork
