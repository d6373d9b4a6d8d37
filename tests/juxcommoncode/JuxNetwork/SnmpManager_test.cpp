#include "juxcommoncode/JuxNetwork/SnmpManager.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <thread>

#include "NetworkNamespaceLan.h"
#include "SnmpTestAgent.h"
#include "juxcommoncode/Snmp/BerTags.h"
#include "tests/support/LoopbackAdapter.h"

namespace {

using JuxNetwork::CSnmpManager;
using JuxNetwork::CSnmpMessage;
using JuxNetwork::CSocketContext;
using JuxNetwork::JUX_IP_ADDRESS;
using std::chrono::milliseconds;

constexpr const wchar_t* kSysName = L"1.3.6.1.2.1.1.5.0";

// The manager's view of a discovery answer, open for the tests.
class TestManager : public CSnmpManager {
  public:
    using CSnmpManager::CSnmpManager;
    using CSnmpManager::ProcessDiscoveryResponse;
};

class SnmpManagerTest : public testing::Test {
  protected:
    // A manager on loopback whose agents listen on the given port.
    std::unique_ptr<TestManager> Manager(std::uint16_t agentPort, int tries = 10,
                                         milliseconds timeout = milliseconds(500)) {
        JuxNetwork::NetIpIoManagerOptions options;
        options.adapterSource = std::make_shared<xomtest::LoopbackAdapterSource>(
            std::vector<std::uint8_t>{0, 0x11, 0x22, 0x33, 0x44, 0x55});
        options.processorCount = 2;
        JuxNetwork::SnmpManagerOptions snmp;
        snmp.agentPort = agentPort;
        snmp.tries = tries;
        snmp.responseTimeout = timeout;
        auto manager = std::make_unique<TestManager>(options, snmp);
        EXPECT_TRUE(manager->Start());
        return manager;
    }
    static std::wstring FirstValue(const CSnmpMessage& response) {
        return response.Varbinds().GetCount() == 0
                   ? L"(none)"
                   : response.Varbinds().GetAt(0).Value().ValueText();
    }
    static JUX_IP_ADDRESS Loopback() {
        JUX_IP_ADDRESS address;
        address.Set(L"127.0.0.1");
        return address;
    }
};

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// Answers every request at once with its own id.
void AnswerName(SnmpTestAgent& agent, const SnmpTestAgent::Request& request) {
    agent.Reply(request, SnmpTestAgent::Response(request.id, {{kSysName, L"plotter-1"}}));
}

TEST_F(SnmpManagerTest, RequestIdsStartAt101AndWrapFrom65534To101) {
    SnmpTestAgent agent("127.0.0.1", AnswerName);
    auto manager = Manager(agent.Port());
    CSocketContext* socket = manager->OpenAgentSocket(Loopback());
    ASSERT_NE(socket, nullptr);
    EXPECT_EQ(socket->m_remoteAddress.Port(), agent.Port());
    CSnmpMessage request, response;
    request.AddVarbind(kSysName);
    ASSERT_EQ(manager->SendRequest(*socket, request, response), JuxNetwork::kS_OK);
    EXPECT_EQ(FirstValue(response), L"plotter-1");
    manager->SetRequestCounter(65533);
    ASSERT_EQ(manager->SendRequest(*socket, request, response), JuxNetwork::kS_OK);
    ASSERT_EQ(manager->SendRequest(*socket, request, response), JuxNetwork::kS_OK);
    const auto seen = agent.Requests();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].id, 101);
    EXPECT_EQ(seen[1].id, 65534);
    EXPECT_EQ(seen[2].id, 101);
}

// Before the real answer: one to an older id, a discovery answer and one from another host's
// socket with the right id. None of them is taken; the discovery answer is merged.
// A printer that answers twice: the second answer arrives while the host closes the socket and
// purges it. A worker still busy with that datagram holds the socket, which outlives it (under
// the sanitizers a purge that deleted it under the worker was a use after free).
TEST_F(SnmpManagerTest, ASocketClosedAndPurgedWhileAnAnswerArrivesOutlivesTheWorker) {
    SnmpTestAgent agent("127.0.0.1", [](SnmpTestAgent& a, const SnmpTestAgent::Request& r) {
        const auto answer = SnmpTestAgent::Response(r.id, {{kSysName, L"twice"}});
        a.Reply(r, answer);
        a.Reply(r, answer);
        a.Reply(r, answer);
    });
    auto manager = Manager(agent.Port());
    for (int i = 0; i < 300; ++i) {
        CSocketContext* socket = manager->OpenAgentSocket(Loopback());
        ASSERT_NE(socket, nullptr);
        CSnmpMessage request, response;
        request.AddVarbind(kSysName);
        ASSERT_EQ(manager->SendRequest(*socket, request, response), JuxNetwork::kS_OK);
        socket->Close();
        manager->PurgeSocketContexts();
    }
    manager->Stop();
}

TEST_F(SnmpManagerTest, OnlyTheAnswerOfTheAgentAskedWithTheCurrentIdIsTaken) {
    const int stranger = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    SnmpTestAgent agent("127.0.0.1", [stranger](SnmpTestAgent& a, const SnmpTestAgent::Request& r) {
        a.Reply(r, SnmpTestAgent::Response(r.id - 1, {{kSysName, L"older"}}));
        a.Reply(r, SnmpTestAgent::Response(10, {{kSysName, L"found"}}));
        a.Reply(r, SnmpTestAgent::Response(r.id, {{kSysName, L"stranger"}}), stranger);
        std::this_thread::sleep_for(milliseconds(150));
        a.Reply(r, SnmpTestAgent::Response(r.id, {{kSysName, L"the agent"}}));
    });
    auto manager = Manager(agent.Port());
    CSocketContext* socket = manager->OpenAgentSocket(Loopback());
    ASSERT_NE(socket, nullptr);
    CSnmpMessage request, response;
    request.AddVarbind(kSysName);
    manager->SetRequestCounter(200);
    ASSERT_EQ(manager->SendRequest(*socket, request, response), JuxNetwork::kS_OK);
    EXPECT_EQ(FirstValue(response), L"the agent");
    EXPECT_EQ(agent.Requests().size(), 1u) << "answered on the first try";
    const auto agents = manager->GetAgents();
    ASSERT_EQ(agents.size(), 1u);
    EXPECT_EQ(agents[0].m_sysName, L"found");
    EXPECT_EQ(agents[0].m_address.ToText(), L"127.0.0.1");
    close(stranger);
}

// The first try's answer comes after its wait: the second try, with the same id, takes it.
TEST_F(SnmpManagerTest, ALateAnswerToTheCurrentIdIsTaken) {
    SnmpTestAgent agent("127.0.0.1", [](SnmpTestAgent& a, const SnmpTestAgent::Request& r) {
        if (a.Requests().size() > 1) return;
        std::this_thread::sleep_for(milliseconds(250));
        a.Reply(r, SnmpTestAgent::Response(r.id, {{kSysName, L"late"}}));
    });
    auto manager = Manager(agent.Port(), 10, milliseconds(150));
    CSocketContext* socket = manager->OpenAgentSocket(Loopback());
    ASSERT_NE(socket, nullptr);
    CSnmpMessage request, response;
    request.AddVarbind(kSysName);
    ASSERT_EQ(manager->SendRequest(*socket, request, response), JuxNetwork::kS_OK);
    EXPECT_EQ(FirstValue(response), L"late");
    std::this_thread::sleep_for(
        milliseconds(100));  // the agent reads the second try after its reply
    const auto seen = agent.Requests();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0].id, seen[1].id) << "a try repeats the request as it was";
}

TEST_F(SnmpManagerTest, ASilentAgentFailsAfterTenTriesOfTheSameRequest) {
    SnmpTestAgent agent("127.0.0.1", [](SnmpTestAgent&, const SnmpTestAgent::Request&) {});
    auto manager = Manager(agent.Port(), 10, milliseconds(50));
    CSocketContext* socket = manager->OpenAgentSocket(Loopback());
    ASSERT_NE(socket, nullptr);
    CSnmpMessage request, response;
    request.AddVarbind(kSysName);
    EXPECT_EQ(manager->SendRequest(*socket, request, response), JuxNetwork::kE_FAIL);
    std::this_thread::sleep_for(milliseconds(100));
    const auto seen = agent.Requests();
    ASSERT_EQ(seen.size(), 10u);
    for (const auto& r : seen) EXPECT_EQ(r.id, 101);
}

// An answer that comes after the last try is held for nobody: it is dropped.
TEST_F(SnmpManagerTest, AnAnswerAfterTheLastTryIsNotHeld) {
    SnmpTestAgent agent("127.0.0.1", [](SnmpTestAgent& a, const SnmpTestAgent::Request& r) {
        if (a.Requests().size() < 3) return;
        std::this_thread::sleep_for(milliseconds(120));
        a.Reply(r, SnmpTestAgent::Response(r.id, {{kSysName, L"too late"}}));
    });
    auto manager = Manager(agent.Port(), 3, milliseconds(40));
    CSocketContext* socket = manager->OpenAgentSocket(Loopback());
    ASSERT_NE(socket, nullptr);
    CSnmpMessage request, response;
    request.AddVarbind(kSysName);
    ASSERT_EQ(manager->SendRequest(*socket, request, response), JuxNetwork::kE_FAIL);
    std::this_thread::sleep_for(milliseconds(300));
    EXPECT_FALSE(socket->GetNoticeEvent().WaitFor(milliseconds(0))) << "no answer handed over";
    socket->FreeIdleIoContexts();
    EXPECT_EQ(socket->GetBusyIoContextCount(), 2u) << "only the two posted receives";
}

// An agent may answer with a datagram of about 10 KB: it arrives whole.
TEST_F(SnmpManagerTest, ALargeAnswerIsReadWhole) {
    SnmpTestAgent agent("127.0.0.1", [](SnmpTestAgent& a, const SnmpTestAgent::Request& r) {
        std::vector<std::pair<std::wstring, std::wstring>> varbinds;
        varbinds.reserve(120);
        for (int i = 0; i < 120; ++i)
            varbinds.emplace_back(L"1.3.6.1.4.1.40713.1.1.3." + std::to_wstring(i + 1),
                                  std::wstring(64, static_cast<wchar_t>(L'a' + i % 26)));
        a.Reply(r, SnmpTestAgent::Response(r.id, varbinds));
    });
    auto manager = Manager(agent.Port());
    CSocketContext* socket = manager->OpenAgentSocket(Loopback());
    ASSERT_NE(socket, nullptr);
    CSnmpMessage request, response;
    request.AddVarbind(kSysName);
    ASSERT_EQ(manager->SendRequest(*socket, request, response), JuxNetwork::kS_OK);
    ASSERT_EQ(response.Varbinds().GetCount(), 120u);
    EXPECT_EQ(response.Varbinds().GetAt(119).Value().ValueText(), std::wstring(64, L'p'));
}

// A buffer that held a longer datagram before: a cut one is not completed by the old bytes, and
// bytes after a message, an empty datagram or one that fills the whole buffer are refused.
TEST_F(SnmpManagerTest, ADatagramIsReadWithinItsOwnLengthAndWhole) {
    const std::vector<std::uint8_t> first =
        SnmpTestAgent::Response(300, {{kSysName, L"first printer name"}});
    const std::vector<std::uint8_t> second =
        SnmpTestAgent::Response(301, {{kSysName, L"other printer name"}});
    ASSERT_EQ(first.size(), second.size());
    ASSERT_GT(first.size(), 47u);
    JuxNetwork::CJuxSerializingBuffer buffer;
    buffer.ReserveForReceive(CSocketContext::kReceiveCapacity);
    // What a receive does: the datagram lands at the start of the blocks.
    std::memcpy(buffer.GetBlockList()[0].buf, first.data(), first.size());
    CSnmpMessage whole;
    EXPECT_TRUE(CSnmpManager::ReadDatagram(buffer, first.size(), whole));
    std::memcpy(buffer.GetBlockList()[0].buf, second.data(), 47);
    CSnmpMessage cut;
    EXPECT_FALSE(CSnmpManager::ReadDatagram(buffer, 47, cut));
    CSnmpMessage longer;
    EXPECT_FALSE(CSnmpManager::ReadDatagram(buffer, first.size() + 3, longer)) << "bytes after it";
    CSnmpMessage empty, full;
    EXPECT_FALSE(CSnmpManager::ReadDatagram(buffer, 0, empty));
    EXPECT_FALSE(CSnmpManager::ReadDatagram(buffer, CSocketContext::kReceiveCapacity, full));
}

TEST_F(SnmpManagerTest, DiscoveryAnswersMergePerHostAndTheListIsBounded) {
    auto manager = Manager(161);
    CSnmpMessage answer;
    answer.SetPduType(JuxNetwork::kBerTagGetResponsePdu);
    answer.SetCommunity(L"public");
    answer.AddVarbind(L"1.3.6.1.2.1.1.1.0")->Value().SetOctetStringText(L"XOM Q1");
    answer.AddVarbind(L"1.3.6.1.2.1.1.6.0")->Value().SetOctetStringText(L"hall 2");
    JUX_IP_ADDRESS sender;
    sender.Set(L"10.1.2.3:161");
    manager->ProcessDiscoveryResponse(answer, sender);
    // The same printer again, from another port, without a location: one record, location kept.
    CSnmpMessage again;
    again.SetPduType(JuxNetwork::kBerTagGetResponsePdu);
    again.AddVarbind(kSysName)->Value().SetOctetStringText(L"q1");
    sender.Set(L"10.1.2.3:5000");
    manager->ProcessDiscoveryResponse(again, sender);
    auto agents = manager->GetAgents();
    ASSERT_EQ(agents.size(), 1u);
    EXPECT_EQ(agents[0].m_address.ToText(), L"10.1.2.3") << "port 0";
    EXPECT_EQ(agents[0].m_sysDescription, L"XOM Q1");
    EXPECT_EQ(agents[0].m_sysName, L"q1");
    EXPECT_EQ(agents[0].m_sysLocation, L"hall 2");
    EXPECT_EQ(agents[0].m_community, L"tamsel");
    // A flood of answers from made-up hosts.
    for (int i = 0; i < 3000; ++i) {
        sender.Set(L"10.9." + std::to_wstring(i / 250) + L"." + std::to_wstring(i % 250 + 1));
        manager->ProcessDiscoveryResponse(answer, sender);
    }
    agents = manager->GetAgents();
    EXPECT_EQ(agents.size(), CSnmpManager::kMaxAgents);
    EXPECT_EQ(agents[0].m_sysName, L"q1") << "the first ones stay";
}

TEST_F(SnmpManagerTest, TheMagicPacketIsSixFfAndTheAddressSixteenTimes) {
    const std::vector<std::uint8_t> packet =
        CSnmpManager::MagicPacket({0x00, 0x11, 0x22, 0x33, 0x44, 0x55});
    ASSERT_EQ(packet.size(), 102u);
    EXPECT_EQ(std::vector<std::uint8_t>(packet.begin(), packet.begin() + 12),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x11, 0x22, 0x33,
                                         0x44, 0x55}));
    EXPECT_EQ(std::vector<std::uint8_t>(packet.end() - 6, packet.end()),
              (std::vector<std::uint8_t>{0x00, 0x11, 0x22, 0x33, 0x44, 0x55}));
    auto manager = Manager(161);
    EXPECT_FALSE(manager->WakePrinter({})) << "no address, nothing sent";
}

// Discovery and wake-up on a private network of namespaces: printers are scripted agents on port
// 161 of their namespace, both families on one socket.
class SnmpDiscoveryOnALan : public testing::Test {
  protected:
    // Starts a printer in each device namespace that answers discovery with its name; a sleeping
    // one answers nothing until a magic packet for its address reaches its port 7.
    void StartPrinters(NetworkNamespaceLan& lan, int count, bool asleep = false) {
        for (int i = 0; i < count; ++i) {
            const std::wstring name = L"printer-" + std::to_wstring(i);
            auto awake = std::make_shared<std::atomic<bool>>(!asleep);
            ASSERT_TRUE(lan.RunInDevice(i, [&] {
                m_agents.push_back(std::make_unique<SnmpTestAgent>(
                    "::",
                    [name, awake](SnmpTestAgent& agent, const SnmpTestAgent::Request& r) {
                        if (!*awake) return;
                        agent.Reply(r, SnmpTestAgent::Response(
                                           r.id, {{L"1.3.6.1.2.1.1.1.0", L"XOM Q simulated"},
                                                  {kSysName, name},
                                                  {L"1.3.6.1.2.1.1.6.0", L"lab"}}));
                    },
                    161));
                if (asleep) m_wakers.push_back(StartWaker(awake));
            }));
            ASSERT_NE(m_agents.back()->Port(), 0) << "port 161 taken";
        }
    }
    ~SnmpDiscoveryOnALan() override {
        m_stop = true;
        for (auto& waker : m_wakers) waker.join();
    }
    // Listens on UDP port 7 for the magic packet of 00-11-22-33-44-55.
    std::thread StartWaker(const std::shared_ptr<std::atomic<bool>>& awake) {
        const int s = socket(AF_INET6, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int off = 0;
        setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
        sockaddr_in6 any{};
        any.sin6_family = AF_INET6;
        any.sin6_port = htons(7);
        EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&any), sizeof any), 0) << "port 7 taken";
        const timeval wait{0, 100000};
        setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        return std::thread([this, s, awake] {
            const std::vector<std::uint8_t> magic =
                CSnmpManager::MagicPacket({0x00, 0x11, 0x22, 0x33, 0x44, 0x55});
            std::vector<std::uint8_t> got(512);
            while (!m_stop) {
                const ssize_t n = recv(s, got.data(), got.size(), 0);
                if (n == static_cast<ssize_t>(magic.size()) &&
                    std::equal(magic.begin(), magic.end(), got.begin()))
                    *awake = true;
            }
            close(s);
        });
    }
    // Discovery from the client namespace; the agents found.
    std::vector<CSnmpAgent> Discover(NetworkNamespaceLan& lan, milliseconds* took = nullptr) {
        std::vector<CSnmpAgent> agents;
        EXPECT_TRUE(lan.RunInClient([&] {
            CSnmpManager manager;
            if (!manager.Start()) return;
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(manager.Discover(), JuxNetwork::kS_OK);
            if (took)
                *took = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
            agents = manager.GetAgents();
        }));
        return agents;
    }
    static std::map<std::wstring, std::wstring> NamesByAddress(
        const std::vector<CSnmpAgent>& agents) {
        std::map<std::wstring, std::wstring> names;
        for (const auto& a : agents) {
            EXPECT_EQ(names.count(a.m_address.ToText()), 0u) << "one record per address";
            names[a.m_address.ToText()] = a.m_sysName;
        }
        return names;
    }
    std::vector<std::unique_ptr<SnmpTestAgent>> m_agents;
    std::vector<std::thread> m_wakers;
    std::atomic<bool> m_stop{false};
};

TEST_F(SnmpDiscoveryOnALan, TwoPrintersOnOneLinkAreTwoAgentsInEachFamily) {
    NetworkNamespaceLan lan(2);
    ASSERT_TRUE(lan.Created()) << lan.Failure();
    StartPrinters(lan, 2);
    milliseconds took{};
    const auto agents = Discover(lan, &took);
    const auto names = NamesByAddress(agents);
    EXPECT_EQ(names.size(), 4u);
    for (int i = 0; i < 2; ++i) {
        const std::wstring ipv4 = Wide(lan.DeviceIpv4(i)), ipv6 = Wide(lan.DeviceIpv6(i));
        EXPECT_EQ(names.count(ipv4) ? names.at(ipv4) : L"(none)", L"printer-" + std::to_wstring(i));
        EXPECT_EQ(names.count(ipv6) ? names.at(ipv6) : L"(none)", L"printer-" + std::to_wstring(i))
            << "a link-local agent is kept without its scope";
    }
    for (const auto& a : agents) {
        EXPECT_EQ(a.m_sysDescription, L"XOM Q simulated");
        EXPECT_EQ(a.m_sysLocation, L"lab");
        EXPECT_EQ(a.m_community, L"tamsel");
    }
    RecordProperty("discovery_ms", static_cast<int>(took.count()));
}

TEST_F(SnmpDiscoveryOnALan, OnePrinterSeenThroughTwoAdaptersIsOneAgent) {
    NetworkNamespaceLan lan(1, 2);
    ASSERT_TRUE(lan.Created()) << lan.Failure();
    StartPrinters(lan, 1);
    milliseconds took{};
    const auto names = NamesByAddress(Discover(lan, &took));
    RecordProperty("discovery_ms", static_cast<int>(took.count()));
    EXPECT_EQ(names.size(), 2u) << "its IPv4 and its IPv6 address";
    EXPECT_GE(m_agents[0]->Requests().size(), 3u) << "asked on both adapters";
}

TEST_F(SnmpDiscoveryOnALan, ASleepingPrinterAnswersOnceWokenUp) {
    NetworkNamespaceLan lan(1);
    ASSERT_TRUE(lan.Created()) << lan.Failure();
    StartPrinters(lan, 1, true);
    ASSERT_TRUE(lan.RunInClient([&] {
        JuxNetwork::SnmpManagerOptions snmp;
        snmp.tries = 2;
        snmp.responseTimeout = milliseconds(100);
        CSnmpManager manager({}, snmp);
        ASSERT_TRUE(manager.Start());
        JUX_IP_ADDRESS printer;
        printer.Set(Wide(lan.DeviceIpv4(0)));
        CSocketContext* socket = manager.OpenAgentSocket(printer);
        ASSERT_NE(socket, nullptr);
        CSnmpMessage request, response;
        request.AddVarbind(kSysName);
        EXPECT_EQ(manager.SendRequest(*socket, request, response), JuxNetwork::kE_FAIL);
        EXPECT_TRUE(manager.WakePrinter({0x00, 0x11, 0x22, 0x33, 0x44, 0x55}));
        std::this_thread::sleep_for(milliseconds(200));
        socket = manager.OpenAgentSocket(printer);
        ASSERT_NE(socket, nullptr);
        EXPECT_EQ(manager.SendRequest(*socket, request, response), JuxNetwork::kS_OK);
        ASSERT_EQ(response.Varbinds().GetCount(), 3u);
        EXPECT_EQ(response.Varbinds().GetAt(1).Value().ValueText(), L"printer-0");
    }));
}

}  // namespace

namespace {

// Twenty printers answering at once are all found in the one window.
TEST_F(SnmpDiscoveryOnALan, TwentyPrintersAreAllFound) {
    NetworkNamespaceLan lan(20);
    ASSERT_TRUE(lan.Created()) << lan.Failure();
    StartPrinters(lan, 20);
    milliseconds took{};
    const auto names = NamesByAddress(Discover(lan, &took));
    EXPECT_EQ(names.size(), 40u);
    EXPECT_EQ(names.count(Wide(lan.DeviceIpv4(19))), 1u);
    RecordProperty("discovery_ms", static_cast<int>(took.count()));
}

}  // namespace
