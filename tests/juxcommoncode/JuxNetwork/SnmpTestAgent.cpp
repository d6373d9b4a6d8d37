#include "SnmpTestAgent.h"

#include <arpa/inet.h>
#include <unistd.h>

#include "juxcommoncode/JuxNetwork/SnmpManager.h"
#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"
#include "juxcommoncode/Snmp/BerTags.h"

SnmpTestAgent::SnmpTestAgent(const std::string& host, Script script, std::uint16_t port)
    : m_script(std::move(script)) {
    sockaddr_storage address{};
    socklen_t length = 0;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
    if (inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(port);
        length = sizeof *v4;
    } else {
        inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr);
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(port);
        length = sizeof *v6;
    }
    m_socket = socket(address.ss_family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int off = 0, on = 1;
    if (address.ss_family == AF_INET6)
        setsockopt(m_socket, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
    setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) != 0) return;
    getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.ss_family == AF_INET ? v4->sin_port : v6->sin6_port);
    const timeval wait{0, 100000};
    setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    m_thread = std::thread([this] { Serve(); });
}

SnmpTestAgent::~SnmpTestAgent() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_socket >= 0) close(m_socket);
}

std::vector<SnmpTestAgent::Request> SnmpTestAgent::Requests() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_requests;
}

void SnmpTestAgent::Serve() {
    std::vector<std::uint8_t> octets(65536);
    while (!m_stop) {
        Request request;
        request.fromLength = sizeof request.from;
        const ssize_t got =
            recvfrom(m_socket, octets.data(), octets.size(), 0,
                     reinterpret_cast<sockaddr*>(&request.from), &request.fromLength);
        if (got <= 0) continue;
        JuxNetwork::CJuxSerializingBuffer buffer;
        buffer.StartWriteTo();
        buffer.WriteBytes(octets.data(), static_cast<std::size_t>(got));
        JuxNetwork::CSnmpMessage message;
        if (!JuxNetwork::CSnmpManager::ReadDatagram(buffer, static_cast<std::uint64_t>(got),
                                                    message)) {
            continue;
        }
        JuxNetwork::CSnmpMessage::GetIntegerValue(message.Pdu().RequestId(), request.id);
        request.community = message.Community().ValueText();
        for (std::size_t i = 0; i < message.Varbinds().GetCount(); ++i)
            request.names.push_back(message.Varbinds().GetAt(i).Name().ToText());
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_requests.push_back(request);
        }
        m_script(*this, request);
    }
}

std::vector<std::uint8_t> Encode(JuxNetwork::CSnmpMessage& message) {
    JuxNetwork::CJuxSerializingBuffer buffer;
    buffer.StartWriteTo();
    message.Serialize(buffer);
    std::vector<std::uint8_t> octets(buffer.GetDataSize());
    buffer.StartReadFrom();
    buffer.ReadBytes(octets.data(), octets.size());
    return octets;
}

std::vector<std::uint8_t> SnmpTestAgent::Response(
    std::int32_t id, const std::vector<std::pair<std::wstring, std::wstring>>& varbinds) {
    JuxNetwork::CSnmpMessage message;
    message.SetPduType(JuxNetwork::kBerTagGetResponsePdu);
    message.SetRequestId(id);
    for (const auto& [name, value] : varbinds)
        message.AddVarbind(name)->Value().SetOctetStringText(value);
    return Encode(message);
}

void SnmpTestAgent::Reply(const Request& to, const std::vector<std::uint8_t>& octets,
                          int socket) const {
    sendto(socket >= 0 ? socket : m_socket, octets.data(), octets.size(), 0,
           reinterpret_cast<const sockaddr*>(&to.from), to.fromLength);
}
