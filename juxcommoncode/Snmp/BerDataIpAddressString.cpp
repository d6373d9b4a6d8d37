#include "juxcommoncode/Snmp/BerDataIpAddressString.h"

#include <algorithm>

#include "juxcommoncode/Snmp/BerTextTokens.h"

namespace JuxNetwork {
namespace {
std::wstring DottedText(const BerOctets& octets) {
    std::wstring text;
    for (std::size_t i = 0; i < octets.size(); ++i) {
        if (i > 0) text.push_back(L'.');
        text += std::to_wstring(octets[i]);
    }
    return text;
}
}  // namespace

void CBerDataIpAddressString::Encode() {
    m_octets.clear();
    for (const std::uint32_t number : SplitBerNumberText(m_text)) {
        m_octets.push_back(static_cast<std::uint8_t>(std::min<std::uint32_t>(number, 255)));
    }
}

void CBerDataIpAddressString::Decode() {
    m_text = DottedText(m_octets);
}

std::wstring CBerDataIpAddressString::ToText() const {
    return DottedText(m_octets);
}

void CBerDataIpAddressString::SetFromText(const std::wstring& text) {
    m_text = text;
    Encode();
}

}  // namespace JuxNetwork
