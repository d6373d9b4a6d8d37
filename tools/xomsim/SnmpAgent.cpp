#include "tools/xomsim/SnmpAgent.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "tools/xomsim/SimAddress.h"
#include "tools/xomsim/SnmpResponder.h"

namespace xomsim {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPollMs = 100;
constexpr std::size_t kMaxDatagram = 65535;

// The address where broadcasts to the printer's network arrive: the broadcast address of the
// IPv4 address's interface, or ff02::1 scoped to the IPv6 address's interface. False when there
// is none (loopback has no broadcast).
bool BroadcastSimEndpointFor(const SimEndpoint& own, SimEndpoint& out) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    bool found = false;
    for (ifaddrs* entry = list; entry && !found; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != own.storage.ss_family) continue;
        if (own.storage.ss_family == AF_INET) {
            const auto* mine = reinterpret_cast<const sockaddr_in*>(&own.storage);
            const auto* theirs = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            if (mine->sin_addr.s_addr != theirs->sin_addr.s_addr) continue;
            if (!(entry->ifa_flags & IFF_BROADCAST) || !entry->ifa_broadaddr) break;
            out = SimEndpoint{};
            std::memcpy(&out.storage, entry->ifa_broadaddr, sizeof(sockaddr_in));
            out.length = sizeof(sockaddr_in);
            found = true;
        } else {
            const auto* mine = reinterpret_cast<const sockaddr_in6*>(&own.storage);
            const auto* theirs = reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr);
            if (std::memcmp(&mine->sin6_addr, &theirs->sin6_addr, sizeof mine->sin6_addr) != 0)
                continue;
            if (!(entry->ifa_flags & IFF_MULTICAST) || (entry->ifa_flags & IFF_LOOPBACK)) break;
            out = SimEndpoint{};
            auto* group = reinterpret_cast<sockaddr_in6*>(&out.storage);
            group->sin6_family = AF_INET6;
            inet_pton(AF_INET6, "ff02::1", &group->sin6_addr);
            group->sin6_scope_id = if_nametoindex(entry->ifa_name);
            out.length = sizeof(sockaddr_in6);
            found = group->sin6_scope_id != 0;
        }
    }
    freeifaddrs(list);
    return found;
}

int BindUdp(const SimEndpoint& endpoint, std::string& error) {
    const int s = ::socket(endpoint.storage.ss_family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    const int on = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (endpoint.storage.ss_family == AF_INET6)
        ::setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
    if (::bind(s, reinterpret_cast<const sockaddr*>(&endpoint.storage), endpoint.length) != 0) {
        error = "cannot bind UDP " + EndpointText(endpoint.storage) + ": " + std::strerror(errno);
        ::close(s);
        return -1;
    }
    return s;
}

// The printer's own socket on the port, and one where broadcasts to its network arrive.
bool OpenPort(const SimEndpoint& own, std::uint16_t port, std::vector<int>& sockets,
              std::uint16_t& bound, std::string& error) {
    SimEndpoint unicast = own;
    SetSimEndpointPort(unicast, port);
    const int s = BindUdp(unicast, error);
    if (s < 0) return false;
    sockets.push_back(s);
    bound = BoundPort(s);
    SimEndpoint broadcast;
    if (!BroadcastSimEndpointFor(own, broadcast)) return true;
    SetSimEndpointPort(broadcast, bound);
    const int b = BindUdp(broadcast, error);
    if (b < 0) return false;
    if (broadcast.storage.ss_family == AF_INET6) {
        // The interface is in the all-nodes group anyway; joining says what this socket wants.
        ipv6_mreq join{};
        const auto* group = reinterpret_cast<const sockaddr_in6*>(&broadcast.storage);
        join.ipv6mr_multiaddr = group->sin6_addr;
        join.ipv6mr_interface = group->sin6_scope_id;
        ::setsockopt(b, IPPROTO_IPV6, IPV6_JOIN_GROUP, &join, sizeof join);
    }
    sockets.push_back(b);
    return true;
}

}  // namespace

bool IsMagicPacketFor(const std::uint8_t* data, std::size_t size,
                      const std::vector<std::uint8_t>& mac) {
    if (mac.empty() || size < 6 + 16 * mac.size()) return false;
    for (std::size_t i = 0; i < 6; ++i) {
        if (data[i] != 0xFF) return false;
    }
    for (std::size_t copy = 0; copy < 16; ++copy) {
        if (!std::equal(mac.begin(), mac.end(), data + 6 + copy * mac.size())) return false;
    }
    return true;
}

SnmpAgent::SnmpAgent(AgentOptions options, PrinterDescription printer, std::FILE* out)
    : m_options(std::move(options)),
      m_printer(std::move(printer)),
      m_out(out),
      m_random(m_options.seed == 0 ? 0x9E3779B9u : m_options.seed) {
    m_asleep.store(m_options.sleep);
}

SnmpAgent::~SnmpAgent() {
    for (const int s : m_snmpSockets) ::close(s);
    for (const int s : m_wolSockets) ::close(s);
}

bool SnmpAgent::Open(std::string& error) {
    SimEndpoint own;
    if (!ParseSimEndpoint(m_options.address, 0, own)) {
        error = "'" + m_options.address + "' is not an IPv4 or IPv6 address";
        return false;
    }
    return OpenPort(own, m_options.snmpPort, m_snmpSockets, m_snmpPort, error) &&
           OpenPort(own, m_options.wolPort, m_wolSockets, m_wolPort, error);
}

void SnmpAgent::Run(const std::atomic<bool>& stop) {
    std::vector<pollfd> polls;
    for (const int s : m_snmpSockets) polls.push_back({s, POLLIN, 0});
    for (const int s : m_wolSockets) polls.push_back({s, POLLIN, 0});
    while (!stop.load()) {
        int timeout = kPollMs;
        if (!m_pending.empty()) {
            const auto next = std::min_element(
                m_pending.begin(), m_pending.end(),
                [](const PendingAnswer& a, const PendingAnswer& b) { return a.due < b.due; });
            const auto wait =
                std::chrono::duration_cast<std::chrono::milliseconds>(next->due - Clock::now());
            timeout = static_cast<int>(std::clamp<long long>(wait.count(), 0, kPollMs));
        }
        if (::poll(polls.data(), polls.size(), timeout) > 0) {
            for (std::size_t i = 0; i < polls.size(); ++i) {
                if (!(polls[i].revents & POLLIN)) continue;
                if (i < m_snmpSockets.size())
                    OnSnmpDatagram(polls[i].fd);
                else
                    OnWolDatagram(polls[i].fd);
            }
        }
        SendDue(false);
    }
}

void SnmpAgent::OnSnmpDatagram(int socket) {
    std::vector<std::uint8_t> datagram(kMaxDatagram);
    sockaddr_storage from{};
    socklen_t fromLength = sizeof from;
    const ssize_t n = ::recvfrom(socket, datagram.data(), datagram.size(), 0,
                                 reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (n < 0) return;
    const std::string who = "snmp from " + EndpointText(from) + ": ";
    if (m_asleep.load()) {
        Log(who + std::to_string(n) + " octets: ignored (asleep)");
        return;
    }
    SnmpReply reply = AnswerSnmpRequest(m_printer, datagram.data(), static_cast<std::size_t>(n));
    if (!reply.answer) {
        Log(who + reply.note);
        return;
    }
    // xorshift32: the same seed drops the same answers.
    m_random ^= m_random << 13;
    m_random ^= m_random >> 17;
    m_random ^= m_random << 5;
    if (m_options.dropPercent > 0 && m_random % 100 < m_options.dropPercent) {
        Log(who + reply.note + ", answer dropped");
        return;
    }
    PendingAnswer answer;
    answer.due = Clock::now() + std::chrono::milliseconds(m_options.delayMs);
    answer.to = from;
    answer.toLength = fromLength;
    answer.datagram = std::move(reply.datagram);
    m_pending.push_back(std::move(answer));
    if (m_options.delayMs > 0)
        Log(who + reply.note + ", sent after " + std::to_string(m_options.delayMs) + " ms");
    else
        Log(who + reply.note);
    SendDue(false);
}

void SnmpAgent::SendDue(bool all) {
    const Clock::time_point now = Clock::now();
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (!all && it->due > now) {
            ++it;
            continue;
        }
        // Always from the printer's own address, also for a request that came by broadcast.
        ::sendto(m_snmpSockets.front(), it->datagram.data(), it->datagram.size(), 0,
                 reinterpret_cast<const sockaddr*>(&it->to), it->toLength);
        it = m_pending.erase(it);
    }
}

void SnmpAgent::OnWolDatagram(int socket) {
    std::uint8_t datagram[1500];
    sockaddr_storage from{};
    socklen_t fromLength = sizeof from;
    const ssize_t n = ::recvfrom(socket, datagram, sizeof datagram, 0,
                                 reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (n < 0) return;
    const std::string who = "wake-on-lan from " + EndpointText(from) + ": ";
    if (!IsMagicPacketFor(datagram, static_cast<std::size_t>(n), m_printer.mac)) {
        Log(who + std::to_string(n) + " octets, not a magic packet for this printer: ignored");
        return;
    }
    ++m_magicPackets;
    if (m_asleep.load() && m_magicPackets < m_options.wakePackets) {
        Log(who + "magic packet " + std::to_string(m_magicPackets) + ", still waking");
        return;
    }
    const bool wasAsleep = m_asleep.exchange(false);
    Log(who + (wasAsleep ? "magic packet, awake" : "magic packet, already awake"));
}

void SnmpAgent::Log(const std::string& line) {
    std::fprintf(m_out, "xomsim: %s\n", line.c_str());
    std::fflush(m_out);
}

}  // namespace xomsim
