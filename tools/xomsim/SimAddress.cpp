#include "tools/xomsim/SimAddress.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>

namespace xomsim {

bool ParseSimEndpoint(const std::string& text, std::uint16_t port, SimEndpoint& out) {
    out = SimEndpoint{};
    auto* v4 = reinterpret_cast<sockaddr_in*>(&out.storage);
    if (inet_pton(AF_INET, text.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(port);
        out.length = sizeof(sockaddr_in);
        return true;
    }
    const auto percent = text.find('%');
    const std::string host = text.substr(0, percent);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&out.storage);
    if (inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) != 1) return false;
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(port);
    out.length = sizeof(sockaddr_in6);
    if (percent != std::string::npos) {
        const std::string scope = text.substr(percent + 1);
        unsigned index = if_nametoindex(scope.c_str());
        if (index == 0 && !scope.empty() && scope.size() < 10 &&
            scope.find_first_not_of("0123456789") == std::string::npos)
            index = static_cast<unsigned>(std::stoul(scope));
        if (index == 0) return false;
        v6->sin6_scope_id = index;
    }
    return true;
}

void SetSimEndpointPort(SimEndpoint& endpoint, std::uint16_t port) {
    if (endpoint.storage.ss_family == AF_INET)
        reinterpret_cast<sockaddr_in*>(&endpoint.storage)->sin_port = htons(port);
    else
        reinterpret_cast<sockaddr_in6*>(&endpoint.storage)->sin6_port = htons(port);
}

std::uint16_t BoundPort(int socket) {
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &length) != 0) return 0;
    return ntohs(bound.ss_family == AF_INET ? reinterpret_cast<sockaddr_in*>(&bound)->sin_port
                                            : reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port);
}

std::string EndpointText(const sockaddr_storage& address) {
    char text[INET6_ADDRSTRLEN] = "?";
    if (address.ss_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
        inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
        return std::string(text) + ":" + std::to_string(ntohs(v4->sin_port));
    }
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
    inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
    std::string scope;
    if (v6->sin6_scope_id != 0) scope = "%" + std::to_string(v6->sin6_scope_id);
    return "[" + std::string(text) + scope + "]:" + std::to_string(ntohs(v6->sin6_port));
}

}  // namespace xomsim
