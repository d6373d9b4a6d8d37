#pragma once
// Socket addresses of the simulated printer: parsing its address text (IPv4, IPv6, IPv6 with a
// scope such as fe80::2%veth0) and showing a peer's address with its port.
#include <sys/socket.h>

#include <cstdint>
#include <string>

namespace xomsim {

struct SimEndpoint {
    sockaddr_storage storage{};
    socklen_t length = 0;
};

// "10.0.0.2", "::1", "fe80::2%veth0" or "fe80::2%3" with the given port; false for anything else
// (an unknown interface name among them).
bool ParseSimEndpoint(const std::string& text, std::uint16_t port, SimEndpoint& out);
void SetSimEndpointPort(SimEndpoint& endpoint, std::uint16_t port);
// The local port a socket is bound to; 0 when unknown.
std::uint16_t BoundPort(int socket);
// "10.0.0.1:5000" or "[fe80::1%3]:5000".
std::string EndpointText(const sockaddr_storage& address);

}  // namespace xomsim
