// Whole elements: tag, length octets and content through a real buffer, the value factory, the
// identifier check, and the refusal of impossible lengths.
#include "juxcommoncode/Snmp/BerTriple.h"

#include <gtest/gtest.h>

#include <typeinfo>

#include "SnmpTestUtil.h"
#include "juxcommoncode/Snmp/BerDataInteger.h"
#include "juxcommoncode/Snmp/BerDataIpAddressString.h"
#include "juxcommoncode/Snmp/BerDataObjIdString.h"
#include "juxcommoncode/Snmp/BerDataOctetString.h"
#include "juxcommoncode/Snmp/SnmpVarbind.h"

namespace JuxNetwork {
namespace {

using test::Decode;
using test::Encode;
using test::Hex;

TEST(BerTripleWithData, EncodesGoldenElements) {
    CBerTripleWithData element(kBerTagInteger32);
    EXPECT_OCTETS(Hex("02 01 00"), Encode(element));  // a new integer holds 0
    element.SetInteger32(128);
    EXPECT_OCTETS(Hex("02 02 00 80"), Encode(element));
    element.SetInteger32(-1);
    EXPECT_OCTETS(Hex("02 04 FF FF FF FF"), Encode(element));
    element.SetUnsigned32(kBerTagCounter32, 200);
    EXPECT_OCTETS(Hex("41 02 00 C8"), Encode(element));
    element.SetUnsigned32(kBerTagUInteger32, 7);
    EXPECT_OCTETS(Hex("47 01 07"), Encode(element));
    element.SetObjId(L"1.3.6.1.2.1.1.5.0");
    EXPECT_OCTETS(Hex("06 08 2B 06 01 02 01 01 05 00"), Encode(element));
    element.SetNull();
    EXPECT_OCTETS(Hex("05 00"), Encode(element));
    EXPECT_EQ(element.GetEncodedLength(), 2u);
    element.SetOctetString(BerOctets(200, 0x55));
    const BerOctets long_form = Encode(element);
    ASSERT_EQ(long_form.size(), 203u);
    EXPECT_OCTETS(Hex("04 81 C8"), BerOctets(long_form.begin(), long_form.begin() + 3));
    EXPECT_EQ(element.GetEncodedLength(), 203u);
}

TEST(BerTripleWithData, DecodesEveryTypeIntoItsValueClass) {
    CBerTripleWithData element(kBerTagNull);
    ASSERT_EQ(Decode(element, Hex("02 01 FF")).result, 0);
    ASSERT_NE(element.GetDataAs<CBerDataInteger32>(), nullptr);
    EXPECT_EQ(element.GetDataAs<CBerDataInteger32>()->GetValue(), -1);

    ASSERT_EQ(Decode(element, Hex("41 01 C8")).result, 0);
    EXPECT_EQ(element.GetDataAs<CBerDataUnInteger32>()->GetValue(), 200u);
    EXPECT_EQ(element.ValueText(), L"200");

    for (const std::uint8_t tag : {kBerTagGauge32, kBerTagUInteger32}) {
        ASSERT_EQ(Decode(element, {tag, 0x02, 0x00, 0xC8}).result, 0);
        EXPECT_EQ(element.GetDataAs<CBerDataUnInteger32>()->GetValue(), 200u);
    }
    ASSERT_EQ(Decode(element, Hex("43 03 01 E2 40")).result, 0);
    ASSERT_NE(element.GetDataAs<CBerDataTimeTicks>(), nullptr);
    EXPECT_EQ(element.ValueText(), L"123456  0:20:34.56");

    ASSERT_EQ(Decode(element, Hex("40 04 C0 A8 01 14")).result, 0);
    EXPECT_EQ(element.GetDataAs<CBerDataIpAddressString>()->GetText(), L"192.168.1.20");

    ASSERT_EQ(Decode(element, Hex("04 02 48 69")).result, 0);
    EXPECT_EQ(element.GetDataAs<CBerDataOctetString>()->ToText(), L"Hi");

    ASSERT_EQ(Decode(element, Hex("06 03 2B 06 01")).result, 0);
    EXPECT_EQ(element.ValueText(), L"1.3.6.1");

    ASSERT_EQ(Decode(element, Hex("05 00")).result, 0);
    EXPECT_EQ(element.GetData(), nullptr);
    EXPECT_EQ(element.GetEncodedLength(), 2u);

    // An unrecognised tag keeps its content as raw octets.
    ASSERT_EQ(Decode(element, Hex("44 03 0A 0B 0C")).result, 0);
    ASSERT_NE(element.GetData(), nullptr);
    EXPECT_EQ(typeid(*element.GetData()), typeid(CBerCodedData));
    EXPECT_EQ(element.ValueText(), L"3 bytes: 0a 0b 0c ");
}

TEST(BerTripleWithData, CreateDataFollowsTheTag) {
    CBerTripleWithData element(kBerTagInteger32);
    EXPECT_OCTETS(Hex("00"), element.GetData()->GetOctets());
    element.SetTag(kBerTagNull);
    element.CreateData();
    EXPECT_EQ(element.GetData(), nullptr);
    EXPECT_EQ(element.GetContentLength(), 0u);
    element.SetTag(kBerTagTimeTicks);
    element.CreateData();
    EXPECT_NE(element.GetDataAs<CBerDataTimeTicks>(), nullptr);
}

TEST(BerTripleWithData, CopyFromTakesTagAndValue) {
    CBerTripleWithData source(kBerTagNull);
    source.SetIpAddress(L"10.1.2.3");
    CBerTripleWithData copy(kBerTagInteger32);
    copy.CopyFrom(source);
    EXPECT_EQ(copy.GetTag(), kBerTagIpAddress);
    EXPECT_EQ(copy.GetDataAs<CBerDataIpAddressString>()->GetText(), L"10.1.2.3");
    source.SetNull();
    copy.CopyFrom(source);
    EXPECT_EQ(copy.GetTag(), kBerTagNull);
    EXPECT_EQ(copy.GetData(), nullptr);
}

TEST(BerTripleObjId, RefusesAnotherTypeAfterReadingIt) {
    CBerTripleObjId name;
    const auto read = Decode(name, Hex("04 02 41 42"));
    EXPECT_EQ(read.result, kBerErrorInvalidArg);
    EXPECT_EQ(read.errorText, L"Error retrieving object: Expecting ObjID, received: OctetString");
    EXPECT_EQ(read.position, 4u);  // the string was read before the check

    // A read error comes first and is returned as it is.
    const auto cut = Decode(name, Hex("04 05 41"), 1024, false);
    EXPECT_EQ(cut.result, kE_OUTOFMEMORY);
    EXPECT_NE(cut.errorText.find(L"Attempted to read beyond available buffer size"),
              std::wstring::npos);
}

TEST(BerTripleObjId, CopyFromAnotherTypeGivesAnEmptyIdentifier) {
    CBerTripleObjId name;
    name.SetFromText(L"1.3.6.1");
    CBerTripleWithData text(kBerTagNull);
    text.SetOctetStringText(L"abc");
    name.CopyFrom(text);
    EXPECT_EQ(name.GetTag(), kBerTagObjId);
    EXPECT_EQ(name.ToText(), L"");
    CBerTripleWithData other(kBerTagNull);
    other.SetObjId(L"1.3.6.1.4.1.40713");
    name.CopyFrom(other);
    EXPECT_EQ(name.ToText(), L"1.3.6.1.4.1.40713");
}

TEST(BerTripleLength, RefusesLengthsAbove65535InsteadOfWrappingThem) {
    // 65,541 taken modulo 65,536 would be 5 and the next element would be read from the middle.
    BerOctets octets = Hex("04 83 01 00 05");
    octets.resize(octets.size() + 65541, 0x41);
    CBerTripleWithData element(kBerTagNull);
    const auto read = Decode(element, octets, 4096, false);
    EXPECT_EQ(read.result, kBerErrorInvalidArg);
    EXPECT_EQ(read.errorText, L"Error: BER length above 65535 octets for OctetString");
    EXPECT_EQ(read.position, 5u);  // stopped after the length octets

    // More significant octets than 32 bits hold.
    EXPECT_EQ(Decode(element, Hex("02 85 01 00 00 00 01 00"), 1024, false).result,
              kBerErrorInvalidArg);
    // Leading zero octets are harmless.
    EXPECT_EQ(Decode(element, Hex("02 85 00 00 00 00 01 07"), 1024, false).result, 0);
    EXPECT_EQ(element.ValueText(), L"7");
    // 65,535 itself is allowed.
    BerOctets largest = Hex("04 82 FF FF");
    largest.resize(largest.size() + 65535, 0x42);
    EXPECT_EQ(Decode(element, largest, 4096, false).result, 0);
    EXPECT_EQ(element.GetContentLength(), 65535u);
}

TEST(BerTripleLength, RefusesLengthsPastTheEndOfTheInput) {
    CBerTripleWithData element(kBerTagNull);
    const auto read = Decode(element, Hex("04 05 41 42"));
    EXPECT_EQ(read.result, kBerErrorInvalidArg);
    EXPECT_EQ(read.errorText,
              L"Error: BER length 5 runs past the end of the data (2 octets left) for OctetString");
    // Without a limit the buffer's own end stops the read.
    EXPECT_EQ(Decode(element, Hex("04 05 41 42"), 1024, false).result, kE_OUTOFMEMORY);
    // Exactly fitting is fine.
    EXPECT_EQ(Decode(element, Hex("04 02 41 42")).result, 0);
}

TEST(BerTripleLength, RefusesTheIndefiniteForm) {
    CBerTripleWithData element(kBerTagNull);
    BerOctets octets = Hex("04 80");
    octets.resize(200, 0x00);
    const auto read = Decode(element, octets);
    EXPECT_EQ(read.result, kBerErrorInvalidArg);
    EXPECT_EQ(read.errorText, L"Error: indefinite BER length is not allowed for OctetString");
}

TEST(BerTripleNull, ContentOctetsAreSkippedSoTheNextElementStaysAligned) {
    // A list of two varbinds; the first one's Null carries two content octets.
    const BerOctets octets =
        Hex("30 16"
            "  30 09 06 03 2B 06 01 05 02 AA BB"
            "  30 09 06 03 2B 06 02 02 02 01 2C");
    CSnmpVarbindList list;
    ASSERT_EQ(Decode(list, octets).result, 0);
    ASSERT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(list.GetAt(0).Value().GetTag(), kBerTagNull);
    EXPECT_EQ(list.GetAt(0).Value().GetData(), nullptr);
    EXPECT_EQ(list.GetAt(1).Name().ToText(), L"1.3.6.2");
    EXPECT_EQ(list.GetAt(1).Value().ValueText(), L"300");

    // The skipped content still has to be there.
    CBerTripleWithData null(kBerTagNull);
    EXPECT_EQ(Decode(null, Hex("05 03 00")).result, kBerErrorInvalidArg);
    EXPECT_EQ(Decode(null, Hex("05 03 00"), 1024, false).result, kE_OUTOFMEMORY);
}

TEST(BerTriple, ReadsAcrossBlockBoundaries) {
    CBerTripleWithData element(kBerTagNull);
    element.SetOctetString(BerOctets(300, 0x33));
    const BerOctets octets = Encode(element, 7);
    ASSERT_EQ(octets.size(), 304u);
    CBerTripleWithData back(kBerTagNull);
    ASSERT_EQ(Decode(back, octets, 5).result, 0);
    EXPECT_EQ(back.GetData()->GetOctets(), BerOctets(300, 0x33));
}

}  // namespace
}  // namespace JuxNetwork
