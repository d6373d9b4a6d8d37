#include "juxcommoncode/Snmp/BerDataOctetString.h"

#include <algorithm>

#include "juxcommoncode/Snmp/Utf8Text.h"

namespace JuxNetwork {

std::wstring CBerDataOctetString::ToText() const {
    const auto end = std::find(m_octets.begin(), m_octets.end(), std::uint8_t{0});
    return Utf8ToWide(m_octets.data(), static_cast<std::size_t>(end - m_octets.begin()));
}

void CBerDataOctetString::SetFromText(const std::wstring& text) {
    const std::string utf8 = WideToUtf8(text);
    m_octets.assign(utf8.begin(), utf8.end());
}

}  // namespace JuxNetwork
