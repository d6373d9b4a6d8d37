#include "juxcommoncode/Snmp/BerLengthInteger32.h"

namespace JuxNetwork {

std::uint32_t CBerLengthInteger32::OctetCountFor(std::uint32_t length) {
    if (length < 0x80) return 1;
    std::uint32_t n = 1;
    while (n < 4 && (length >> (n * 8)) != 0) ++n;
    return 1 + n;
}

void CBerLengthInteger32::Encode() {
    m_octets.clear();
    if (m_value < 0x80) {
        m_octets.push_back(static_cast<std::uint8_t>(m_value));
        return;
    }
    const std::uint32_t n = OctetCountFor(m_value) - 1;
    m_octets.push_back(static_cast<std::uint8_t>(0x80 + n));
    for (std::uint32_t i = n; i > 0; --i) {
        m_octets.push_back(static_cast<std::uint8_t>(m_value >> ((i - 1) * 8)));
    }
}

void CBerLengthInteger32::Decode() {
    m_value = 0;
    if (m_octets.size() == 1) {
        m_value = m_octets[0];
    } else {
        for (std::size_t i = 1; i < m_octets.size(); ++i) m_value = (m_value << 8) | m_octets[i];
    }
}

bool CBerLengthInteger32::FitsIn32Bits() const {
    // Octet 0 is the count; octets 1 .. size-5 must be zero for the value to fit.
    for (std::size_t i = 1; i + 4 < m_octets.size(); ++i) {
        if (m_octets[i] != 0) return false;
    }
    return true;
}

std::wstring CBerLengthInteger32::ToText() const {
    return std::to_wstring(m_value);
}

HRESULT CBerLengthInteger32::Serialize(CJuxSerializer& serializer, std::uint16_t) {
    if (serializer.IsStoring()) {
        for (const std::uint8_t octet : m_octets) {
            if (Failed(serializer.WriteBytes(&octet, 1))) break;
        }
        return serializer.GetResult();
    }
    m_octets.clear();
    std::uint8_t octet = 0;
    if (Failed(serializer.ReadBytes(&octet, 1))) return serializer.GetResult();
    m_octets.push_back(octet);
    const unsigned more = octet & 0x7Fu;
    if ((octet & 0x80) != 0 && more != 0) {
        for (unsigned i = 0; i < more; ++i) {
            if (Failed(serializer.ReadBytes(&octet, 1))) break;
            m_octets.push_back(octet);
        }
    }
    Decode();
    return serializer.GetResult();
}

}  // namespace JuxNetwork
