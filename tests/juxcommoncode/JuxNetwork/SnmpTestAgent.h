#pragma once
// A scripted SNMP agent for the manager's tests: a plain blocking UDP socket on a thread of its
// own, bound to an address and an ephemeral port (or a given one). Each request it receives is
// recorded and passed to the script, which answers as the test needs (on time, late, with another
// id, from another socket, or not at all).
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "juxcommoncode/Snmp/SnmpMessage.h"

class SnmpTestAgent {
  public:
    struct Request {
        std::int32_t id = 0;
        std::wstring community;
        std::vector<std::wstring> names;  // the varbinds' identifiers, in order
        sockaddr_storage from{};
        socklen_t fromLength = 0;
    };
    using Script = std::function<void(SnmpTestAgent& agent, const Request& request)>;

    // host: an IPv4 or IPv6 literal ("0.0.0.0" or "::" listen everywhere); port 0 picks one.
    SnmpTestAgent(const std::string& host, Script script, std::uint16_t port = 0);
    ~SnmpTestAgent();
    SnmpTestAgent(const SnmpTestAgent&) = delete;
    SnmpTestAgent& operator=(const SnmpTestAgent&) = delete;

    std::uint16_t Port() const { return m_port; }
    std::vector<Request> Requests() const;

    // A GetResponse with the id, community "tamsel" and the varbinds (name, octet-string text).
    static std::vector<std::uint8_t> Response(
        std::int32_t id, const std::vector<std::pair<std::wstring, std::wstring>>& varbinds);
    // Sends the octets to where the request came from, from this agent's socket, or from socket.
    void Reply(const Request& to, const std::vector<std::uint8_t>& octets, int socket = -1) const;

  private:
    void Serve();

    Script m_script;
    int m_socket = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_lock;
    std::vector<Request> m_requests;
    std::thread m_thread;
};

// The octets of a message as it goes on the wire.
std::vector<std::uint8_t> Encode(JuxNetwork::CSnmpMessage& message);
