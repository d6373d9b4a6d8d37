// Our SNMP messages against real peers: net-snmp's snmpget (a manager that sends us a request and
// decodes our response), net-snmp's snmpd (an agent that answers our requests) and Wireshark's
// dissector (tshark) reading the datagrams we encode. CI installs all three; a missing tool skips
// its test with the reason.
#include "juxcommoncode/Snmp/SnmpMessage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "PeerTools.h"
#include "SnmpTestUtil.h"
#include "juxcommoncode/Snmp/BerDataInteger.h"
#include "juxcommoncode/Snmp/BerDataObjIdString.h"
#include "juxcommoncode/Snmp/BerDataOctetString.h"

namespace JuxNetwork {
namespace {

using test::Decode;
using test::Encode;

// Objects of the test agent (the maker's enterprise number is 40713).
const wchar_t kSysDescr[] = L"1.3.6.1.2.1.1.1.0";
const wchar_t kSysName[] = L"1.3.6.1.2.1.1.5.0";
const wchar_t kSysLocation[] = L"1.3.6.1.2.1.1.6.0";
const std::wstring kTestTable = L"1.3.6.1.4.1.40713.1.1.1";
const std::wstring kBinary64 = kTestTable + L".2.0";
const std::wstring kNegative = kTestTable + L".3.0";
const std::wstring kLargeUnsigned = kTestTable + L".4.0";
const std::wstring kMostNegative = kTestTable + L".5.0";
const std::wstring kLargestInteger = kTestTable + L".6.0";
const std::wstring kCounter = kTestTable + L".7.0";
const std::wstring kTicks = kTestTable + L".8.0";
const std::wstring kObjectId = kTestTable + L".9.0";
const wchar_t kPrtInputMediaType[] = L"1.3.6.1.2.1.43.8.2.1.12.1.1";  // an object the agent lacks

BerOctets Binary64() {
    BerOctets octets(64);
    for (std::size_t i = 0; i < octets.size(); ++i) octets[i] = static_cast<std::uint8_t>(i);
    return octets;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::int32_t IntegerOf(const CBerTripleWithData& element) {
    std::int32_t value = 0;
    EXPECT_TRUE(CSnmpMessage::GetIntegerValue(element, value)) << "tag " << int(element.GetTag());
    return value;
}

// Keeps net-snmp's command-line tools away from the user's and the system's persistent folders.
void IsolateNetSnmpTools(const test::TempFolder& folder) {
    setenv("SNMP_PERSISTENT_DIR", folder.Path().c_str(), 1);
    setenv("SNMPCONFPATH", folder.Path().c_str(), 1);
    setenv("MIBS", "", 1);
}

// ---- snmpget as the manager -----------------------------------------------------------------

TEST(SnmpPeers, NetSnmpGetRequestParsesAndItDecodesOurResponse) {
    const std::string snmpget = test::FindTool("snmpget");
    if (snmpget.empty()) GTEST_SKIP() << "snmpget not found (Debian package snmp); cannot test";
    test::TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    IsolateNetSnmpTools(folder);
    test::LoopbackUdpSocket agent;
    ASSERT_TRUE(agent.IsOpen());

    const std::vector<std::wstring> oids = {kSysName,
                                            kNegative,
                                            kLargeUnsigned,
                                            kCounter,
                                            kTicks,
                                            kObjectId,
                                            kBinary64,
                                            kTestTable + L".10.0",
                                            kTestTable + L".11.0"};
    std::vector<std::string> argv = {snmpget,
                                     "-v1",
                                     "-c",
                                     "plot-comm",
                                     "-On",
                                     "-Cf",
                                     "-r",
                                     "0",
                                     "-t",
                                     "10",
                                     "127.0.0.1:" + std::to_string(agent.Port())};
    for (const auto& oid : oids) argv.push_back(Narrow(oid));
    test::ChildProcess manager;
    const std::string log = folder.Path() + "/snmpget.txt";
    ASSERT_TRUE(manager.Start(argv, log));

    BerOctets request;
    std::uint16_t managerPort = 0;
    ASSERT_TRUE(agent.Receive(request, managerPort, 10000))
        << "snmpget sent nothing: " << ReadFile(log);
    test::SaveDatagramIfAsked("snmpget_request.bin", request);
    CSnmpMessage message;
    const auto read = Decode(message, request);
    ASSERT_EQ(read.result, 0) << Narrow(read.errorText) << "\n" << test::ToHex(request);
    EXPECT_EQ(read.position, request.size());
    EXPECT_EQ(IntegerOf(message.Version()), 0);
    EXPECT_EQ(message.Community().ValueText(), L"plot-comm");
    EXPECT_EQ(message.GetPduType(), kBerTagGetRequestPdu);
    EXPECT_EQ(IntegerOf(message.Pdu().ErrorStatus()), 0);
    EXPECT_EQ(IntegerOf(message.Pdu().ErrorIndex()), 0);
    ASSERT_EQ(message.Varbinds().GetCount(), oids.size());
    for (std::size_t i = 0; i < oids.size(); ++i) {
        EXPECT_EQ(message.Varbinds().GetAt(i).Name().ToText(), oids[i]);
        EXPECT_EQ(message.Varbinds().GetAt(i).Value().GetTag(), kBerTagNull);
    }
    // Re-encoding what we parsed gives snmpget's octets back.
    EXPECT_OCTETS(request, Encode(message));

    // Answer with every value type; snmpget matches the answer on the request id we parsed.
    message.SetPduType(kBerTagGetResponsePdu);
    auto& list = message.Varbinds();
    list.GetAt(0).Value().SetOctetStringText(L"plotter-test");
    list.GetAt(1).Value().SetInteger32(-42);
    list.GetAt(2).Value().SetUnsigned32(kBerTagGauge32, 4000000000u);
    list.GetAt(3).Value().SetUnsigned32(kBerTagCounter32, 200);
    list.GetAt(4).Value().SetUnsigned32(kBerTagTimeTicks, 123456);
    list.GetAt(5).Value().SetObjId(L"1.3.6.1.4.1.40713");
    list.GetAt(6).Value().SetOctetString(Binary64());
    list.GetAt(7).Value().SetIpAddress(L"192.168.1.20");
    list.GetAt(8).Value().SetUnsigned32(kBerTagUInteger32, 3000000000u);
    const BerOctets response = Encode(message);
    test::SaveDatagramIfAsked("our_response_to_snmpget.bin", response);
    ASSERT_TRUE(agent.SendTo(managerPort, response));

    EXPECT_EQ(manager.Wait(10000), 0);
    const std::string output = ReadFile(log);
    const std::string prefix = "." + Narrow(kTestTable);
    const char* expected[] = {
        ".1.3.6.1.2.1.1.5.0 = STRING: \"plotter-test\"",
        ".3.0 = INTEGER: -42",
        ".4.0 = Gauge32: 4000000000",
        ".7.0 = Counter32: 200",
        ".8.0 = Timeticks: (123456) 0:20:34.56",
        ".9.0 = OID: .1.3.6.1.4.1.40713",
        ".2.0 = Hex-STRING: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F",
        ".10.0 = IpAddress: 192.168.1.20",
        ".11.0 = 3000000000",  // net-snmp prints UInteger32 without a type label
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const std::string line = i == 0 ? expected[i] : prefix + expected[i];
        EXPECT_NE(output.find(line), std::string::npos) << "missing: " << line << "\nin:\n"
                                                        << output;
    }
}

// ---- snmpd as the agent ---------------------------------------------------------------------

class NetSnmpAgent : public ::testing::Test {
  protected:
    void SetUp() override {
        snmpd_ = test::FindTool("snmpd");
        if (snmpd_.empty()) GTEST_SKIP() << "snmpd not found (Debian package snmpd); cannot test";
        ASSERT_FALSE(folder_.Path().empty());
        port_ = test::FreeUdpPort();
        ASSERT_NE(port_, 0);
        const std::string persistent = folder_.Path() + "/state";
        std::filesystem::create_directory(persistent);
        std::string hex = "0x";
        char pair[3];
        for (const std::uint8_t octet : Binary64()) {
            std::snprintf(pair, sizeof pair, "%02x", octet);
            hex += pair;
        }
        std::ofstream config(folder_.Path() + "/snmpd.conf");
        config << "agentaddress udp:127.0.0.1:" << port_ << "\n"
               << "[snmp] persistentDir " << persistent << "\n"
               << "[snmp] mibs :\n"
               << "rocommunity public 127.0.0.1\n"
               << "rocommunity secret2 127.0.0.1\n"
               << "sysDescr Test plotter model X1 firmware 1.00\n"
               << "sysName plotter-test\n"
               << "sysLocation lab bench 3\n"
               << "override ." << Narrow(kBinary64) << " octet_str " << hex << "\n"
               << "override ." << Narrow(kNegative) << " integer -42\n"
               << "override ." << Narrow(kLargeUnsigned) << " uinteger 4000000000\n"
               << "override ." << Narrow(kMostNegative) << " integer -2147483648\n"
               << "override ." << Narrow(kLargestInteger) << " integer 2147483647\n"
               << "override ." << Narrow(kCounter) << " counter 4294967295\n"
               << "override ." << Narrow(kTicks) << " timeticks 36000000\n"
               << "override ." << Narrow(kObjectId) << " object_id .1.3.6.1.4.1.40713.2.1\n";
        config.close();
        ASSERT_TRUE(agent_.Start({snmpd_, "-C", "-c", folder_.Path() + "/snmpd.conf", "-f", "-Lo",
                                  "-I", "-smux", "-p", folder_.Path() + "/snmpd.pid"},
                                 folder_.Path() + "/snmpd.log"));
        // Ready when it answers; it needs a moment to read its configuration and bind.
        CSnmpMessage probe;
        probe.SetCommunity(L"public");
        probe.SetRequestId(1);
        probe.AddVarbind(kSysName);
        CSnmpMessage answer;
        for (int attempt = 0; attempt < 100 && !ready_; ++attempt) {
            ASSERT_TRUE(agent_.IsRunning()) << "snmpd ended:\n"
                                            << ReadFile(folder_.Path() + "/snmpd.log");
            ready_ = Exchange(probe, answer, 100);
        }
        ASSERT_TRUE(ready_) << "snmpd did not answer within 10 s:\n"
                            << ReadFile(folder_.Path() + "/snmpd.log");
    }
    // agent_ is stopped by its destructor in every exit path, after the folder's files are used.

    // Sends the request and parses the first answer; false on time-out.
    bool Exchange(CSnmpMessage& request, CSnmpMessage& response, int timeoutMs,
                  const char* saveAs = nullptr) {
        const BerOctets datagram = Encode(request);
        if (!socket_.SendTo(port_, datagram)) return false;
        std::int32_t requestId = 0;
        CSnmpMessage::GetIntegerValue(request.Pdu().RequestId(), requestId);
        BerOctets answer;
        // A late answer to an earlier request (the readiness probes) may still be queued: only the
        // answer to this request counts, as a manager matches responses to requests.
        for (;;) {
            std::uint16_t from = 0;
            if (!socket_.Receive(answer, from, timeoutMs)) return false;
            CSnmpMessage peek;
            std::int32_t answerId = 0;
            if (Decode(peek, answer).result == 0 &&
                CSnmpMessage::GetIntegerValue(peek.Pdu().RequestId(), answerId) &&
                answerId != requestId) {
                continue;
            }
            break;
        }
        if (saveAs) {
            test::SaveDatagramIfAsked(std::string(saveAs) + "_request.bin", datagram);
            test::SaveDatagramIfAsked(std::string(saveAs) + "_response.bin", answer);
        }
        const auto read = Decode(response, answer);
        EXPECT_EQ(read.result, 0) << Narrow(read.errorText) << "\n" << test::ToHex(answer);
        EXPECT_EQ(read.position, answer.size());
        return read.result == 0;
    }

    std::string snmpd_;
    test::TempFolder folder_;
    std::uint16_t port_ = 0;
    test::LoopbackUdpSocket socket_;
    test::ChildProcess agent_;
    bool ready_ = false;
};

TEST_F(NetSnmpAgent, AnswersOurGetRequestWithEveryValue) {
    CSnmpMessage request;
    request.SetCommunity(L"public");
    request.SetRequestId(0x12345);
    const std::vector<std::wstring> oids = {
        kSysDescr,     kSysName,        kSysLocation, kBinary64, kNegative, kLargeUnsigned,
        kMostNegative, kLargestInteger, kCounter,     kTicks,    kObjectId};
    for (const auto& oid : oids) request.AddVarbind(oid);
    CSnmpMessage response;
    ASSERT_TRUE(Exchange(request, response, 3000, "snmpd_get"));

    EXPECT_EQ(response.GetPduType(), kBerTagGetResponsePdu);
    EXPECT_EQ(IntegerOf(response.Version()), 0);
    EXPECT_EQ(response.Community().ValueText(), L"public");
    EXPECT_EQ(IntegerOf(response.Pdu().RequestId()), 0x12345);
    EXPECT_EQ(IntegerOf(response.Pdu().ErrorStatus()), 0);
    EXPECT_EQ(IntegerOf(response.Pdu().ErrorIndex()), 0);
    const auto& list = response.Varbinds();
    ASSERT_EQ(list.GetCount(), oids.size()) << Narrow(response.ToText());
    for (std::size_t i = 0; i < oids.size(); ++i) EXPECT_EQ(list.GetAt(i).Name().ToText(), oids[i]);

    auto value = [&](std::size_t i) -> const CBerTripleWithData& { return list.GetAt(i).Value(); };
    EXPECT_EQ(value(0).ValueText(), L"Test plotter model X1 firmware 1.00");
    EXPECT_EQ(value(1).ValueText(), L"plotter-test");
    EXPECT_EQ(value(2).ValueText(), L"lab bench 3");
    EXPECT_EQ(value(3).GetTag(), kBerTagOctetString);
    EXPECT_EQ(value(3).GetData()->GetOctets(), Binary64());
    EXPECT_EQ(IntegerOf(value(4)), -42);
    EXPECT_EQ(value(5).GetTag(), kBerTagGauge32);
    EXPECT_EQ(value(5).GetDataAs<CBerDataUnInteger32>()->GetValue(), 4000000000u);
    EXPECT_EQ(IntegerOf(value(6)), INT32_MIN);
    EXPECT_EQ(IntegerOf(value(7)), INT32_MAX);
    EXPECT_EQ(value(8).GetTag(), kBerTagCounter32);
    EXPECT_EQ(value(8).GetDataAs<CBerDataUnInteger32>()->GetValue(), 4294967295u);
    EXPECT_EQ(value(9).GetTag(), kBerTagTimeTicks);
    EXPECT_EQ(value(9).ValueText(), L"36000000  100:00:00.00");
    EXPECT_EQ(value(10).GetTag(), kBerTagObjId);
    EXPECT_EQ(value(10).ValueText(), L"1.3.6.1.4.1.40713.2.1");
    // The binary string shows as a dump in the trace, the texts as text.
    EXPECT_NE(list.GetAt(3).ToText().find(L"[OctetString]  64 bytes: 00 01 02"),
              std::wstring::npos);
    EXPECT_NE(list.GetAt(1).ToText().find(L"[OctetString]  plotter-test"), std::wstring::npos);
}

TEST_F(NetSnmpAgent, UnknownObjectGivesNoSuchNameWithNullValues) {
    CSnmpMessage request;
    request.SetCommunity(L"secret2");
    request.SetRequestId(77);
    request.AddVarbind(kSysName);
    request.AddVarbind(kPrtInputMediaType);
    request.AddVarbind(kNegative);
    CSnmpMessage response;
    ASSERT_TRUE(Exchange(request, response, 3000, "snmpd_nosuchname"));
    EXPECT_EQ(IntegerOf(response.Pdu().RequestId()), 77);
    EXPECT_EQ(IntegerOf(response.Pdu().ErrorStatus()), 2);  // noSuchName
    EXPECT_EQ(IntegerOf(response.Pdu().ErrorIndex()), 2);   // 1-based
    ASSERT_EQ(response.Varbinds().GetCount(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(response.Varbinds().GetAt(i).Name().ToText(),
                  request.Varbinds().GetAt(i).Name().ToText());
        EXPECT_EQ(response.Varbinds().GetAt(i).Value().GetTag(), kBerTagNull);
        EXPECT_EQ(response.Varbinds().GetAt(i).Value().GetData(), nullptr);
    }
}

TEST_F(NetSnmpAgent, LargeResponseSpansSeveralBufferBlocks) {
    CSnmpMessage request;
    request.SetCommunity(L"public");
    request.SetRequestId(4242);
    for (int i = 0; i < 40; ++i) request.AddVarbind(kBinary64);
    CSnmpMessage response;
    ASSERT_TRUE(Exchange(request, response, 3000));
    ASSERT_EQ(response.Varbinds().GetCount(), 40u);
    EXPECT_GT(response.GetEncodedLength(), 3000u);
    for (std::size_t i = 0; i < 40; ++i) {
        EXPECT_EQ(response.Varbinds().GetAt(i).Value().GetData()->GetOctets(), Binary64());
    }
}

TEST_F(NetSnmpAgent, WrongCommunityGetsNoAnswer) {
    CSnmpMessage request;  // the default community, which this agent does not know
    request.SetRequestId(0x7777);
    request.AddVarbind(kSysName);
    CSnmpMessage response;
    EXPECT_FALSE(Exchange(request, response, 700));
}

// ---- Wireshark's dissector ------------------------------------------------------------------

struct DissectedFrame {
    std::map<std::string, std::string> fields;  // field name -> values joined by ","
};

TEST(SnmpPeers, WiresharkDecodesWhatWeEncode) {
    const std::string tshark = test::FindTool("tshark");
    if (tshark.empty()) GTEST_SKIP() << "tshark not found (Debian package tshark); cannot test";
    test::TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::uint16_t agentPort = 16161;
    const std::uint16_t managerPort = 40000;

    std::vector<CSnmpMessage> messages(5);
    CSnmpMessage& get = messages[0];
    get.SetCommunity(L"public");
    get.SetRequestId(1);
    get.AddVarbind(kSysDescr);
    get.AddVarbind(kSysName);
    CSnmpMessage& next = messages[1];
    next.SetPduType(kBerTagGetNextRequestPdu);
    next.SetRequestId(128);
    next.AddVarbind(L"1.3.6.1.2.1.43.8.2.1");
    CSnmpMessage& set = messages[2];
    set.SetPduType(kBerTagSetRequestPdu);
    set.SetCommunity(L"private");
    set.SetRequestId(70000);
    set.AddVarbind(kSysLocation)->Value().SetOctetStringText(L"lab bench 4");
    set.AddVarbind(kTestTable + L".3.0")->Value().SetInteger32(-42);
    CSnmpMessage& response = messages[3];
    response.SetPduType(kBerTagGetResponsePdu);
    response.SetRequestId(2147483647);
    response.AddVarbind(kSysName)->Value().SetOctetStringText(L"plotter-test");
    response.AddVarbind(kBinary64)->Value().SetOctetString(Binary64());
    response.AddVarbind(kNegative)->Value().SetInteger32(-42);
    response.AddVarbind(kMostNegative)->Value().SetInteger32(INT32_MIN);
    response.AddVarbind(kLargestInteger)->Value().SetInteger32(200);
    response.AddVarbind(kCounter)->Value().SetUnsigned32(kBerTagCounter32, 200);
    response.AddVarbind(kLargeUnsigned)->Value().SetUnsigned32(kBerTagGauge32, 4000000000u);
    response.AddVarbind(kTestTable + L".12.0")->Value().SetUnsigned32(kBerTagUInteger32, 200);
    response.AddVarbind(kTestTable + L".13.0")
        ->Value()
        .SetUnsigned32(kBerTagUInteger32, 3000000000u);
    response.AddVarbind(kTicks)->Value().SetUnsigned32(kBerTagTimeTicks, 123456);
    response.AddVarbind(kObjectId)->Value().SetObjId(L"1.3.6.1.4.1.40713.2.1");
    response.AddVarbind(kTestTable + L".10.0")->Value().SetIpAddress(L"192.168.1.20");
    CSnmpMessage& failure = messages[4];
    failure.SetPduType(kBerTagGetResponsePdu);
    failure.SetRequestId(5);
    failure.Pdu().ErrorStatus().SetInteger32(2);
    failure.Pdu().ErrorIndex().SetInteger32(1);
    failure.AddVarbind(kPrtInputMediaType);

    std::vector<test::PcapDatagram> datagrams;
    for (auto& message : messages) {
        const bool fromAgent = message.GetPduType() == kBerTagGetResponsePdu;
        datagrams.push_back({fromAgent ? agentPort : managerPort,
                             fromAgent ? managerPort : agentPort, Encode(message)});
    }
    const std::string pcap = folder.Path() + "/ours.pcap";
    ASSERT_TRUE(test::WritePcap(pcap, datagrams));
    const std::string decodeAs = "udp.port==" + std::to_string(agentPort) + ",snmp";

    // Every frame is SNMP.
    auto notSnmp = test::RunCommand(
        {tshark, "-r", pcap, "-d", decodeAs, "-Y", "!snmp", "-T", "fields", "-e", "frame.number"},
        30000);
    ASSERT_EQ(notSnmp.exitCode, 0) << notSnmp.output;
    EXPECT_EQ(notSnmp.output.find_first_of("0123456789"), std::string::npos) << notSnmp.output;

    // The decoded fields, frame by frame.
    const std::vector<std::string> names = {
        "snmp.version",         "snmp.community",     "snmp.data",       "snmp.request_id",
        "snmp.error_status",    "snmp.error_index",   "snmp.name",       "snmp.value.octets",
        "snmp.value.int",       "snmp.value.counter", "snmp.value.g32",  "snmp.value.u32",
        "snmp.value.timeticks", "snmp.value.oid",     "snmp.value.ipv4", "snmp.value.null"};
    std::vector<std::string> argv = {tshark, "-r",     pcap, "-d",          decodeAs,
                                     "-T",   "fields", "-E", "aggregator=,"};
    for (const auto& name : names) {
        argv.push_back("-e");
        argv.push_back(name);
    }
    const auto fields = test::RunCommand(argv, 30000);
    ASSERT_EQ(fields.exitCode, 0) << fields.output;
    std::vector<DissectedFrame> frames;
    std::stringstream lines(fields.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find('\t') == std::string::npos) continue;  // tshark's notes, not a frame
        DissectedFrame frame;
        std::stringstream cells(line);
        std::string cell;
        for (std::size_t i = 0; i < names.size() && std::getline(cells, cell, '\t'); ++i) {
            frame.fields[names[i]] = cell;
        }
        frames.push_back(frame);
    }
    ASSERT_EQ(frames.size(), messages.size()) << fields.output;

    for (std::size_t i = 0; i < messages.size(); ++i) {
        auto& f = frames[i].fields;
        const CSnmpMessage& m = messages[i];
        SCOPED_TRACE("frame " + std::to_string(i + 1));
        EXPECT_EQ(f["snmp.version"], "0");
        EXPECT_EQ(f["snmp.community"], Narrow(m.Community().ValueText()));
        EXPECT_EQ(f["snmp.data"], std::to_string(m.GetPduType() - kBerTagGetRequestPdu));
        EXPECT_EQ(f["snmp.request_id"], Narrow(m.Pdu().RequestId().ValueText()));
        EXPECT_EQ(f["snmp.error_status"], Narrow(m.Pdu().ErrorStatus().ValueText()));
        EXPECT_EQ(f["snmp.error_index"], Narrow(m.Pdu().ErrorIndex().ValueText()));
        std::string oids;
        for (std::size_t k = 0; k < m.Varbinds().GetCount(); ++k) {
            oids += (k ? "," : "") + Narrow(m.Varbinds().GetAt(k).Name().ToText());
        }
        EXPECT_EQ(f["snmp.name"], oids);
    }
    auto& r = frames[3].fields;
    EXPECT_EQ(
        r["snmp.value.octets"],
        "706c6f747465722d74657374,000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d"
        "1e1f202122232425262728292a2b2c2d2e2f303132333435363738393a3b3c3d3e3f");
    EXPECT_EQ(r["snmp.value.int"], "-42,-2147483648,200");
    EXPECT_EQ(r["snmp.value.counter"], "200");
    EXPECT_EQ(r["snmp.value.g32"], "4000000000");
    EXPECT_EQ(r["snmp.value.u32"], "200,3000000000");
    EXPECT_EQ(r["snmp.value.timeticks"], "123456");
    EXPECT_EQ(r["snmp.value.oid"], "1.3.6.1.4.1.40713.2.1");
    EXPECT_EQ(r["snmp.value.ipv4"], "192.168.1.20");
    EXPECT_EQ(frames[2].fields["snmp.value.int"], "-42");
    EXPECT_EQ(frames[2].fields["snmp.value.octets"], "6c61622062656e63682034");
    EXPECT_FALSE(frames[0].fields["snmp.value.null"].empty());
    EXPECT_FALSE(frames[4].fields["snmp.value.null"].empty());

    // No expert information at all: no warnings, no malformed fields.
    const auto detail = test::RunCommand({tshark, "-r", pcap, "-d", decodeAs, "-V"}, 30000);
    ASSERT_EQ(detail.exitCode, 0) << detail.output;
    EXPECT_NE(detail.output.find("Value (Unsigned32): 3000000000"), std::string::npos);
    std::stringstream detailLines(detail.output);
    while (std::getline(detailLines, line)) {
        EXPECT_EQ(line.find("Expert Info"), std::string::npos) << line;
        EXPECT_EQ(line.find("Malformed"), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace JuxNetwork
