#include "NetworkTestPeers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

TcpListener::TcpListener(const std::string& host, int backlog) {
    const bool ipv6 = host.find(':') != std::string::npos;
    m_socket = socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_storage address{};
    socklen_t length = 0;
    if (ipv6) {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
        v6->sin6_family = AF_INET6;
        inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr);
        length = sizeof *v6;
    } else {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
        v4->sin_family = AF_INET;
        inet_pton(AF_INET, host.c_str(), &v4->sin_addr);
        length = sizeof *v4;
    }
    if (bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(m_socket, backlog) != 0)
        return;
    length = sizeof address;
    getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(ipv6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                        : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

TcpListener::TcpListener(int listeningSocket) : m_socket(listeningSocket) {
    sockaddr_in6 address{};
    socklen_t length = sizeof address;
    getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin6_port);  // the port sits at the same place for both families
}

TcpListener::~TcpListener() {
    if (m_socket >= 0) close(m_socket);
}

int TcpListener::Accept(int timeoutMs) {
    pollfd wait{m_socket, POLLIN, 0};
    if (poll(&wait, 1, timeoutMs) != 1) return -1;
    return accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC);
}

JobReader::JobReader(int connection, std::size_t resetAfter) : m_connection(connection) {
    m_thread = std::thread([this, resetAfter] {
        std::uint8_t chunk[65536];
        for (;;) {
            const ssize_t got = recv(m_connection, chunk, sizeof chunk, 0);
            if (got <= 0) break;
            m_received.insert(m_received.end(), chunk, chunk + got);
            if (resetAfter != 0 && m_received.size() >= resetAfter) {
                linger abort{1, 0};
                setsockopt(m_connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
                break;
            }
        }
        close(m_connection);
    });
}

JobReader::~JobReader() {
    if (m_thread.joinable()) m_thread.join();
}

const std::vector<std::uint8_t>& JobReader::Finish() {
    if (m_thread.joinable()) m_thread.join();
    return m_received;
}

std::vector<ReceivedDatagram> RecordingIoManager::WaitForDatagrams(std::size_t count) {
    std::unique_lock<std::mutex> guard(m_lock);
    m_arrived.wait_for(guard, std::chrono::seconds(10),
                       [&] { return m_datagrams.size() >= count; });
    return m_datagrams;
}

void RecordingIoManager::OnDatagramReceived(JuxNetwork::CSocketContext&, JuxNetwork::CIoContext& io,
                                            std::size_t octets) {
    ReceivedDatagram datagram;
    datagram.octets.resize(octets);
    io.Buffer().StartReadFrom();
    io.Buffer().ReadBytes(datagram.octets.data(), octets);
    datagram.sender = io.m_peerAddress;
    io.SetFree();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_datagrams.push_back(std::move(datagram));
    }
    m_arrived.notify_all();
}

JuxNetwork::CAdapterInterface LoopbackAdapter(const wchar_t* address) {
    JuxNetwork::CAdapterInterface adapter;
    adapter.m_localAddress.Set(address);
    adapter.m_prefixLength = 8;
    adapter.m_interfaceType = JuxNetwork::kInterfaceTypeEthernet;
    JuxNetwork::SetBroadcastAddress(adapter);
    return adapter;
}

std::uint8_t JobOctet(std::size_t i) {
    return static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
}

void FillJob(JuxNetwork::CIoContext& io, std::size_t first, std::size_t count) {
    std::vector<std::uint8_t> octets(count);
    for (std::size_t i = 0; i < count; ++i) octets[i] = JobOctet(first + i);
    io.Buffer().WriteBytes(octets.data(), octets.size());
}
