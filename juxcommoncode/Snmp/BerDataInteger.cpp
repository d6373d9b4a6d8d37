#include "juxcommoncode/Snmp/BerDataInteger.h"

#include <cwchar>

namespace JuxNetwork {
namespace {

// Octets needed for the 32-bit pattern: 1 for 0..0xFF, up to 4.
int SignificantOctets(std::uint32_t pattern) {
    int n = 4;
    while (n > 1 && (pattern >> ((n - 1) * 8)) == 0) --n;
    return n;
}

void PutBigEndian(BerOctets& octets, std::uint32_t pattern, int n, bool leadingZero) {
    octets.clear();
    if (leadingZero) octets.push_back(0x00);
    for (int i = n - 1; i >= 0; --i)
        octets.push_back(static_cast<std::uint8_t>(pattern >> (i * 8)));
}

std::uint32_t AccumulateUnsigned(const BerOctets& octets) {
    std::uint32_t value = 0;
    for (const std::uint8_t octet : octets) value = (value << 8) | octet;
    return value;
}

}  // namespace

void CBerDataInteger32::Encode() {
    const auto pattern = static_cast<std::uint32_t>(m_value);
    const int n = SignificantOctets(pattern);
    const bool topBit = ((pattern >> ((n - 1) * 8)) & 0x80) != 0;
    PutBigEndian(m_octets, pattern, n, topBit && m_value > 0);
}

void CBerDataInteger32::Decode() {
    std::uint32_t value = AccumulateUnsigned(m_octets);
    // Sign extension for the short forms: the first octet's top bit is the sign.
    if (!m_octets.empty() && m_octets.size() < 4 && (m_octets.front() & 0x80) != 0) {
        value |= ~std::uint32_t{0} << (m_octets.size() * 8);
    }
    m_value = static_cast<std::int32_t>(value);
}

std::wstring CBerDataInteger32::ToText() const {
    return std::to_wstring(m_value);
}

void CBerDataUnInteger32::Encode() {
    const int n = SignificantOctets(m_value);
    const bool topBit = ((m_value >> ((n - 1) * 8)) & 0x80) != 0;
    PutBigEndian(m_octets, m_value, n, topBit);
}

void CBerDataUnInteger32::Decode() {
    m_value = AccumulateUnsigned(m_octets);
}

std::wstring CBerDataUnInteger32::ToText() const {
    return std::to_wstring(m_value);
}

std::wstring CBerDataTimeTicks::ToText() const {
    const std::uint32_t ticks = GetValue();
    wchar_t text[64];
    std::swprintf(text, sizeof text / sizeof text[0], L"%u  %u:%02u:%02u.%02u", ticks,
                  ticks / 360000u, (ticks / 6000u) % 60u, (ticks / 100u) % 60u, ticks % 100u);
    return text;
}

}  // namespace JuxNetwork
