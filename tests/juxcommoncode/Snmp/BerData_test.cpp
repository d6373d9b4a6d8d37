// The value classes: content octets and values in both directions, and their text forms.
#include "juxcommoncode/Snmp/BerDataInteger.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "SnmpTestUtil.h"
#include "juxcommoncode/Snmp/BerDataIpAddressString.h"
#include "juxcommoncode/Snmp/BerDataObjIdString.h"
#include "juxcommoncode/Snmp/BerDataOctetString.h"
#include "juxcommoncode/Snmp/BerLengthInteger32.h"
#include "juxcommoncode/Snmp/BerTags.h"

namespace JuxNetwork {
namespace {

using test::Hex;

TEST(BerLengthInteger32, EncodesShortAndLongFormsAndDecodesThemBack) {
    const struct {
        std::uint32_t value;
        const char* octets;
    } cases[] = {
        {0, "00"},
        {127, "7F"},
        {128, "81 80"},
        {255, "81 FF"},
        {256, "82 01 00"},
        {300, "82 01 2C"},
        {65535, "82 FF FF"},
        {65536, "83 01 00 00"},
        {0xFFFFFFFFu, "84 FF FF FF FF"},
    };
    for (const auto& c : cases) {
        CBerLengthInteger32 length;
        length.SetValue(c.value);
        EXPECT_OCTETS(Hex(c.octets), length.GetOctets());
        EXPECT_EQ(CBerLengthInteger32::OctetCountFor(c.value), length.GetOctets().size());
        CBerLengthInteger32 back;
        back.SetOctets(Hex(c.octets));
        EXPECT_EQ(back.GetValue(), c.value) << c.octets;
        EXPECT_EQ(back.ToText(), std::to_wstring(c.value));
    }
}

TEST(BerLengthInteger32, LongFormsWithMoreThanFourOctetsAreFlagged) {
    CBerLengthInteger32 length;
    length.SetOctets(Hex("85 00 00 00 00 05"));  // leading zeros: still 5
    EXPECT_TRUE(length.FitsIn32Bits());
    EXPECT_EQ(length.GetValue(), 5u);
    length.SetOctets(Hex("85 01 00 00 00 05"));  // 2^32 + 5 does not fit
    EXPECT_FALSE(length.FitsIn32Bits());
    length.SetOctets(Hex("80"));
    EXPECT_TRUE(length.IsIndefinite());
    length.SetOctets({});
    EXPECT_EQ(length.GetValue(), 0u);
}

TEST(BerDataInteger32, EncodesTwosComplementAndDecodesBack) {
    const struct {
        std::int32_t value;
        const char* octets;
    } cases[] = {
        {0, "00"},
        {127, "7F"},
        {128, "00 80"},
        {200, "00 C8"},
        {256, "01 00"},
        {32768, "00 80 00"},
        {INT_MAX, "7F FF FF FF"},
        {-1, "FF FF FF FF"},
        {-42, "FF FF FF D6"},
        {INT_MIN, "80 00 00 00"},
    };
    for (const auto& c : cases) {
        CBerDataInteger32 integer;
        integer.SetValue(c.value);
        EXPECT_OCTETS(Hex(c.octets), integer.GetOctets());
        CBerDataInteger32 back;
        back.SetOctets(Hex(c.octets));
        EXPECT_EQ(back.GetValue(), c.value) << c.octets;
        EXPECT_EQ(back.ToText(), std::to_wstring(c.value));
    }
}

TEST(BerDataInteger32, DecodesTheMinimalFormsThatAgentsSend) {
    // Agents encode -42 as the one octet D6; reading it as 214 would corrupt every negative value.
    const struct {
        const char* octets;
        std::int32_t value;
    } cases[] = {
        {"D6", -42},
        {"FF", -1},
        {"FF 7F", -129},
        {"80 00", -32768},
        {"80 00 00", -8388608},
        {"00 FF", 255},
        {"", 0},
        {"00 FF FF FF FF", -1},  // beyond four octets only the last four count
    };
    for (const auto& c : cases) {
        CBerDataInteger32 integer;
        integer.SetOctets(Hex(c.octets));
        EXPECT_EQ(integer.GetValue(), c.value) << c.octets;
    }
}

TEST(BerDataUnInteger32, KeepsValuesWithTheTopBitSetNonNegative) {
    const struct {
        std::uint32_t value;
        const char* octets;
    } cases[] = {
        {0, "00"},
        {127, "7F"},
        {200, "00 C8"},
        {255, "00 FF"},
        {256, "01 00"},
        {4000000000u, "00 EE 6B 28 00"},
        {0xFFFFFFFFu, "00 FF FF FF FF"},
    };
    for (const auto& c : cases) {
        CBerDataUnInteger32 value;
        value.SetValue(c.value);
        EXPECT_OCTETS(Hex(c.octets), value.GetOctets());
        CBerDataUnInteger32 back;
        back.SetOctets(Hex(c.octets));
        EXPECT_EQ(back.GetValue(), c.value) << c.octets;
        EXPECT_EQ(back.ToText(), std::to_wstring(c.value));
    }
    // Senders that leave out the 0x00 are still read as unsigned.
    CBerDataUnInteger32 lax;
    lax.SetOctets(Hex("C8"));
    EXPECT_EQ(lax.GetValue(), 200u);
    lax.SetOctets(Hex("FF FF FF FF"));
    EXPECT_EQ(lax.GetValue(), 0xFFFFFFFFu);
}

TEST(BerDataTimeTicks, ShowsRawValueAndDuration) {
    CBerDataTimeTicks ticks;
    ticks.SetValue(123456);
    EXPECT_EQ(ticks.ToText(), L"123456  0:20:34.56");
    ticks.SetValue(36000000);
    EXPECT_EQ(ticks.ToText(), L"36000000  100:00:00.00");
    ticks.SetValue(0);
    EXPECT_EQ(ticks.ToText(), L"0  0:00:00.00");
    ticks.SetOctets(Hex("00 FF FF FF FF"));
    EXPECT_EQ(ticks.ToText(), L"4294967295  11930:27:52.95");
}

TEST(BerDataObjIdString, EncodesIsoOrgPrefixAndBase128Arcs) {
    CBerDataObjIdString oid;
    oid.SetFromText(L"1.3.6.1.2.1.1.5.0");
    EXPECT_OCTETS(Hex("2B 06 01 02 01 01 05 00"), oid.GetOctets());
    CBerDataObjIdString back;
    back.SetOctets(oid.GetOctets());
    EXPECT_EQ(back.ToText(), L"1.3.6.1.2.1.1.5.0");

    oid.SetFromText(L"1.3.127.128.300.16383.16384.4294967295");
    EXPECT_OCTETS(Hex("2B 7F 81 00 82 2C FF 7F 81 80 00 8F FF FF FF 7F"), oid.GetOctets());
    back.SetOctets(oid.GetOctets());
    EXPECT_EQ(back.ToText(), L"1.3.127.128.300.16383.16384.4294967295");
}

TEST(BerDataObjIdString, AcceptsEachSeparatorAndSkipsEmptyTokens) {
    for (const wchar_t* text : {L"1.3.6.1", L"1 3 6 1", L".1.3.6.1", L"1+3-6..1.", L" 1. 3 .6-1"}) {
        CBerDataObjIdString oid;
        oid.SetFromText(text);
        EXPECT_EQ(oid.ToText(), L"1.3.6.1") << text;
    }
    CBerDataObjIdString oid;
    oid.SetFromText(L"1.3.x.7a.99999999999");  // not a number: 0; trailing junk ignored; held
    EXPECT_EQ(oid.ToText(), L"1.3.0.7.4294967295");
    oid.SetFromText(L"");
    EXPECT_TRUE(oid.GetOctets().empty());
    EXPECT_EQ(oid.ToText(), L"");
}

TEST(BerDataObjIdString, OnlyOnePointThreeIsCombined) {
    CBerDataObjIdString oid;
    oid.SetFromText(L"2.5.4");
    EXPECT_OCTETS(Hex("02 05 04"), oid.GetOctets());
    CBerDataObjIdString back;
    back.SetOctets(oid.GetOctets());
    EXPECT_EQ(back.ToText(), L"2.5.4");
    oid.SetFromText(L"1");
    EXPECT_OCTETS(Hex("01"), oid.GetOctets());
}

TEST(BerDataObjIdString, DropsASubIdentifierCutShort) {
    CBerDataObjIdString oid;
    oid.SetOctets(Hex("2B 06 81"));
    EXPECT_EQ(oid.ToText(), L"1.3.6");
    oid.SetOctets(Hex("FF FF FF FF FF FF FF FF"));
    EXPECT_EQ(oid.ToText(), L"");
}

TEST(BerDataIpAddressString, EncodesCappedNumbersAndDecodesDottedText) {
    CBerDataIpAddressString ip;
    ip.SetFromText(L"192.168.1.20");
    EXPECT_OCTETS(Hex("C0 A8 01 14"), ip.GetOctets());
    ip.SetFromText(L"10.0.300.-5");
    EXPECT_OCTETS(Hex("0A 00 FF 05"), ip.GetOctets());
    EXPECT_EQ(ip.ToText(), L"10.0.255.5");

    CBerDataIpAddressString back;
    back.SetOctets(Hex("7F 00 00 01"));
    EXPECT_EQ(back.GetText(), L"127.0.0.1");
    EXPECT_EQ(back.ToText(), L"127.0.0.1");
}

TEST(BerDataOctetString, ConvertsTextAsUtf8AndCutsAtZero) {
    CBerDataOctetString text;
    text.SetOctets(Hex("41 42 00 43"));
    EXPECT_EQ(text.ToText(), L"AB");
    text.SetFromText(L"Gr\u00fc\u00dfe \u20ac");
    EXPECT_OCTETS(Hex("47 72 C3 BC C3 9F 65 20 E2 82 AC"), text.GetOctets());
    EXPECT_EQ(text.ToText(), L"Gr\u00fc\u00dfe \u20ac");
    text.SetOctets(Hex("41 FF 42"));
    EXPECT_EQ(text.ToText(), L"A\uFFFDB");
}

TEST(BerCodedData, RawOctetsShowAsDump) {
    CBerCodedData raw;
    raw.SetOctets(Hex("0A 0B 0C"));
    EXPECT_EQ(raw.ToText(), L"3 bytes: 0a 0b 0c ");
    EXPECT_EQ(FormatOctetDump({}), L"0 bytes: ");
    EXPECT_EQ(FormatMacAddress(Hex("00 1A 2B 3C 4D 5E")), L"00-1A-2B-3C-4D-5E");
    EXPECT_EQ(FormatMacAddress(Hex("ff")), L"FF");
    EXPECT_EQ(FormatMacAddress({}), L"");
}

TEST(BerCodedData, CopyFromTakesOctetsAndDecodes) {
    CBerDataInteger32 source;
    source.SetValue(-7);
    CBerDataInteger32 copy;
    copy.CopyFrom(source);
    EXPECT_EQ(copy.GetValue(), -7);
    CBerDataUnInteger32 other;  // the octets decide, whatever class they came from
    other.CopyFrom(source);
    EXPECT_EQ(other.GetValue(), static_cast<std::uint32_t>(-7));
}

TEST(BerTypeName, NamesKnownTagsAndMarksOthers) {
    EXPECT_EQ(BerTypeName(0x02), L"Integer32");
    EXPECT_EQ(BerTypeName(0x04), L"OctetString");
    EXPECT_EQ(BerTypeName(0x05), L"Null");
    EXPECT_EQ(BerTypeName(0x06), L"ObjId");
    EXPECT_EQ(BerTypeName(0x30), L"Sequence");
    EXPECT_EQ(BerTypeName(0x40), L"IpAddress");
    EXPECT_EQ(BerTypeName(0x41), L"Counter32");
    EXPECT_EQ(BerTypeName(0x42), L"Gauge32");
    EXPECT_EQ(BerTypeName(0x43), L"TimeTicks");
    EXPECT_EQ(BerTypeName(0x47), L"UInteger32");
    EXPECT_EQ(BerTypeName(0xA0), L"GetRequestPDU");
    EXPECT_EQ(BerTypeName(0xA1), L"GetNextRequestPDU");
    EXPECT_EQ(BerTypeName(0xA2), L"GetResponsePDU");
    EXPECT_EQ(BerTypeName(0xA3), L"SetRequestPDU");
    EXPECT_EQ(BerTypeName(0x31), L"Type x31 (not recognized)");
    EXPECT_EQ(BerTypeName(0x00), L"Type x00 (not recognized)");
    EXPECT_EQ(BerTypeName(0xFF), L"Type xff (not recognized)");
}

}  // namespace
}  // namespace JuxNetwork
