// Datagrams built to hurt the parser: impossible lengths, lengths past the end, identifiers that
// never end, binary strings. Each must fail or parse cleanly; ASan builds check the memory side.
#include "juxcommoncode/Snmp/SnmpMessage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "SnmpTestUtil.h"

namespace JuxNetwork {
namespace {

using test::Decode;
using test::Encode;
using test::Hex;

bool Contains(const std::wstring& text, const wchar_t* part) {
    return text.find(part) != std::wstring::npos;
}

TEST(SnmpHostileInput, FourOctetLengthInANineByteDatagram) {
    const BerOctets datagram = Hex("30 07 02 84 DE AD BA BE 00");
    for (const bool limit : {true, false}) {
        CSnmpMessage message;
        const auto read = Decode(message, datagram, 1024, limit);
        EXPECT_EQ(read.result, kBerErrorInvalidArg);
        EXPECT_EQ(read.errorText, L"Error: BER length above 65535 octets for Integer32");
        EXPECT_EQ(read.position, 8u);  // nothing was read (or allocated) for the content
    }
}

TEST(SnmpHostileInput, LengthsPastTheEndOfTheDatagram) {
    const char* datagrams[] = {
        "30 82 01 00 02 01 00",        // message longer than the datagram
        "30 84 00 00 FF FF 02 01 00",  // the same with a four-octet length
        "30 05 02 01 00 04 7F 41",     // community past the end
        "30 03 02 7F 00",              // version past the end
    };
    for (const char* hex : datagrams) {
        CSnmpMessage message;
        const auto read = Decode(message, Hex(hex));
        EXPECT_EQ(read.result, kBerErrorInvalidArg) << hex;
        EXPECT_TRUE(Contains(read.errorText, L"runs past the end")) << hex;
        // Without the datagram's size the buffer's end still stops the read.
        CSnmpMessage unlimited;
        EXPECT_NE(Decode(unlimited, Hex(hex), 1024, false).result, 0) << hex;
    }
}

TEST(SnmpHostileInput, NestedElementsLongerThanWhatEnclosesThem) {
    const struct {
        const char* hex;
        const wchar_t* type;
    } cases[] = {
        // PDU claims 127 octets inside a message of 10.
        {"30 0A 02 01 00 04 00 A2 7F 02 01 01 00 00 00 00", L"GetResponsePDU"},
        // list claims 40 octets inside a PDU of 11.
        {"30 12 02 01 00 04 00 A2 0B 02 01 01 02 01 00 02 01 00 30 28"
         " 30 0A 06 03 2B 06 01 05 00 05 00 05 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
         " 00 00 00 00 00 00 00 00 00 00",
         L"Sequence"},
        // varbind claims more than its list holds.
        {"30 18 02 01 00 04 00 A2 11 02 01 01 02 01 00 02 01 00 30 06 30 20 06 01 2B 05 00 00 00",
         L"Sequence"},
        // a value longer than its varbind.
        {"30 19 02 01 00 04 00 A2 12 02 01 01 02 01 00 02 01 00 30 07 30 05 06 01 2B 04 05 41 41"
         " 41 41",
         L"OctetString"},
    };
    for (const auto& c : cases) {
        CSnmpMessage message;
        const auto read = Decode(message, Hex(c.hex));
        EXPECT_EQ(read.result, kBerErrorInvalidArg) << test::ToHex(Hex(c.hex));
        EXPECT_TRUE(Contains(read.errorText, L"runs past the end")) << read.errorText.size();
        EXPECT_TRUE(Contains(read.errorText, c.type));
    }
}

// One element with a short-form length around its content.
BerOctets Tlv(std::uint8_t tag, const BerOctets& content) {
    BerOctets out{tag, static_cast<std::uint8_t>(content.size())};
    out.insert(out.end(), content.begin(), content.end());
    return out;
}

BerOctets Join(std::initializer_list<BerOctets> parts) {
    BerOctets out;
    for (const BerOctets& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A GetResponse around the given list content, with extra octets after the list (inside the PDU)
// and after the PDU (inside the message).
BerOctets Response(const BerOctets& listContent, const BerOctets& afterList = {},
                   const BerOctets& afterPdu = {}) {
    const BerOctets pdu = Tlv(
        kBerTagGetResponsePdu,
        Join({Hex("02 01 05 02 01 00 02 01 00"), Tlv(kBerTagSequence, listContent), afterList}));
    return Tlv(kBerTagSequence,
               Join({Hex("02 01 00 04 06"), Hex("74 61 6D 73 65 6C"), pdu, afterPdu}));
}

TEST(SnmpHostileInput, VarbindLongerThanItsNameAndValueHidesNoSecondVarbind) {
    const BerOctets hidden = Tlv(kBerTagSequence, Hex("06 03 2B 06 02 02 01 07"));
    const BerOctets outer = Tlv(kBerTagSequence, Join({Hex("06 03 2B 06 01 02 01 05"), hidden}));
    // The well-formed pair parses to two varbinds; the one that swallows the other is refused.
    CSnmpMessage twoVarbinds;
    ASSERT_EQ(Decode(twoVarbinds,
                     Response(Join({Tlv(kBerTagSequence, Hex("06 03 2B 06 01 02 01 05")), hidden})))
                  .result,
              0);
    EXPECT_EQ(twoVarbinds.Varbinds().GetCount(), 2u);
    for (const bool limit : {true, false}) {
        CSnmpMessage message;
        const auto read = Decode(message, Response(outer), 1024, limit);
        EXPECT_EQ(read.result, kBerErrorInvalidArg);
        EXPECT_EQ(read.errorText, L"Error: 10 octets left over at the end of Sequence");
        EXPECT_EQ(message.Varbinds().GetCount(), 0u);
    }
}

TEST(SnmpHostileInput, OctetsLeftOverInsideThePduOrTheMessageAreRefused) {
    const BerOctets list = Tlv(kBerTagSequence, Hex("06 03 2B 06 01 02 01 05"));
    CSnmpMessage clean;
    ASSERT_EQ(Decode(clean, Response(list)).result, 0);
    const struct {
        BerOctets datagram;
        const wchar_t* error;
    } cases[] = {
        {Response(list, Hex("05 00")), L"Error: 2 octets left over at the end of GetResponsePDU"},
        {Response(list, {}, Hex("02 01 09")), L"Error: 3 octets left over at the end of Sequence"},
        {Response(list, Hex("00"), Hex("00")),
         L"Error: 1 octet left over at the end of GetResponsePDU"},
    };
    for (const auto& c : cases) {
        for (const bool limit : {true, false}) {
            CSnmpMessage message;
            const auto read = Decode(message, c.datagram, 16, limit);
            EXPECT_EQ(read.result, kBerErrorInvalidArg) << test::ToHex(c.datagram);
            EXPECT_EQ(read.errorText, c.error) << test::ToHex(c.datagram);
        }
    }
}

TEST(SnmpHostileInput, PduOrMessageLongerThanWhatHoldsItIsRefused) {
    const BerOctets list = Tlv(kBerTagSequence, Hex("06 03 2B 06 01 02 01 05"));
    BerOctets pduTooLong = Response(list);
    pduTooLong[14] = static_cast<std::uint8_t>(pduTooLong[14] + 4);  // the PDU's length octet
    ASSERT_EQ(pduTooLong[13], kBerTagGetResponsePdu);
    pduTooLong.insert(pduTooLong.end(), 4, 0x00);  // ... and octets to cover it past the message
    CSnmpMessage message;
    auto read = Decode(message, pduTooLong);
    EXPECT_EQ(read.result, kBerErrorInvalidArg);
    EXPECT_TRUE(Contains(read.errorText, L"runs past the end")) << read.errorText.size();
    EXPECT_TRUE(Contains(read.errorText, L"GetResponsePDU"));

    // The message claims more than the datagram holds, although the buffer holds more.
    BerOctets messageTooLong = Response(list);
    const std::size_t datagramSize = messageTooLong.size();
    messageTooLong[1] = static_cast<std::uint8_t>(messageTooLong[1] + 2);
    messageTooLong.insert(messageTooLong.end(), {0x05, 0x00});
    CJuxSerializingBuffer buffer;
    buffer.StartWriteTo();
    buffer.WriteBytes(messageTooLong.data(), messageTooLong.size());
    buffer.StartReadFrom();
    CSnmpMessage bounded;
    bounded.SetReadLimit(datagramSize);
    EXPECT_EQ(bounded.Serialize(buffer), kBerErrorInvalidArg);
    EXPECT_TRUE(Contains(buffer.GetErrorText(), L"runs past the end"));
}

TEST(SnmpHostileInput, IdentifierWhoseLastSubIdentifierNeverEnds) {
    CSnmpMessage message;
    message.SetPduType(kBerTagGetResponsePdu);
    message.AddVarbind(L"1.3.6.1")->Value().SetInteger32(5);
    BerOctets datagram = Encode(message);
    // Replace the name 06 03 2B 06 01 by 06 03 2B 86 81: the arc is cut short.
    const BerOctets name = Hex("06 03 2B 06 01");
    auto at = std::search(datagram.begin(), datagram.end(), name.begin(), name.end());
    ASSERT_NE(at, datagram.end());
    at[3] = 0x86;
    at[4] = 0x81;
    CSnmpMessage back;
    ASSERT_EQ(Decode(back, datagram).result, 0);
    EXPECT_EQ(back.Varbinds().GetAt(0).Name().ToText(), L"1.3");
    EXPECT_EQ(back.Varbinds().GetAt(0).Value().ValueText(), L"5");

    // Two hundred continuation octets as a value.
    CSnmpMessage longName;
    longName.SetPduType(kBerTagGetResponsePdu);
    longName.AddVarbind(L"1.3.6.1")->Value().SetOctetString(BerOctets(200, 0xFF));
    longName.Varbinds().GetAt(0).Value().SetTag(kBerTagObjId);
    CSnmpMessage parsed;
    ASSERT_EQ(Decode(parsed, Encode(longName)).result, 0);
    EXPECT_EQ(parsed.Varbinds().GetAt(0).Value().ValueText(), L"");
    EXPECT_FALSE(parsed.ToText().empty());
}

TEST(SnmpHostileInput, OctetStringsWithZerosAndBrokenUtf8) {
    CSnmpMessage message;
    message.SetPduType(kBerTagGetResponsePdu);
    message.AddVarbind(L"1.3.6.1.1")->Value().SetOctetString(Hex("00 00 00 41"));
    message.AddVarbind(L"1.3.6.1.2")->Value().SetOctetString(Hex("C3 28 E2 28 A1 F0 28 8C BC"));
    message.AddVarbind(L"1.3.6.1.3")->Value().SetOctetString(Hex("ED A0 80 00"));
    CSnmpMessage back;
    ASSERT_EQ(Decode(back, Encode(message)).result, 0);
    EXPECT_EQ(back.Varbinds().GetAt(0).ToText(),
              L"1.3.6.1.1  [OctetString]  4 bytes: 00 00 00 41 ");
    EXPECT_EQ(back.Varbinds().GetAt(1).ToText(),
              L"1.3.6.1.2  [OctetString]  9 bytes: c3 28 e2 28 a1 f0 28 8c bc ");
    EXPECT_EQ(back.Varbinds().GetAt(2).ToText(),
              L"1.3.6.1.3  [OctetString]  4 bytes: ed a0 80 00 ");
}

TEST(SnmpHostileInput, EverySingleOctetMutationFailsOrParsesCleanly) {
    CSnmpMessage message;
    message.SetPduType(kBerTagGetResponsePdu);
    message.SetRequestId(4711);
    message.AddVarbind(L"1.3.6.1.2.1.1.5.0")->Value().SetOctetStringText(L"plotter");
    message.AddVarbind(L"1.3.6.1.2.1.1.3.0")->Value().SetUnsigned32(kBerTagTimeTicks, 1234);
    message.AddVarbind(L"1.3.6.1.4.1.40713.9")->Value().SetUnsigned32(kBerTagUInteger32, 9);
    const BerOctets original = Encode(message);
    const std::uint8_t values[] = {0x00, 0x01, 0x05, 0x30, 0x7F, 0x80, 0x81, 0x82, 0x84, 0xFF};
    int parsed = 0;
    for (std::size_t i = 0; i < original.size(); ++i) {
        for (const std::uint8_t value : values) {
            BerOctets mutated = original;
            mutated[i] = value;
            for (const bool limit : {true, false}) {
                CSnmpMessage back;
                const auto read = Decode(back, mutated, 16, limit);
                if (read.result == 0) {
                    ++parsed;
                    EXPECT_LE(read.position, mutated.size());
                    EXPECT_FALSE(back.ToText().empty());
                } else {
                    EXPECT_FALSE(read.errorText.empty()) << i;
                }
            }
        }
    }
    EXPECT_GT(parsed, 0);
}

}  // namespace
}  // namespace JuxNetwork
