#include "juxcommoncode/Snmp/BerCodedData.h"

#include <cwchar>

namespace JuxNetwork {

std::wstring CBerCodedData::ToText() const {
    return FormatOctetDump(m_octets);
}

HRESULT CBerCodedData::Serialize(CJuxSerializer& serializer, std::uint16_t contentLength) {
    if (serializer.IsStoring()) {
        if (!m_octets.empty()) serializer.WriteBytes(m_octets.data(), m_octets.size());
        return serializer.GetResult();
    }
    m_octets.assign(contentLength, 0);
    if (contentLength > 0) serializer.ReadBytes(m_octets.data(), contentLength);
    Decode();
    return serializer.GetResult();
}

void CBerCodedData::CopyFrom(const CBerCodedData& other) {
    if (&other != this) m_octets = other.m_octets;
    Decode();
}

void CBerCodedData::SetOctets(BerOctets octets) {
    m_octets = std::move(octets);
    Decode();
}

std::wstring FormatOctetDump(const BerOctets& octets) {
    wchar_t head[32];
    std::swprintf(head, sizeof head / sizeof head[0], L"%u bytes: ",
                  static_cast<unsigned>(octets.size()));
    std::wstring text = head;
    static const wchar_t kHex[] = L"0123456789abcdef";
    text.reserve(text.size() + octets.size() * 3);
    for (const std::uint8_t octet : octets) {
        text.push_back(kHex[octet >> 4]);
        text.push_back(kHex[octet & 0x0F]);
        text.push_back(L' ');
    }
    return text;
}

std::wstring FormatMacAddress(const BerOctets& octets) {
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring text;
    for (std::size_t i = 0; i < octets.size(); ++i) {
        if (i > 0) text.push_back(L'-');
        text.push_back(kHex[octets[i] >> 4]);
        text.push_back(kHex[octets[i] & 0x0F]);
    }
    return text;
}

}  // namespace JuxNetwork
