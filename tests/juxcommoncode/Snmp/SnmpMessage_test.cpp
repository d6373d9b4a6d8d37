// SNMP messages: golden requests, lengths, round trips of responses with every value type, the
// structural errors and the developer text forms.
#include "juxcommoncode/Snmp/SnmpMessage.h"

#include <gtest/gtest.h>

#include "SnmpTestUtil.h"
#include "juxcommoncode/Snmp/BerDataInteger.h"
#include "juxcommoncode/Snmp/BerDataOctetString.h"

namespace JuxNetwork {
namespace {

using test::Decode;
using test::Encode;
using test::Hex;

const wchar_t kSysName[] = L"1.3.6.1.2.1.1.5.0";

TEST(SnmpMessage, DefaultGetRequestIsByteExact) {
    CSnmpMessage message;
    message.AddVarbind(kSysName);
    const BerOctets octets = Encode(message);
    EXPECT_OCTETS(Hex("30 26"                       // message, 38 content octets
                      "02 01 00"                    // version 1
                      "04 06 74 61 6D 73 65 6C"     // community "tamsel"
                      "A0 19"                       // GetRequest
                      "02 01 00 02 01 00 02 01 00"  // request id, error status, error index
                      "30 0E 30 0C"                 // list, varbind
                      "06 08 2B 06 01 02 01 01 05 00"
                      "05 00"),
                  octets);
    EXPECT_EQ(octets[1], octets.size() - 2);
    EXPECT_EQ(message.GetEncodedLength(), octets.size());
}

TEST(SnmpMessage, RequestIdsTakeAsManyOctetsAsTheyNeed) {
    CSnmpMessage message;
    message.SetRequestId(128);
    BerOctets octets = Encode(message);
    EXPECT_OCTETS(Hex("02 02 00 80"), BerOctets(octets.begin() + 15, octets.begin() + 19));
    message.SetRequestId(70000);
    octets = Encode(message);
    EXPECT_OCTETS(Hex("02 03 01 11 70"), BerOctets(octets.begin() + 15, octets.begin() + 20));
}

TEST(SnmpMessage, EncodedLengthMatchesWhatSerializeWritesAcrossLengthForms) {
    // 0, 1, 2, 3 and 200 varbinds of 64-octet strings: the lengths pass 127, 255 and 65535 limits
    // of the one-, two- and three-octet length forms at different levels.
    for (const std::size_t count : {0u, 1u, 2u, 3u, 200u}) {
        CSnmpMessage message;
        message.SetPduType(kBerTagGetResponsePdu);
        for (std::size_t i = 0; i < count; ++i) {
            message.AddVarbind(L"1.3.6.1.4.1.40713.1.1.1." + std::to_wstring(i))
                ->Value()
                .SetOctetString(BerOctets(64, static_cast<std::uint8_t>(i)));
        }
        const BerOctets octets = Encode(message, 100);
        EXPECT_EQ(message.GetEncodedLength(), octets.size()) << count;
        CSnmpMessage back;
        ASSERT_EQ(Decode(back, octets, 33).result, 0) << count;
        ASSERT_EQ(back.Varbinds().GetCount(), count);
        EXPECT_OCTETS(octets, Encode(back));
    }
}

TEST(SnmpMessage, ResponseWithEveryValueTypeRoundTrips) {
    CSnmpMessage message;
    message.SetCommunity(L"secret2");
    message.SetPduType(kBerTagGetResponsePdu);
    message.SetRequestId(-5);
    message.Pdu().ErrorStatus().SetInteger32(2);
    message.Pdu().ErrorIndex().SetInteger32(3);
    message.AddVarbind(L"1.3.6.1.2.1.1.1.0")->Value().SetOctetStringText(L"Test plotter");
    message.AddVarbind(L"1.3.6.1.2.1.1.3.0")->Value().SetUnsigned32(kBerTagTimeTicks, 123456);
    message.AddVarbind(L"1.3.6.1.2.1.1.2.0")->Value().SetObjId(L"1.3.6.1.4.1.40713");
    message.AddVarbind(L"1.3.6.1.4.1.40713.1")->Value().SetInteger32(-42);
    message.AddVarbind(L"1.3.6.1.4.1.40713.2")->Value().SetUnsigned32(kBerTagCounter32, 1);
    message.AddVarbind(L"1.3.6.1.4.1.40713.3")->Value().SetUnsigned32(kBerTagGauge32, 4000000000u);
    message.AddVarbind(L"1.3.6.1.4.1.40713.4")->Value().SetUnsigned32(kBerTagUInteger32, 200);
    message.AddVarbind(L"1.3.6.1.4.1.40713.5")->Value().SetIpAddress(L"192.168.1.20");
    message.AddVarbind(L"1.3.6.1.4.1.40713.6");

    CSnmpMessage back;
    ASSERT_EQ(Decode(back, Encode(message)).result, 0);
    std::int32_t value = 0;
    EXPECT_TRUE(CSnmpMessage::GetIntegerValue(back.Pdu().RequestId(), value));
    EXPECT_EQ(value, -5);
    EXPECT_EQ(back.Community().ValueText(), L"secret2");
    EXPECT_EQ(back.GetPduType(), kBerTagGetResponsePdu);
    EXPECT_EQ(back.ToText(), message.ToText());
    EXPECT_EQ(back.ToText("Resp"),
              L"\n\nResp:\n   Community:secret2  RequestId:-5  Error:2  ErrorIndex:3"
              L"  PduType:GetResponsePDU  VarbindCount:9"
              L"\n   0:   1.3.6.1.2.1.1.1.0  [OctetString]  Test plotter"
              L"\n   1:   1.3.6.1.2.1.1.3.0  [TimeTicks]  123456  0:20:34.56"
              L"\n   2:   1.3.6.1.2.1.1.2.0  [ObjId]  1.3.6.1.4.1.40713"
              L"\n   3:   1.3.6.1.4.1.40713.1  [Integer32]  -42"
              L"\n   4:   1.3.6.1.4.1.40713.2  [Counter32]  1"
              L"\n   5:   1.3.6.1.4.1.40713.3  [Gauge32]  4000000000"
              L"\n   6:   1.3.6.1.4.1.40713.4  [UInteger32]  200"
              L"\n   7:   1.3.6.1.4.1.40713.5  [IpAddress]  192.168.1.20"
              L"\n   8:   1.3.6.1.4.1.40713.6  [Null]  ");
}

TEST(SnmpMessage, OneVarbindLineCarriesNoNumber) {
    CSnmpMessage message;
    message.AddVarbind(kSysName);
    EXPECT_EQ(message.ToText(),
              L"\n\nCSnmpMessage:\n   Community:tamsel  RequestId:0  Error:0  ErrorIndex:0"
              L"  PduType:GetRequestPDU  VarbindCount:1"
              L"\n         1.3.6.1.2.1.1.5.0  [Null]  ");
    message.Varbinds().RemoveAll();
    EXPECT_EQ(message.ToText(),
              L"\n\nCSnmpMessage:\n   Community:tamsel  RequestId:0  Error:0  ErrorIndex:0"
              L"  PduType:GetRequestPDU  VarbindCount:0");
}

TEST(SnmpVarbind, OctetStringsShowAsTextOrDump) {
    const struct {
        const char* octets;
        const wchar_t* shown;
    } cases[] = {
        {"48 69", L"Hi"},
        {"FF FE", L"2 bytes: ff fe "},              // not UTF-8
        {"", L"0 bytes: "},                         // empty
        {"00", L"1 bytes: 00 "},                    // valid, but no text before the zero
        {"41 00 42", L"3 bytes: 41 00 42 "},        // a zero inside the text
        {"41 42 00 00", L"AB"},                     // zero padding
        {"41 09 42", L"A\tB  3 bytes: 41 09 42 "},  // unprintable: text and dump
        {"C3 A9", L"\u00e9"},
    };
    for (const auto& c : cases) {
        CSnmpVarbind varbind;
        varbind.Name().SetFromText(kSysName);
        varbind.Value().SetOctetString(Hex(c.octets));
        EXPECT_EQ(varbind.ToText(), std::wstring(L"1.3.6.1.2.1.1.5.0  [OctetString]  ") + c.shown)
            << c.octets;
    }
    CSnmpVarbind empty;
    empty.Name().CreateData();
    EXPECT_EQ(empty.ToText(), L"  [Null]  ");
}

TEST(SnmpMessage, StructuralErrorsNameWhatWasFound) {
    CSnmpMessage message;
    auto read = Decode(message, Hex("31 03 02 01 00"));
    EXPECT_EQ(read.result, kBerErrorInvalidArg);
    EXPECT_EQ(
        read.errorText,
        L"Error: retrieved SnmpMessage base type is not a sequence: Type x31 (not recognized)");

    read = Decode(message, Hex("30 12 02 01 00 04 00 A2 0B 02 01 01 02 01 00 02 01 00 04 00"));
    EXPECT_EQ(read.result, kBerErrorInvalidArg);
    EXPECT_EQ(read.errorText,
              L"Error: retrieved VarbindList base type is not a sequence: OctetString");

    read =
        Decode(message, Hex("30 14 02 01 00 04 00 A2 0D 02 01 01 02 01 00 02 01 00 30 02 02 00"));
    EXPECT_EQ(read.result, kBerErrorInvalidArg);
    EXPECT_EQ(read.errorText, L"Error: retrieved Varbind base type is not a sequence: Integer32");

    read = Decode(message,
                  Hex("30 16 02 01 00 04 00 A2 0F 02 01 01 02 01 00 02 01 00 30 04 30 02 02 00"));
    EXPECT_EQ(read.result, kBerErrorInvalidArg);
    EXPECT_EQ(read.errorText, L"Error retrieving object: Expecting ObjID, received: Integer32");
}

TEST(SnmpMessage, EmptyListAndAnyPduTagAreAccepted) {
    CSnmpMessage message;
    message.AddVarbind(kSysName);
    ASSERT_EQ(
        Decode(message, Hex("30 12 02 01 00 04 00 A4 0B 02 01 07 02 01 00 02 01 00 30 00")).result,
        0);
    EXPECT_EQ(message.Varbinds().GetCount(), 0u);
    EXPECT_EQ(message.GetPduType(), 0xA4);
    std::int32_t id = 0;
    EXPECT_TRUE(CSnmpMessage::GetIntegerValue(message.Pdu().RequestId(), id));
    EXPECT_EQ(id, 7);
    EXPECT_FALSE(CSnmpMessage::GetIntegerValue(message.Community(), id));
    EXPECT_EQ(id, 0);
}

TEST(SnmpMessage, EveryTruncationFailsCleanly) {
    CSnmpMessage message;
    message.SetPduType(kBerTagGetResponsePdu);
    message.AddVarbind(kSysName)->Value().SetOctetStringText(L"plotter-test");
    message.AddVarbind(L"1.3.6.1.2.1.1.3.0")->Value().SetUnsigned32(kBerTagTimeTicks, 99);
    const BerOctets octets = Encode(message);
    for (std::size_t size = 0; size < octets.size(); ++size) {
        CSnmpMessage back;
        const auto read = Decode(back, BerOctets(octets.begin(), octets.begin() + size));
        EXPECT_TRUE(read.result == kE_OUTOFMEMORY || read.result == kBerErrorInvalidArg) << size;
    }
}

TEST(SnmpVarbindList, CopyFromAndRemoveAllKeepTheOrder) {
    CSnmpMessage message;
    message.AddVarbind(L"1.3.6.1.1")->Value().SetInteger32(1);
    message.AddVarbind(L"1.3.6.1.2")->Value().SetOctetStringText(L"two");
    message.AddVarbind(L"1.3.6.1.3");
    CSnmpVarbindList copy;
    copy.Add();
    copy.CopyFrom(message.Varbinds());
    ASSERT_EQ(copy.GetCount(), 3u);
    EXPECT_EQ(copy.GetAt(0).ToText(), L"1.3.6.1.1  [Integer32]  1");
    EXPECT_EQ(copy.GetAt(1).ToText(), L"1.3.6.1.2  [OctetString]  two");
    EXPECT_EQ(copy.GetAt(2).ToText(), L"1.3.6.1.3  [Null]  ");
    EXPECT_EQ(copy.GetEncodedLength(), message.Varbinds().GetEncodedLength());
    message.Varbinds().RemoveAll();
    EXPECT_EQ(message.Varbinds().GetCount(), 0u);
    EXPECT_EQ(copy.GetCount(), 3u);  // the copy owns its own varbinds
}

TEST(SnmpMessage, AddVarbindReturnsTheVarbindToFillIn) {
    CSnmpMessage message;
    CSnmpVarbind* varbind = message.AddVarbind(L".1.3.6.1.2.1.43.10.2.1.6.1.1");
    ASSERT_NE(varbind, nullptr);
    EXPECT_EQ(varbind->Value().GetTag(), kBerTagNull);
    varbind->Value().SetInteger32(3);
    EXPECT_EQ(&message.Varbinds().GetAt(0), varbind);
    EXPECT_EQ(varbind->ToText(), L"1.3.6.1.2.1.43.10.2.1.6.1.1  [Integer32]  3");
}

}  // namespace
}  // namespace JuxNetwork
