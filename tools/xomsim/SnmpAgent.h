#pragma once
// The simulated printer's SNMP port (UDP 161) and Wake-on-LAN port (UDP 7). Each listens on the
// printer's address and also where broadcasts reach it: the IPv4 broadcast address of the
// address's interface, or the all-nodes group ff02::1 on the interface of an IPv6 address. An
// answer leaves from the printer's own address for the sender's address and port. Asleep, the
// printer answers nothing until a magic packet for its MAC arrives; answers can come late or be
// dropped. One short line per datagram goes to the log.
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/xomsim/PrinterDescription.h"

namespace xomsim {

struct AgentOptions {
    std::string address;           // IPv4 or IPv6 literal (fe80::2%veth0 for link-local)
    std::uint16_t snmpPort = 161;  // 0: any free port (reported)
    std::uint16_t wolPort = 7;     // 0: any free port (reported)
    bool sleep = false;            // start asleep
    unsigned wakePackets = 1;      // asleep until this many magic packets have come
    unsigned delayMs = 0;          // answer this late
    unsigned dropPercent = 0;      // drop this share of the answers (0-100)
    std::uint32_t seed = 1;        // for the drop decisions, so that runs repeat
};

// True when the datagram is a Wake-on-LAN magic packet for the MAC: six octets FF, then the MAC
// sixteen times (anything after that, such as a password, is ignored).
bool IsMagicPacketFor(const std::uint8_t* data, std::size_t size,
                      const std::vector<std::uint8_t>& mac);

class SnmpAgent {
  public:
    SnmpAgent(AgentOptions options, PrinterDescription printer, std::FILE* out);
    ~SnmpAgent();
    SnmpAgent(const SnmpAgent&) = delete;
    SnmpAgent& operator=(const SnmpAgent&) = delete;

    // Binds both ports; false with a readable error.
    bool Open(std::string& error);
    std::uint16_t snmpPort() const { return m_snmpPort; }
    std::uint16_t wolPort() const { return m_wolPort; }
    // Serves until stop is set (checked at least every 100 ms).
    void Run(const std::atomic<bool>& stop);
    // Set while the printer sleeps; the job port looks at it too.
    const std::atomic<bool>& asleep() const { return m_asleep; }

  private:
    struct PendingAnswer {
        std::chrono::steady_clock::time_point due;
        sockaddr_storage to{};
        socklen_t toLength = 0;
        std::vector<std::uint8_t> datagram;
    };
    void OnSnmpDatagram(int socket);
    void OnWolDatagram(int socket);
    void SendDue(bool all);
    void Log(const std::string& line);

    AgentOptions m_options;
    PrinterDescription m_printer;
    std::FILE* m_out;
    std::vector<int> m_snmpSockets;  // [0] is the printer's own address: answers leave from it
    std::vector<int> m_wolSockets;
    std::uint16_t m_snmpPort = 0;
    std::uint16_t m_wolPort = 0;
    std::atomic<bool> m_asleep{false};
    unsigned m_magicPackets = 0;
    std::uint32_t m_random;  // xorshift state for the drop decisions
    std::vector<PendingAnswer> m_pending;
};

}  // namespace xomsim
