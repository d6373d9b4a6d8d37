#pragma once
// A loopback agent that answers GetRequests from a table of objects, as a printer speaking SNMP
// version 1 does: each varbind asked for comes back with its value, or with Null (and error status
// noSuchName) when the object is unknown. It can fall silent after a number of requests.
#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "../JuxNetwork/SnmpTestAgent.h"

class MibTestAgent {
  public:
    struct Value {
        std::uint8_t tag = 0x04;
        std::int64_t number = 0;
        std::vector<std::uint8_t> octets;
    };
    static Value Integer(std::int32_t v) { return {0x02, v, {}}; }
    static Value Unsigned(std::uint32_t v) { return {0x47, v, {}}; }
    static Value Text(const std::string& utf8) { return {0x04, 0, {utf8.begin(), utf8.end()}}; }
    static Value Octets(std::vector<std::uint8_t> octets) { return {0x04, 0, std::move(octets)}; }
    static Value Null() { return {0x05, 0, {}}; }

    explicit MibTestAgent(std::map<std::wstring, Value> objects);

    std::uint16_t Port() const { return m_agent.Port(); }
    // Answers this many more requests, then none (a printer that stops answering).
    void AnswerOnly(int requests) { m_answersLeft = requests; }
    // Leaves this many requests unanswered first (a printer still asleep).
    void IgnoreFirst(int requests) { m_ignoreLeft = requests; }
    std::size_t RequestCount() const { return m_agent.Requests().size(); }
    std::vector<SnmpTestAgent::Request> Requests() const { return m_agent.Requests(); }

  private:
    void Answer(SnmpTestAgent& agent, const SnmpTestAgent::Request& request);

    std::map<std::wstring, Value> m_objects;
    std::atomic<int> m_answersLeft{1 << 30};
    std::atomic<int> m_ignoreLeft{0};
    SnmpTestAgent m_agent;
};
