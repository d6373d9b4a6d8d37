#pragma once
// CSnmpManager: the driver's SNMP version 1 client on top of the I/O manager. Its workers parse
// every datagram its UDP sockets receive. Three services: discovery of the printers on every local
// network (one broadcast or all-nodes request per adapter, answers gathered for a second into the
// agent list); one request/response exchange at a time with a printer (request ids 101-65534, ten
// tries of 500 ms); and the Wake-on-LAN packet for a sleeping printer.
//
// Threads: the host's thread calls Discover(), SendRequest() and WakePrinter(); workers merge
// discovery answers under the agent-list lock and hand a matched response over under the request
// lock, through the socket context's notice (status 3 and the I/O context, set before the event).
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "juxcommoncode/JuxNetwork/NetIpIoManager.h"
#include "juxcommoncode/JuxSerialize/ResultCodes.h"
#include "juxcommoncode/PrinterData/XomMachine.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"

namespace JuxNetwork {

struct SnmpManagerOptions {
    std::chrono::milliseconds responseTimeout{500};
    int tries = 10;
    std::chrono::milliseconds discoveryWindow{1000};
    // The agents' port and the Wake-on-LAN port. Tests point them at peers of their own.
    std::uint16_t agentPort = 161;
    std::uint16_t wakePort = 7;
};

class CSnmpManager : public CNetIpIoManager {
  public:
    static constexpr std::int32_t kDiscoveryRequestId = 10;
    static constexpr std::int32_t kFirstRequestId = 101;
    static constexpr std::int32_t kLastRequestId = 65534;
    // Agents kept at most: a flood of answers to discovery cannot take all memory.
    static constexpr std::size_t kMaxAgents = 1024;

    explicit CSnmpManager(NetIpIoManagerOptions options = {}, SnmpManagerOptions snmp = {});
    ~CSnmpManager() override;

    // Asks every adapter's network who is there and gathers the answers for the discovery
    // window. 0, or kE_FAIL when there is no adapter.
    HRESULT Discover();
    // A copy of the agents found so far (the list is kept for the life of the manager).
    std::vector<CSnmpAgent> GetAgents() const;
    // Keeps the MAC address learnt for the agent at address (ports and scopes are not compared);
    // false when no agent has that address.
    bool SetAgentPhysicalAddress(const JUX_IP_ADDRESS& address, const OctetArray& physicalAddress);

    // A UDP socket of the adapter that reaches address, aimed at its agent port; null when no
    // adapter reaches it or no socket can be made.
    CSocketContext* OpenAgentSocket(const JUX_IP_ADDRESS& address);
    // Sends request (its request id replaced by the next one) to the context's agent and waits
    // for the answer to that id from that agent: 0 with response filled, or kE_FAIL after the
    // last try or on any failure.
    HRESULT SendRequest(CSocketContext& context, CSnmpMessage& request, CSnmpMessage& response);

    // The magic packet for the physical address, to port 7 of every adapter's broadcast address.
    // True when it was sent on at least one adapter.
    bool WakePrinter(const OctetArray& physicalAddress);
    bool SendBroadcastDatagram(const std::uint8_t* octets, std::size_t count);

    void SetCommunity(const std::wstring& community);
    std::wstring GetCommunity() const;
    // The last request id given out (100 before the first request).
    std::int32_t GetRequestCounter() const;
    // Sets the counter, as if that many requests had been sent (for tests of the wrap).
    void SetRequestCounter(std::int32_t counter);

    // Reads the datagram of octets bytes at the start of buffer into message, within those bytes
    // only and every one of them; false for an empty, cut or malformed datagram, or for bytes left
    // after the message.
    static bool ReadDatagram(CJuxSerializingBuffer& buffer, std::uint64_t octets,
                             CSnmpMessage& message);
    // The magic packet: six octets FF, then the physical address sixteen times.
    static std::vector<std::uint8_t> MagicPacket(const OctetArray& physicalAddress);

  protected:
    void OnDatagramReceived(CSocketContext& context, CIoContext& io, std::size_t octets) override;
    // Merges a discovery answer from sender into the agent list.
    void ProcessDiscoveryResponse(const CSnmpMessage& message, const JUX_IP_ADDRESS& sender);

  private:
    // A broadcast socket of the adapter aimed at port of its broadcast address; null when none.
    CSocketContext* OpenBroadcastSocket(const CAdapterInterface& adapter, std::uint16_t port);
    // Sends io's datagram to the context's remote address; on failure traces (naming the caller),
    // frees io and returns false.
    static bool SendDatagramFrom(CSocketContext& context, CIoContext* io, const wchar_t* caller);
    // Takes the next request id and marks it outstanding.
    std::int32_t BeginRequest();
    // True when the answer with id is the one outstanding from the context's agent; it is then no
    // longer outstanding.
    bool TakeAnswer(std::int32_t id, const CSocketContext& context, const JUX_IP_ADDRESS& sender);
    void EndRequest();

    SnmpManagerOptions m_snmp;
    mutable std::mutex m_requestLock;
    std::wstring m_community = L"tamsel";
    std::int32_t m_requestCounter = 100;
    bool m_requestPending = false;
    mutable std::mutex m_agentLock;
    std::vector<std::unique_ptr<CSnmpAgent>> m_agents;
};

}  // namespace JuxNetwork
