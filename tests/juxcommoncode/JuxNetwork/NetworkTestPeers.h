#pragma once
// Peers for the network tests, written with plain blocking sockets so that they share nothing with
// the code under test: a TCP listener on loopback that reads a job, and a manager that records the
// datagrams its UDP sockets receive.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "juxcommoncode/JuxNetwork/NetIpIoManager.h"

// A listening TCP socket on host (an IPv4 or IPv6 literal) and an ephemeral port.
class TcpListener {
  public:
    explicit TcpListener(const std::string& host = "127.0.0.1", int backlog = 8);
    explicit TcpListener(int listeningSocket);  // takes over a socket made elsewhere
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    std::uint16_t Port() const { return m_port; }
    int Socket() const { return m_socket; }
    // Accepts one connection (waiting at most timeoutMs); -1 when none came.
    int Accept(int timeoutMs = 10000);

  private:
    int m_socket = -1;
    std::uint16_t m_port = 0;
};

// Reads a connection to its end on a thread of its own.
class JobReader {
  public:
    // Reads from connection (owned) until the peer closes; with resetAfter > 0 it resets the
    // connection once that many octets have arrived.
    explicit JobReader(int connection, std::size_t resetAfter = 0);
    ~JobReader();
    // Waits for the end of the connection; the octets received.
    const std::vector<std::uint8_t>& Finish();

  private:
    int m_connection;
    std::vector<std::uint8_t> m_received;
    std::thread m_thread;
};

struct ReceivedDatagram {
    std::vector<std::uint8_t> octets;
    JuxNetwork::JUX_IP_ADDRESS sender;
};

class RecordingIoManager : public JuxNetwork::CNetIpIoManager {
  public:
    explicit RecordingIoManager(JuxNetwork::NetIpIoManagerOptions options = {})
        : CNetIpIoManager(std::move(options)) {}
    ~RecordingIoManager() override { Stop(); }

    // Waits until count datagrams have arrived (at most 10 s); all received so far.
    std::vector<ReceivedDatagram> WaitForDatagrams(std::size_t count);

  protected:
    void OnDatagramReceived(JuxNetwork::CSocketContext& context, JuxNetwork::CIoContext& io,
                            std::size_t octets) override;

  private:
    std::mutex m_lock;
    std::condition_variable m_arrived;
    std::vector<ReceivedDatagram> m_datagrams;
};

// An adapter on a loopback address, for sockets that need one.
JuxNetwork::CAdapterInterface LoopbackAdapter(const wchar_t* address = L"127.0.0.1");
// The octets i of a test job: a pattern that shows reordering and loss.
std::uint8_t JobOctet(std::size_t i);
// Writes count octets of the pattern starting at first into io's buffer.
void FillJob(JuxNetwork::CIoContext& io, std::size_t first, std::size_t count);
