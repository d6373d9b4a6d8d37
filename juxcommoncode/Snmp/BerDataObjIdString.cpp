#include "juxcommoncode/Snmp/BerDataObjIdString.h"

#include "juxcommoncode/Snmp/BerTextTokens.h"

namespace JuxNetwork {
namespace {

constexpr std::uint8_t kIsoOrgOctet = 0x2B;  // arcs 1.3 (iso.org) in one octet

void AppendBase128(BerOctets& octets, std::uint32_t arc) {
    std::uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(arc & 0x7F);
        arc >>= 7;
    } while (arc != 0);
    while (n > 1) octets.push_back(static_cast<std::uint8_t>(groups[--n] | 0x80));
    octets.push_back(groups[0]);
}

}  // namespace

void CBerDataObjIdString::Encode() {
    m_octets.clear();
    std::size_t first = 0;
    if (m_arcs.size() >= 2 && m_arcs[0] == 1 && m_arcs[1] == 3) {
        m_octets.push_back(kIsoOrgOctet);
        first = 2;
    }
    for (std::size_t i = first; i < m_arcs.size(); ++i) AppendBase128(m_octets, m_arcs[i]);
}

void CBerDataObjIdString::Decode() {
    m_arcs.clear();
    std::size_t i = 0;
    if (!m_octets.empty() && m_octets[0] == kIsoOrgOctet) {
        m_arcs.push_back(1);
        m_arcs.push_back(3);
        i = 1;
    }
    std::uint32_t arc = 0;
    for (; i < m_octets.size(); ++i) {
        arc = (arc << 7) | (m_octets[i] & 0x7Fu);
        if ((m_octets[i] & 0x80) == 0) {
            m_arcs.push_back(arc);
            arc = 0;
        }
    }
}

std::wstring CBerDataObjIdString::ToText() const {
    std::wstring text;
    for (std::size_t i = 0; i < m_arcs.size(); ++i) {
        if (i > 0) text.push_back(L'.');
        text += std::to_wstring(m_arcs[i]);
    }
    return text;
}

void CBerDataObjIdString::SetFromText(const std::wstring& text) {
    m_arcs = SplitBerNumberText(text);
    Encode();
}

void CBerDataObjIdString::SetArcs(std::vector<std::uint32_t> arcs) {
    m_arcs = std::move(arcs);
    Encode();
}

}  // namespace JuxNetwork
