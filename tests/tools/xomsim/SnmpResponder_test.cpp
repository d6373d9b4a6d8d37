#include "tools/xomsim/SnmpResponder.h"

#include <gtest/gtest.h>

#include "SnmpTestMessages.h"

namespace xomsim {
namespace {

using JuxNetwork::CSnmpMessage;
using test::EncodeRequest;
using test::IntegerOf;
using test::ParseAnswer;

PrinterDescription Printer() {
    PrinterDescription printer;
    std::string error;
    EXPECT_TRUE(
        ParsePrinterDescription("description XOM Q1\nname q1\nlocation bench\n"
                                "mac 00-11-22-33-44-55\ncommunity secret\n"
                                "object 1.3.6.1.4.1.9.1 integer -42\n"
                                "object 1.3.6.1.4.1.9.2 gauge 4000000000\n",
                                "t", printer, error))
        << error;
    return printer;
}

SnmpReply Ask(const PrinterDescription& printer, const std::vector<std::uint8_t>& request) {
    return AnswerSnmpRequest(printer, request.data(), request.size());
}

TEST(SnmpResponder, GetAnswersEachValueWithIdAndCommunity) {
    const auto reply =
        Ask(Printer(), EncodeRequest(0xA0, 70000, L"secret",
                                     {L"1.3.6.1.2.1.1.5.0", L"1.3.6.1.4.1.9.1", L"1.3.6.1.4.1.9.2",
                                      L"1.3.6.1.2.1.2.2.1.6.1"}));
    ASSERT_TRUE(reply.answer) << reply.note;
    EXPECT_EQ(reply.note, "GetRequest id 70000, 4 object(s): answered");
    CSnmpMessage answer;
    ASSERT_TRUE(ParseAnswer(reply.datagram, answer));
    EXPECT_EQ(answer.GetPduType(), 0xA2);
    EXPECT_EQ(IntegerOf(answer.Pdu().RequestId()), 70000);
    EXPECT_EQ(answer.Community().ValueText(), L"secret");
    EXPECT_EQ(IntegerOf(answer.Pdu().ErrorStatus()), 0);
    ASSERT_EQ(answer.Varbinds().GetCount(), 4u);
    EXPECT_EQ(answer.Varbinds().GetAt(0).Name().ToText(), L"1.3.6.1.2.1.1.5.0");
    EXPECT_EQ(answer.Varbinds().GetAt(0).Value().ValueText(), L"q1");
    EXPECT_EQ(IntegerOf(answer.Varbinds().GetAt(1).Value()), -42);
    EXPECT_EQ(answer.Varbinds().GetAt(2).Value().GetTag(), JuxNetwork::kBerTagGauge32);
    EXPECT_EQ(answer.Varbinds().GetAt(2).Value().ValueText(), L"4000000000");
    EXPECT_EQ(answer.Varbinds().GetAt(3).Value().GetData()->GetOctets(),
              (std::vector<std::uint8_t>{0x00, 0x11, 0x22, 0x33, 0x44, 0x55}));
}

TEST(SnmpResponder, MissingObjectGivesNoSuchNameWithEveryVarbindNull) {
    for (const std::uint8_t type : {std::uint8_t{0xA0}, std::uint8_t{0xA3}}) {
        const auto reply =
            Ask(Printer(),
                EncodeRequest(type, 5, L"secret",
                              {L"1.3.6.1.2.1.1.5.0", L"1.3.6.1.2.1.1.7.0", L"1.3.6.1.2.1.1.1.0"}));
        ASSERT_TRUE(reply.answer);
        CSnmpMessage answer;
        ASSERT_TRUE(ParseAnswer(reply.datagram, answer));
        EXPECT_EQ(IntegerOf(answer.Pdu().ErrorStatus()), 2);
        // A SetRequest is refused at its first object: the agent is read-only.
        EXPECT_EQ(IntegerOf(answer.Pdu().ErrorIndex()), type == 0xA0 ? 2 : 1);
        ASSERT_EQ(answer.Varbinds().GetCount(), 3u);
        EXPECT_EQ(answer.Varbinds().GetAt(1).Name().ToText(), L"1.3.6.1.2.1.1.7.0");
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(answer.Varbinds().GetAt(i).Value().GetTag(), JuxNetwork::kBerTagNull);
        }
    }
}

TEST(SnmpResponder, GetNextWalksTheObjectsInOrderAndEndsWithNoSuchName) {
    const PrinterDescription printer = Printer();
    std::wstring name = L"1.3";
    std::vector<std::wstring> walked;
    for (int i = 0; i < 20; ++i) {
        const auto reply = Ask(printer, EncodeRequest(0xA1, 100 + i, L"secret", {name}));
        ASSERT_TRUE(reply.answer);
        CSnmpMessage answer;
        ASSERT_TRUE(ParseAnswer(reply.datagram, answer));
        if (IntegerOf(answer.Pdu().ErrorStatus()) != 0) {
            EXPECT_EQ(IntegerOf(answer.Pdu().ErrorStatus()), 2);
            EXPECT_EQ(answer.Varbinds().GetAt(0).Name().ToText(), name);
            break;
        }
        name = answer.Varbinds().GetAt(0).Name().ToText();
        walked.push_back(name);
    }
    EXPECT_EQ(walked, (std::vector<std::wstring>{L"1.3.6.1.2.1.1.1.0", L"1.3.6.1.2.1.1.5.0",
                                                 L"1.3.6.1.2.1.1.6.0", L"1.3.6.1.2.1.2.2.1.6.1",
                                                 L"1.3.6.1.4.1.9.1", L"1.3.6.1.4.1.9.2"}));
}

TEST(SnmpResponder, SilentForWrongCommunityOtherVersionsAndBrokenDatagrams) {
    const PrinterDescription printer = Printer();
    auto reply = Ask(printer, EncodeRequest(0xA0, 9, L"tamsel", {L"1.3.6.1.2.1.1.5.0"}));
    EXPECT_FALSE(reply.answer);
    EXPECT_EQ(reply.note, "GetRequest id 9, 1 object(s): ignored (wrong community)");

    std::vector<std::uint8_t> v2c = EncodeRequest(0xA0, 9, L"secret", {L"1.3.6.1.2.1.1.5.0"});
    ASSERT_EQ(v2c[4], 0x00);  // 30 len 02 01 <version>
    v2c[4] = 0x01;
    reply = Ask(printer, v2c);
    EXPECT_FALSE(reply.answer);
    EXPECT_EQ(reply.note, "GetRequest id 9, 1 object(s): ignored (SNMP version 2)");

    reply = Ask(printer, EncodeRequest(0xA2, 9, L"secret", {L"1.3.6.1.2.1.1.5.0"}));
    EXPECT_FALSE(reply.answer);

    std::vector<std::uint8_t> cut = EncodeRequest(0xA0, 9, L"secret", {L"1.3.6.1.2.1.1.5.0"});
    cut.resize(cut.size() - 3);
    reply = Ask(printer, cut);
    EXPECT_FALSE(reply.answer);
    EXPECT_EQ(reply.note.rfind("not an SNMP message (", 0), 0u) << reply.note;
}

}  // namespace
}  // namespace xomsim
