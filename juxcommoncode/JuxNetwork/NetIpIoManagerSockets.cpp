// CNetIpIoManager: creating UDP sockets on adapters and TCP connections to printers.
#include <poll.h>
#include <sys/socket.h>

#include <asio/ip/multicast.hpp>
#include <cerrno>

#include "juxcommoncode/JuxNetwork/NetIpIoManager.h"
#include "juxcommoncode/JuxNetwork/NetworkTrace.h"
#include "juxcommoncode/JuxNetwork/SocketAddress.h"

namespace JuxNetwork {

namespace {

constexpr std::uint32_t kScopeLevelBits = 0xF0000000u;
constexpr std::uint32_t kScopeZoneBits = 0x0FFFFFFFu;

// Connects the socket (blocking mode) within timeout; 0 or the socket error code.
int ConnectWithin(asio::ip::tcp::socket& socket, const asio::ip::tcp::endpoint& endpoint,
                  std::chrono::milliseconds timeout) {
    std::error_code error;
    socket.non_blocking(true, error);
    if (error) return error.value();
    const int fd = socket.native_handle();
    if (::connect(fd, endpoint.data(), static_cast<socklen_t>(endpoint.size())) != 0) {
        if (errno != EINPROGRESS) return errno;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return ETIMEDOUT;
            pollfd wait{fd, POLLOUT, 0};
            const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
            if (ready < 0 && errno == EINTR) continue;
            if (ready < 0) return errno;
            if (ready == 0) return ETIMEDOUT;
            break;
        }
        int result = 0;
        socklen_t length = sizeof result;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &length) != 0) return errno;
        if (result != 0) return result;
    }
    socket.non_blocking(false, error);
    return error ? error.value() : 0;
}

}  // namespace

CSocketContext* CNetIpIoManager::CreateUdpSocket(const CAdapterInterface& adapter, bool broadcast) {
    JUX_IP_ADDRESS local = adapter.m_localAddress;
    local.SetPort(0);
    if (!m_started || local.AddressLength() == 0) return nullptr;
    const bool ipv6 = local.family == JUX_IP_ADDRESS::kFamilyIpv6;
    auto context = std::make_unique<CSocketContext>(this);
    auto socket = std::make_unique<asio::ip::udp::socket>(m_port->Context());
    std::error_code error;
    socket->open(ipv6 ? asio::ip::udp::v6() : asio::ip::udp::v4(), error);
    if (error) {
        TraceSocketError(L"\nCreateUdpSocket() socket for " + local.ToText() + L" failed",
                         error.value());
        return nullptr;
    }
    // The send buffer keeps its system size here: sends are taken from the I/O context's chunks
    // either way, and a smaller one only slows them down.
    if (broadcast) {
        if (!ipv6) {
            socket->set_option(asio::socket_base::broadcast(true), error);
        } else {
            const asio::ip::address_v6 group =
                ToEndpoint<asio::ip::udp::endpoint>(adapter.m_broadcastAddress).address().to_v6();
            socket->set_option(asio::ip::multicast::join_group(group, adapter.m_ipv6InterfaceIndex),
                               error);
            // Datagrams to the group leave by this adapter, not by the system's first one.
            if (!error)
                socket->set_option(
                    asio::ip::multicast::outbound_interface(adapter.m_ipv6InterfaceIndex), error);
        }
        if (error) {
            TraceSocketError(
                L"\nCreateUdpSocket() broadcast option for " + local.ToText() + L" failed",
                error.value());
            return nullptr;
        }
    } else {
        context->m_remoteAddress.Clear();
    }
    socket->bind(ToEndpoint<asio::ip::udp::endpoint>(local), error);
    if (error) {
        TraceSocketError(L"\nCreateUdpSocket() bind to " + local.ToText() + L" failed",
                         error.value());
        return nullptr;
    }
    const asio::ip::udp::endpoint bound = socket->local_endpoint(error);
    context->m_localAddress = error ? JUX_IP_ADDRESS{} : FromEndpoint(bound);
    context->AdoptSocket(std::move(socket));
    CSocketContext* created = context.get();
    AddSocketContext(std::move(context));
    return created;
}

CSocketContext* CNetIpIoManager::ConnectTcp(const JUX_IP_ADDRESS& destination) {
    if (!m_started || destination.IsUnspecified() || destination.AddressLength() == 0)
        return nullptr;
    JUX_IP_ADDRESS target = destination;
    target.SetPort(m_options.printerPort);
    const bool ipv6 = target.family == JUX_IP_ADDRESS::kFamilyIpv6;
    if (ipv6) {
        std::uint32_t scope = target.ScopeId() & kScopeLevelBits;
        if (target.IsLinkLocal()) {
            const CAdapterInterface* adapter = FindAdapterFor(target);
            if (adapter == nullptr) {
                TraceNetwork(L"\nConnectTcp() no adapter for " + target.ToText());
                return nullptr;
            }
            scope |= adapter->m_ipv6InterfaceIndex & kScopeZoneBits;
        }
        target.SetScopeId(scope);
    }
    auto context = std::make_unique<CSocketContext>(this);
    context->SetChunkSizes(CSocketContext::kTcpChunkSize, CSocketContext::kTcpChunkSize);
    auto socket = std::make_unique<asio::ip::tcp::socket>(m_port->Context());
    std::error_code error;
    socket->open(ipv6 ? asio::ip::tcp::v6() : asio::ip::tcp::v4(), error);
    if (error) {
        TraceSocketError(L"\nConnectTcp() socket for " + target.ToText() + L" failed",
                         error.value());
        return nullptr;
    }
    const int result = ConnectWithin(*socket, ToEndpoint<asio::ip::tcp::endpoint>(target),
                                     m_options.connectTimeout);
    if (result != 0) {
        TraceSocketError(L"\nConnectTcp() to " + target.ToText() + L" failed", result);
        return nullptr;
    }
    const asio::ip::tcp::endpoint local = socket->local_endpoint(error);
    context->m_localAddress = error ? JUX_IP_ADDRESS{} : FromEndpoint(local);
    context->m_remoteAddress = target;
    context->AdoptSocket(std::move(socket));
    CSocketContext* created = context.get();
    AddSocketContext(std::move(context));
    return created;
}

}  // namespace JuxNetwork
