// The SNMP manager's time bounds on loopback: a request to an agent that answers at once, and to a
// printer that never answers (ten tries of 500 ms). The loops' unused "_" is the library's idiom.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "juxcommoncode/JuxNetwork/SnmpManager.h"
#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"
#include "juxcommoncode/Snmp/BerTags.h"
#include "tests/support/LoopbackAdapter.h"

namespace {

using JuxNetwork::CSnmpManager;
using JuxNetwork::CSnmpMessage;

// Loopback, taken for an Ethernet adapter.
// An agent on a loopback port that answers every request with its id, or keeps silent.
class Agent {
  public:
    explicit Agent(bool answers) : m_answers(answers) {
        m_socket = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        if (bind(m_socket, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return;
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&a), &length);
        port = ntohs(a.sin_port);
        const timeval wait{0, 100000};
        setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        m_thread = std::thread([this] { Serve(); });
    }
    ~Agent() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        close(m_socket);
    }
    Agent(const Agent&) = delete;
    Agent& operator=(const Agent&) = delete;
    std::uint16_t port = 0;

  private:
    void Serve() {
        std::vector<std::uint8_t> octets(65536);
        while (!m_stop) {
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const ssize_t got = recvfrom(m_socket, octets.data(), octets.size(), 0,
                                         reinterpret_cast<sockaddr*>(&from), &length);
            if (got <= 0 || !m_answers) continue;
            JuxNetwork::CJuxSerializingBuffer in;
            in.StartWriteTo();
            in.WriteBytes(octets.data(), static_cast<std::size_t>(got));
            CSnmpMessage message;
            if (!CSnmpManager::ReadDatagram(in, static_cast<std::uint64_t>(got), message)) continue;
            message.SetPduType(JuxNetwork::kBerTagGetResponsePdu);
            JuxNetwork::CJuxSerializingBuffer out;
            out.StartWriteTo();
            message.Serialize(out);
            std::vector<std::uint8_t> reply(out.GetDataSize());
            out.StartReadFrom();
            out.ReadBytes(reply.data(), reply.size());
            sendto(m_socket, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from),
                   length);
        }
    }
    bool m_answers;
    int m_socket = -1;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

void Request(benchmark::State& state, bool answers) {
    Agent agent(answers);
    JuxNetwork::NetIpIoManagerOptions options;
    options.adapterSource = std::make_shared<xomtest::LoopbackAdapterSource>();
    JuxNetwork::SnmpManagerOptions snmp;
    snmp.agentPort = agent.port;
    CSnmpManager manager(options, snmp);
    manager.Start();
    JuxNetwork::JUX_IP_ADDRESS address;
    address.Set(L"127.0.0.1");
    JuxNetwork::CSocketContext* socket = manager.OpenAgentSocket(address);
    if (socket == nullptr) {
        state.SkipWithError("no agent socket");
        return;
    }
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        CSnmpMessage request, response;
        request.AddVarbind(L"1.3.6.1.2.1.1.5.0");
        const bool ok = manager.SendRequest(*socket, request, response) == JuxNetwork::kS_OK;
        if (ok != answers) state.SkipWithError("unexpected outcome");
    }
}

void BM_RequestAnswered(benchmark::State& state) {
    Request(state, true);
}
void BM_RequestToASilentPrinter(benchmark::State& state) {
    Request(state, false);
}

BENCHMARK(BM_RequestAnswered)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RequestToASilentPrinter)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
