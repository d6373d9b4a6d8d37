#include "tools/xomsim/SnmpAgent.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <regex>
#include <thread>

#include "Common/XomJob/JobTicket.h"
#include "SnmpTestMessages.h"
#include "juxcommoncode/JuxNetwork/AdapterSource.h"
#include "juxcommoncode/JuxNetwork/SnmpManager.h"
#include "juxcommoncode/PrinterData/PrinterData.h"
#include "support/StreamText.h"
#include "tests/support/LoopbackAdapter.h"
#include "tools/xomsim/TicketTokens.h"

namespace xomsim {
namespace {

using Clock = std::chrono::steady_clock;
using JuxNetwork::CSnmpMessage;
using test::EncodeRequest;
using test::IntegerOf;
using test::ParseAnswer;

const std::vector<std::uint8_t> kMac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x01};

PrinterDescription Printer() {
    PrinterDescription printer;
    std::string error;
    EXPECT_TRUE(
        ParsePrinterDescription("description XOM Q1\nname q1\n"
                                "mac 00-1A-2B-3C-4D-01\n",
                                "t", printer, error))
        << error;
    return printer;
}

// An agent on 127.0.0.1 with free ports, served by a thread, logging to a temporary file.
class RunningAgent {
  public:
    explicit RunningAgent(AgentOptions options, PrinterDescription printer = Printer()) {
        options.address = "127.0.0.1";
        options.snmpPort = 0;
        options.wolPort = 0;
        m_log = std::tmpfile();
        m_agent = std::make_unique<SnmpAgent>(options, std::move(printer), m_log);
        std::string error;
        EXPECT_TRUE(m_agent->Open(error)) << error;
        m_thread = std::thread([this] { m_agent->Run(m_stop); });
    }
    ~RunningAgent() {
        m_stop = true;
        m_thread.join();
        std::fclose(m_log);
    }
    std::uint16_t snmpPort() const { return m_agent->snmpPort(); }
    std::uint16_t wolPort() const { return m_agent->wolPort(); }
    bool asleep() const { return m_agent->asleep().load(); }
    std::string log() const { return xomtest::TextSoFar(m_log); }

  private:
    std::FILE* m_log;
    std::unique_ptr<SnmpAgent> m_agent;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// A plain UDP socket of the test on loopback.
class Client {
  public:
    Client() : m_socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
    ~Client() { ::close(m_socket); }
    void Send(std::uint16_t port, const std::vector<std::uint8_t>& datagram) const {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::sendto(m_socket, datagram.data(), datagram.size(), 0,
                           reinterpret_cast<const sockaddr*>(&to), sizeof to),
                  static_cast<ssize_t>(datagram.size()));
    }
    // The next datagram within the time, or nothing.
    bool Receive(int timeoutMs, std::vector<std::uint8_t>& datagram) const {
        pollfd p{m_socket, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return false;
        datagram.resize(65535);
        const ssize_t n = ::recv(m_socket, datagram.data(), datagram.size(), 0);
        if (n < 0) return false;
        datagram.resize(static_cast<std::size_t>(n));
        return true;
    }

  private:
    int m_socket;
};

std::vector<std::uint8_t> NameRequest(std::int32_t id, const std::wstring& community = L"tamsel") {
    return EncodeRequest(0xA0, id, community, {L"1.3.6.1.2.1.1.5.0"});
}

std::vector<std::uint8_t> MagicPacket(const std::vector<std::uint8_t>& mac) {
    std::vector<std::uint8_t> packet(6, 0xFF);
    for (int i = 0; i < 16; ++i) packet.insert(packet.end(), mac.begin(), mac.end());
    return packet;
}

TEST(SnmpAgent, AnswersTheSenderWithTheValuesOverUdp) {
    RunningAgent agent({});
    Client client;
    client.Send(agent.snmpPort(),
                EncodeRequest(0xA0, 4711, L"tamsel", {L"1.3.6.1.2.1.1.1.0", L"1.3.6.1.2.1.1.8.0"}));
    client.Send(agent.snmpPort(), NameRequest(4712));
    std::vector<std::uint8_t> datagram;
    ASSERT_TRUE(client.Receive(2000, datagram));
    CSnmpMessage missing;
    ASSERT_TRUE(ParseAnswer(datagram, missing));
    EXPECT_EQ(IntegerOf(missing.Pdu().RequestId()), 4711);
    EXPECT_EQ(IntegerOf(missing.Pdu().ErrorStatus()), 2);
    EXPECT_EQ(IntegerOf(missing.Pdu().ErrorIndex()), 2);
    ASSERT_TRUE(client.Receive(2000, datagram));
    CSnmpMessage answer;
    ASSERT_TRUE(ParseAnswer(datagram, answer));
    EXPECT_EQ(IntegerOf(answer.Pdu().RequestId()), 4712);
    EXPECT_EQ(answer.Varbinds().GetAt(0).Value().ValueText(), L"q1");
    const std::string log = agent.log();
    EXPECT_NE(log.find("GetRequest id 4711, 2 object(s): noSuchName (index 2)"), std::string::npos)
        << log;
    EXPECT_NE(log.find("GetRequest id 4712, 1 object(s): answered"), std::string::npos) << log;
}

TEST(SnmpAgent, WrongCommunityGetsNoAnswer) {
    RunningAgent agent({});
    Client client;
    client.Send(agent.snmpPort(), NameRequest(1, L"public"));
    client.Send(agent.snmpPort(), NameRequest(2));
    std::vector<std::uint8_t> datagram;
    ASSERT_TRUE(client.Receive(2000, datagram));
    CSnmpMessage answer;
    ASSERT_TRUE(ParseAnswer(datagram, answer));
    EXPECT_EQ(IntegerOf(answer.Pdu().RequestId()), 2);  // the first one was never answered
    EXPECT_FALSE(client.Receive(200, datagram));
    EXPECT_NE(agent.log().find("ignored (wrong community)"), std::string::npos);
}

TEST(SnmpAgent, SleepsUntilAMagicPacketForItsMac) {
    AgentOptions options;
    options.sleep = true;
    RunningAgent agent(options);
    Client client;
    std::vector<std::uint8_t> datagram;
    client.Send(agent.snmpPort(), NameRequest(1));
    EXPECT_FALSE(client.Receive(300, datagram));
    // Another printer's magic packet and a packet that only looks like one leave it asleep.
    client.Send(agent.wolPort(), MagicPacket({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x02}));
    std::vector<std::uint8_t> shortPacket = MagicPacket(kMac);
    shortPacket.pop_back();
    client.Send(agent.wolPort(), shortPacket);
    client.Send(agent.snmpPort(), NameRequest(2));
    EXPECT_FALSE(client.Receive(300, datagram));
    EXPECT_TRUE(agent.asleep());

    client.Send(agent.wolPort(), MagicPacket(kMac));
    const auto until = Clock::now() + std::chrono::seconds(2);
    while (agent.asleep() && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(agent.asleep());
    client.Send(agent.snmpPort(), NameRequest(3));
    ASSERT_TRUE(client.Receive(2000, datagram));
    CSnmpMessage answer;
    ASSERT_TRUE(ParseAnswer(datagram, answer));
    EXPECT_EQ(IntegerOf(answer.Pdu().RequestId()), 3);
    const std::string log = agent.log();
    EXPECT_NE(log.find("ignored (asleep)"), std::string::npos) << log;
    EXPECT_NE(log.find("not a magic packet for this printer: ignored"), std::string::npos) << log;
    EXPECT_NE(log.find("magic packet, awake"), std::string::npos) << log;
}

TEST(SnmpAgent, DelayedAnswersComeLateAndInOrder) {
    AgentOptions options;
    options.delayMs = 300;
    RunningAgent agent(options);
    Client client;
    const auto sent = Clock::now();
    client.Send(agent.snmpPort(), NameRequest(1));
    client.Send(agent.snmpPort(), NameRequest(2));
    std::vector<std::uint8_t> datagram;
    // Nothing within the first 150 ms; both within the next seconds.
    EXPECT_FALSE(client.Receive(150, datagram));
    for (const std::int32_t id : {1, 2}) {
        ASSERT_TRUE(client.Receive(3000, datagram));
        CSnmpMessage answer;
        ASSERT_TRUE(ParseAnswer(datagram, answer));
        EXPECT_EQ(IntegerOf(answer.Pdu().RequestId()), id);
    }
    EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(300));
    EXPECT_NE(agent.log().find("answered, sent after 300 ms"), std::string::npos);
}

// Which of 40 requests are answered with the given drop share and seed.
std::vector<std::int32_t> AnsweredIds(unsigned percent, std::uint32_t seed) {
    AgentOptions options;
    options.dropPercent = percent;
    options.seed = seed;
    RunningAgent agent(options);
    Client client;
    std::vector<std::int32_t> answered;
    const auto take = [&](int timeoutMs) {
        std::vector<std::uint8_t> datagram;
        while (client.Receive(timeoutMs, datagram)) {
            CSnmpMessage answer;
            EXPECT_TRUE(ParseAnswer(datagram, answer));
            answered.push_back(IntegerOf(answer.Pdu().RequestId()));
        }
    };
    for (std::int32_t id = 1; id <= 40; ++id) {
        client.Send(agent.snmpPort(), NameRequest(id));
        // The agent logs each request before it sends the answer.
        const auto until = Clock::now() + std::chrono::seconds(10);
        while (agent.log().find("id " + std::to_string(id) + ",") == std::string::npos &&
               Clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        take(0);
    }
    // Every request logged (a loaded machine may lag), then the last answers taken.
    const auto lines = [&] {
        const std::string text = agent.log();
        return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    };
    for (const auto until = Clock::now() + std::chrono::seconds(10);
         lines() < 40 && Clock::now() < until;)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    take(300);
    std::sort(answered.begin(), answered.end());
    const std::string log = agent.log();
    EXPECT_EQ(static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n')), 40u) << log;
    return answered;
}

TEST(SnmpAgent, DropsAShareOfAnswersTheSameWayForTheSameSeed) {
    const auto first = AnsweredIds(50, 7);
    EXPECT_GT(first.size(), 5u);
    EXPECT_LT(first.size(), 35u);
    EXPECT_EQ(AnsweredIds(50, 7), first);
    EXPECT_NE(AnsweredIds(50, 8), first);
    EXPECT_TRUE(AnsweredIds(100, 7).empty());
    EXPECT_EQ(AnsweredIds(0, 7).size(), 40u);
}

TEST(SnmpAgent, MagicPacketMatchesSixFfAndSixteenCopies) {
    std::vector<std::uint8_t> packet = MagicPacket(kMac);
    ASSERT_EQ(packet.size(), 102u);
    EXPECT_TRUE(IsMagicPacketFor(packet.data(), packet.size(), kMac));
    packet.insert(packet.end(), 6, 0x11);  // a SecureOn password after it
    EXPECT_TRUE(IsMagicPacketFor(packet.data(), packet.size(), kMac));
    packet[3] = 0xFE;
    EXPECT_FALSE(IsMagicPacketFor(packet.data(), packet.size(), kMac));
    packet = MagicPacket(kMac);
    packet[101] ^= 1;
    EXPECT_FALSE(IsMagicPacketFor(packet.data(), packet.size(), kMac));
    EXPECT_FALSE(IsMagicPacketFor(packet.data(), packet.size(), {}));
}

// The driver's own reader of the printer data takes the whole Q Series example as it is served:
// every table row complete, the salts and stored hashes as the description made them; and the
// simulator finds the tokens of the driver's own job ticket valid.
TEST(SnmpAgent, TheDriverReadsTheQSeriesExampleWholeAndItsTicketTokensPass) {
    PrinterDescription printer;
    std::string error;
    ASSERT_TRUE(LoadPrinterDescription(std::string(XOM_TEST_EXAMPLES) + "/printer-q-series.txt",
                                       printer, error))
        << error;
    const PrinterModel model = printer.model;
    RunningAgent agent({}, printer);
    JuxNetwork::NetIpIoManagerOptions options;
    options.adapterSource = std::make_shared<xomtest::LoopbackAdapterSource>();
    options.processorCount = 2;
    JuxNetwork::SnmpManagerOptions snmp;
    snmp.agentPort = agent.snmpPort();
    snmp.responseTimeout = std::chrono::milliseconds(1000);
    JuxNetwork::CSnmpManager manager(options, snmp);
    ASSERT_TRUE(manager.Start());
    JuxNetwork::JUX_IP_ADDRESS address;
    address.Set(L"127.0.0.1");
    JuxNetwork::CSocketContext* context = manager.OpenAgentSocket(address);
    ASSERT_NE(context, nullptr);
    CXomPrinterData data;
    const auto result = data.ReadFromPrinter(manager, *context);
    manager.Stop();
    ASSERT_EQ(result, 0) << agent.log();

    EXPECT_EQ(data.m_sysName, L"q4-reprographics");
    EXPECT_EQ(data.m_processColorants, 4);
    EXPECT_TRUE(data.m_roleBasedAccessControl);
    EXPECT_EQ(data.m_anonymousColorAllowed, 0);
    EXPECT_EQ(data.m_userAccounting.m_sessionSalt, model.sessionSalt);
    EXPECT_EQ(data.m_userAccounting.m_userAccess, 4);
    EXPECT_EQ(data.m_userAccounting.m_userNamePrompt, L"User name");
    ASSERT_EQ(data.m_users.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(data.m_users[i].m_clientAuthToken, model.users[i].storedHash) << i;
        EXPECT_EQ(data.m_users[i].m_clientAuthSalt, model.users[i].verifySalt) << i;
        EXPECT_EQ(data.m_users[i].m_serverAuthSalt, model.users[i].tokenSalt) << i;
    }
    EXPECT_EQ(data.m_users[1].m_name, L"bob");
    EXPECT_EQ(data.m_users[1].m_colorAllowed, 0);
    ASSERT_EQ(data.m_accountingInformation.size(), 2u);
    EXPECT_EQ(data.m_accountingInformation[0].m_access, 4);
    EXPECT_EQ(data.m_accountingInformation[1].m_prompt, L"Cost centre");
    ASSERT_EQ(data.m_accountingChildren1.size(), 3u);
    EXPECT_EQ(data.m_accountingChildren1[2].m_name, L"P-2040 Bridge");
    EXPECT_EQ(data.m_accountingChildren1[0].m_clientAuthToken,
              model.accountingFields[0].values[0].storedHash);
    EXPECT_EQ(data.m_accountingChildren2.size(), 2u);
    ASSERT_EQ(data.m_media.size(), 12u);
    EXPECT_EQ(data.m_media[0].m_id64, 281474976710657u);
    EXPECT_EQ(data.m_media[0].m_name, L"Plain paper 80 g");
    ASSERT_EQ(data.m_inputTrays.size(), 3u);
    EXPECT_EQ(data.m_inputTrays[1].m_units, 3);
    EXPECT_EQ(data.m_inputTrays[2].m_name, L"Sheet tray");
    EXPECT_EQ(data.m_printQualityPresets.size(), 4u);
    EXPECT_EQ(data.m_hpglPresets.size(), 3u);
    EXPECT_EQ(data.m_folderPresets.size(), 3u);
    EXPECT_EQ(data.m_stamps.size(), 4u);
    ASSERT_EQ(data.m_exitTrayLocations.size(), 3u);
    EXPECT_EQ(data.m_exitTrayLocations[2].m_value, 4);

    // The driver's ticket for that printer carries tokens the printer finds valid; a wrong
    // password gives a token it refuses. (Field 2 is a plain choice: no token is sent for it.)
    DriverSettings settings;
    settings.UserName = L"alice";
    settings.UserValidPassword = L"plotter1";
    settings.AcctInfo0Name = L"P-1001";
    settings.AcctInfo0ValidPassword = L"alpha";
    settings.AcctInfo1Name = L"CC-100";
    JobTicketInputs inputs;
    inputs.settings = &settings;
    inputs.printerData = &data;
    std::string ticket;
    ASSERT_TRUE(WriteJobTicket(inputs, ticket));
    EXPECT_EQ(CheckTicketTokens(model, ReadTicketCredentials(ticket)),
              "user alice valid, AccountingInfo 1 P-1001 valid, AccountingInfo 2 CC-100 no token");
    settings.UserValidPassword = L"plotter2";
    ASSERT_TRUE(WriteJobTicket(inputs, ticket));
    EXPECT_EQ(
        CheckTicketTokens(model, ReadTicketCredentials(ticket)),
        "user alice invalid, AccountingInfo 1 P-1001 valid, AccountingInfo 2 CC-100 no token");
}

// The xomsim program with the example printer on loopback, its SNMP port read from its first
// line.
class XomsimProcess {
  public:
    XomsimProcess() {
        m_jobs = std::filesystem::temp_directory_path() /
                 ("xomsim_snmp_test_" + std::to_string(getpid()));
        int out[2];
        EXPECT_EQ(::pipe(out), 0);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], 1);
            ::close(out[0]);
            ::close(out[1]);
            const std::string examples = std::string(XOM_TEST_EXAMPLES) + "/printer-q1.txt";
            ::execl(XOM_TEST_XOMSIM, XOM_TEST_XOMSIM, "--address", "127.0.0.1", "--port", "0",
                    "--jobs", m_jobs.c_str(), "--printer", examples.c_str(), "--snmp-port", "0",
                    "--wol-port", "0", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        m_out = ::fdopen(out[0], "r");
        char line[512];
        if (m_out && std::fgets(line, sizeof line, m_out)) {
            std::cmatch match;
            if (std::regex_search(line, match, std::regex("answering SNMP on UDP port ([0-9]+)")))
                port = static_cast<std::uint16_t>(std::stoi(match[1]));
        }
    }
    ~XomsimProcess() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out) std::fclose(m_out);
        std::error_code ec;
        std::filesystem::remove_all(m_jobs, ec);
    }
    std::uint16_t port = 0;

  private:
    std::filesystem::path m_jobs;
    pid_t m_pid = -1;
    std::FILE* m_out = nullptr;
};

std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return output;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) output += buf;
    pclose(p);
    return output;
}

// net-snmp's own client (Debian package snmp, installed by scripts/install-deps.sh) asks the
// simulator as it would ask a printer.
TEST(SnmpAgent, NetSnmpClientReadsTheExamplePrinter) {
    XomsimProcess xomsim;
    ASSERT_NE(xomsim.port, 0) << "xomsim reported no SNMP port";
    const std::string target = "127.0.0.1:" + std::to_string(xomsim.port);
    std::string out = RunCommand("snmpget -v1 -c tamsel -On -t 2 -r 1 " + target +
                                 " 1.3.6.1.2.1.1.5.0 1.3.6.1.2.1.1.1.0 1.3.6.1.2.1.2.2.1.6.1"
                                 " 1.3.6.1.4.1.40713.1.1.1.4.0");
    EXPECT_NE(out.find(".1.3.6.1.2.1.1.5.0 = STRING: \"q1-plotroom\""), std::string::npos) << out;
    EXPECT_NE(out.find(".1.3.6.1.2.1.1.1.0 = STRING: \"XOM Q Series Q1"), std::string::npos) << out;
    EXPECT_NE(out.find(".1.3.6.1.2.1.2.2.1.6.1 = Hex-STRING: 00 1A 2B 3C 4D 01"), std::string::npos)
        << out;
    EXPECT_NE(out.find(".1.3.6.1.4.1.40713.1.1.1.4.0 = Gauge32: 4000000000"), std::string::npos)
        << out;

    out = RunCommand("snmpget -v1 -c tamsel -On -Cf -t 2 -r 1 " + target +
                     " 1.3.6.1.2.1.1.5.0 1.3.6.1.2.1.1.7.0");
    EXPECT_NE(out.find("(noSuchName)"), std::string::npos) << out;
    EXPECT_NE(out.find("Failed object: .1.3.6.1.2.1.1.7.0"), std::string::npos) << out;

    out = RunCommand("snmpget -v1 -c public -On -t 0.3 -r 0 " + target + " 1.3.6.1.2.1.1.5.0");
    EXPECT_NE(out.find("Timeout: No Response"), std::string::npos) << out;

    out = RunCommand("snmpwalk -v1 -c tamsel -On -t 2 -r 1 " + target + " 1.3.6.1.2.1.1");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3)
        << out;  // sysDescr, sysName, sysLocation
}

// Runs work on a thread that has entered the named network namespace; false when it cannot.
bool RunInNamespace(const std::string& name, const std::function<void()>& work) {
    bool entered = false;
    std::thread thread([&] {
        const int fd = ::open(("/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return;
        entered = ::setns(fd, CLONE_NEWNET) == 0;
        ::close(fd);
        if (entered) work();
    });
    thread.join();
    return entered;
}

// Each answer to one request within a second: sender address and the sysName it gave.
std::vector<std::string> AskEveryone(int family, const std::string& group, const char* scope) {
    std::vector<std::string> answers;
    const int s = ::socket(family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(s, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    sockaddr_storage to{};
    socklen_t length = 0;
    if (family == AF_INET) {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&to);
        v4->sin_family = AF_INET;
        v4->sin_port = htons(161);
        inet_pton(AF_INET, group.c_str(), &v4->sin_addr);
        length = sizeof *v4;
    } else {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&to);
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(161);
        inet_pton(AF_INET6, group.c_str(), &v6->sin6_addr);
        v6->sin6_scope_id = if_nametoindex(scope);
        length = sizeof *v6;
    }
    const auto request = NameRequest(10);
    EXPECT_EQ(
        ::sendto(s, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&to), length),
        static_cast<ssize_t>(request.size()))
        << std::strerror(errno);
    const auto until = Clock::now() + std::chrono::seconds(1);
    while (Clock::now() < until) {
        pollfd p{s, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        std::vector<std::uint8_t> datagram(65535);
        sockaddr_storage from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = ::recvfrom(s, datagram.data(), datagram.size(), 0,
                                     reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n <= 0) continue;
        datagram.resize(static_cast<std::size_t>(n));
        CSnmpMessage answer;
        if (!ParseAnswer(datagram, answer) || answer.Varbinds().GetCount() != 1) continue;
        char text[INET6_ADDRSTRLEN] = "?";
        inet_ntop(
            family,
            family == AF_INET
                ? static_cast<const void*>(&reinterpret_cast<sockaddr_in*>(&from)->sin_addr)
                : static_cast<const void*>(&reinterpret_cast<sockaddr_in6*>(&from)->sin6_addr),
            text, sizeof text);
        const std::wstring name = answer.Varbinds().GetAt(0).Value().ValueText();
        answers.push_back(std::string(text) + " " + std::string(name.begin(), name.end()));
    }
    ::close(s);
    std::sort(answers.begin(), answers.end());
    return answers;
}

// The namespace network of scripts/netns-printers.sh under names of this test's own.
class PrinterNetwork {
  public:
    PrinterNetwork()
        : prefix("xt" + std::to_string(getpid() % 100000)),
          m_state(std::filesystem::temp_directory_path() / (prefix + "-netns")) {
        up = Script("up") == 0;
    }
    ~PrinterNetwork() {
        Script("down");
        std::error_code ec;
        std::filesystem::remove_all(m_state, ec);
    }
    int Script(const char* action) {
        const std::string command = "XOMSIM=" + std::string(XOM_TEST_XOMSIM) +
                                    " XOMSIM_NETNS_PREFIX=" + prefix +
                                    " XOMSIM_NETNS_STATE=" + m_state.string() + " " +
                                    XOM_TEST_SCRIPTS + "/netns-printers.sh " + action + " 2>&1";
        output.clear();
        FILE* p = popen(command.c_str(), "r");
        if (!p) return -1;
        char buf[512];
        while (std::fgets(buf, sizeof buf, p)) output += buf;
        const int status = pclose(p);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string prefix;
    bool up = false;
    std::string output;

  private:
    std::filesystem::path m_state;
};

TEST(SnmpAgent, BroadcastAndAllNodesRequestsReachEachPrinterInItsNamespace) {
    PrinterNetwork network;
    ASSERT_TRUE(network.up) << network.output;
    std::vector<std::string> v4, v6;
    ASSERT_TRUE(RunInNamespace(network.prefix + "cli", [&] {
        v4 = AskEveryone(AF_INET, "10.200.0.255", nullptr);
        v6 = AskEveryone(AF_INET6, "ff02::1", "eth0");
    }));
    EXPECT_EQ(
        v4, (std::vector<std::string>{"10.200.0.11 q1-plotroom", "10.200.0.12 q2-drawing-office"}));
    EXPECT_EQ(v6, (std::vector<std::string>{"fe80::11 q1-plotroom", "fe80::12 q2-drawing-office"}));
    EXPECT_EQ(network.Script("down"), 0);
    EXPECT_FALSE(std::filesystem::exists("/run/netns/" + network.prefix + "cli"));
    EXPECT_EQ(network.Script("down"), 0);  // again: nothing left to do, still fine
}

}  // namespace
}  // namespace xomsim
