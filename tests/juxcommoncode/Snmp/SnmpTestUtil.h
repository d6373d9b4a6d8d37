#pragma once
// Helpers shared by the BER and SNMP tests: hex octet literals, encoding an element into octets
// and decoding octets into an element through a real CJuxSerializingBuffer.
#include <cstdint>
#include <string>

#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"
#include "juxcommoncode/Snmp/BerCodedData.h"
#include "juxcommoncode/Snmp/BerTriple.h"

namespace JuxNetwork::test {

// "30 0C 02 01 00" -> octets. Blanks are optional between pairs.
BerOctets Hex(const std::string& text);
// Octets as upper-case hex pairs separated by blanks.
std::string ToHex(const BerOctets& octets);
// Empty when equal; otherwise the first differing offset and both sides in hex, for messages.
std::string DescribeDifference(const BerOctets& expected, const BerOctets& actual);

// Writes the element through a buffer (blockSize bytes per block) and returns what it wrote.
// Fails the current test when Serialize reports an error.
BerOctets Encode(CBerTripleBase& element, std::uint32_t blockSize = 1024);

// Result of reading octets into an element.
struct DecodeResult {
    HRESULT result = 0;
    std::wstring errorText;
    std::uint64_t position = 0;  // octets consumed
};
// Reads the octets into the element through a buffer of blockSize-byte blocks. With
// limitToInput the element is told that the input ends where the octets end, as the receive
// path does for a datagram.
DecodeResult Decode(CBerTripleBase& element, const BerOctets& octets,
                    std::uint32_t blockSize = 1024, bool limitToInput = true);

}  // namespace JuxNetwork::test

// Golden comparison with the first differing offset in the message.
#define EXPECT_OCTETS(expected, actual) \
    EXPECT_EQ(::JuxNetwork::test::DescribeDifference((expected), (actual)), std::string())
