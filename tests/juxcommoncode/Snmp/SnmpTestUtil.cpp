#include "SnmpTestUtil.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace JuxNetwork::test {

BerOctets Hex(const std::string& text) {
    BerOctets octets;
    int high = -1;
    for (const char ch : text) {
        if (std::isspace(static_cast<unsigned char>(ch))) continue;
        const int digit = std::isdigit(static_cast<unsigned char>(ch))
                              ? ch - '0'
                              : std::toupper(static_cast<unsigned char>(ch)) - 'A' + 10;
        if (digit < 0 || digit > 15) throw std::invalid_argument("bad hex literal: " + text);
        if (high < 0) {
            high = digit;
        } else {
            octets.push_back(static_cast<std::uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0) throw std::invalid_argument("odd hex literal: " + text);
    return octets;
}

std::string ToHex(const BerOctets& octets) {
    std::string text;
    char pair[4];
    for (std::size_t i = 0; i < octets.size(); ++i) {
        std::snprintf(pair, sizeof pair, i ? " %02X" : "%02X", octets[i]);
        text += pair;
    }
    return text;
}

std::string DescribeDifference(const BerOctets& expected, const BerOctets& actual) {
    if (expected == actual) return {};
    std::size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i]) ++i;
    return "first difference at offset " + std::to_string(i) + " (sizes " +
           std::to_string(expected.size()) + " and " + std::to_string(actual.size()) +
           ")\n expected: " + ToHex(expected) + "\n   actual: " + ToHex(actual);
}

BerOctets Encode(CBerTripleBase& element, std::uint32_t blockSize) {
    CJuxSerializingBuffer buffer;
    buffer.SetFirstBlockSize(blockSize);
    buffer.SetNextBlockSize(blockSize);
    buffer.StartWriteTo();
    const HRESULT hr = element.Serialize(buffer);
    EXPECT_EQ(hr, 0) << "encode failed";
    BerOctets octets(static_cast<std::size_t>(buffer.GetDataSize()));
    buffer.StartReadFrom();
    if (!octets.empty()) {
        EXPECT_EQ(buffer.ReadBytes(octets.data(), octets.size()), 0);
    }
    return octets;
}

DecodeResult Decode(CBerTripleBase& element, const BerOctets& octets, std::uint32_t blockSize,
                    bool limitToInput) {
    CJuxSerializingBuffer buffer;
    buffer.SetFirstBlockSize(blockSize);
    buffer.SetNextBlockSize(blockSize);
    buffer.StartWriteTo();
    if (!octets.empty()) buffer.WriteBytes(octets.data(), octets.size());
    DecodeResult out;
    out.result = buffer.StartReadFrom();
    if (out.result != 0) return out;
    element.SetReadLimit(limitToInput ? octets.size() : CBerTripleBase::kNoReadLimit);
    out.result = element.Serialize(buffer);
    out.errorText = buffer.GetErrorText();
    out.position = buffer.GetPosition();
    return out;
}

}  // namespace JuxNetwork::test
