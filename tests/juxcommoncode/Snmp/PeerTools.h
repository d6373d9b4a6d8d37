#pragma once
// What the tests against real SNMP peers need: finding the tools, running them with a time-out,
// a child process that is always ended, loopback UDP sockets and a pcap writer.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/Snmp/BerCodedData.h"

namespace JuxNetwork::test {

// Full path of an executable found on PATH or in the sbin folders (snmpd lives in /usr/sbin,
// which an ordinary user's PATH may lack); empty when it is not installed.
std::string FindTool(const std::string& name);

struct CommandResult {
    int exitCode = -1;  // -1 when it did not exit by itself
    bool timedOut = false;
    std::string output;  // stdout and stderr together
};
// Runs argv[0] (a full path) and waits at most timeoutMs; a command still running then is killed.
CommandResult RunCommand(const std::vector<std::string>& argv, int timeoutMs);

// A child process started in the background and ended (SIGTERM, then SIGKILL) by the destructor,
// so every exit path of a test stops it. It also dies with the test process.
class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // stdout and stderr go to logPath.
    bool Start(const std::vector<std::string>& argv, const std::string& logPath);
    bool IsRunning();
    // Waits at most timeoutMs for the process to end; its exit code, or -1 when it did not end
    // (it keeps running) or ended by a signal.
    int Wait(int timeoutMs);
    void Stop();
    pid_t Pid() const { return m_pid; }

  private:
    pid_t m_pid = -1;
};

// A UDP socket bound to 127.0.0.1.
class LoopbackUdpSocket {
  public:
    LoopbackUdpSocket();
    ~LoopbackUdpSocket();
    LoopbackUdpSocket(const LoopbackUdpSocket&) = delete;
    LoopbackUdpSocket& operator=(const LoopbackUdpSocket&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    std::uint16_t Port() const { return m_port; }
    bool SendTo(std::uint16_t port, const BerOctets& datagram);
    // Waits at most timeoutMs for one datagram; false on time-out.
    bool Receive(BerOctets& datagram, std::uint16_t& fromPort, int timeoutMs);

  private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
};

// A UDP port on 127.0.0.1 that was free a moment ago.
std::uint16_t FreeUdpPort();

// A fresh folder under the temporary folder, removed with everything in it by the destructor.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
};

// One UDP datagram between two loopback ports, for a pcap file.
struct PcapDatagram {
    std::uint16_t sourcePort;
    std::uint16_t destinationPort;
    BerOctets payload;
};
// Writes a classic pcap file (link type raw IPv4) with one IPv4/UDP frame per datagram.
bool WritePcap(const std::string& path, const std::vector<PcapDatagram>& datagrams);

// When SNMP_CAPTURE_DIR is set, saves the datagram there as name (used to seed the fuzz corpus
// with what real peers send).
void SaveDatagramIfAsked(const std::string& name, const BerOctets& datagram);

}  // namespace JuxNetwork::test
