#include "Common/XomDialogs/PrinterDisplayItem.h"

#include <cstring>

#include "Common/XomDialogs/DialogText.h"
#include "juxcommoncode/Snmp/BerCodedData.h"

using JuxNetwork::JUX_IP_ADDRESS;

CPrinterDisplayItem CPrinterDisplayItem::FromAgent(const CSnmpAgent& agent) {
    CPrinterDisplayItem item;
    item.m_printerName = agent.m_sysName;
    item.m_community = agent.m_community;
    item.m_physicalAddress = agent.m_physicalAddress;
    if (!agent.m_address.IsUnspecified()) item.m_addresses.push_back(agent.m_address);
    return item;
}

std::wstring CPrinterDisplayItem::EntryText() const {
    if (!m_displayText.empty()) return m_displayText;
    if (!m_printerName.empty()) return m_printerName;
    if (!m_addresses.empty()) return AddressEntryText(m_addresses.front());
    return L"Unknown";
}

const JUX_IP_ADDRESS* CPrinterDisplayItem::ChosenAddress() const {
    if (m_addresses.empty()) return nullptr;
    return &m_addresses[m_chosenAddress < m_addresses.size() ? m_chosenAddress : 0];
}

std::vector<std::wstring> PrinterLines(const CPrinterDisplayItem& item,
                                       const PrinterLineLabels& labels) {
    std::vector<std::wstring> lines;
    for (const JUX_IP_ADDRESS& address : item.m_addresses)
        lines.push_back(labels.address + L" " + AddressEntryText(address));
    if (!item.m_printerName.empty()) lines.push_back(item.m_printerName);
    if (!item.m_physicalAddress.empty()) {
        lines.push_back(labels.mac + L" " + JuxNetwork::FormatMacAddress(item.m_physicalAddress));
    } else {
        lines.push_back(labels.community + L" " +
                        (item.m_community.empty() ? std::wstring(L"(null)") : item.m_community));
    }
    return lines;
}

std::wstring AddressEntryText(const JUX_IP_ADDRESS& address) {
    JUX_IP_ADDRESS withoutPort = address;
    withoutPort.SetPort(0);
    return withoutPort.ToText();
}

bool ParseTypedAddress(const std::wstring& text, JUX_IP_ADDRESS& address) {
    address.Clear();
    const std::wstring trimmed = Trimmed(text);
    // The entry takes a bare address: a port ("[...]:n" or "a.b.c.d:n") or a prefix is refused.
    if (trimmed.find_first_of(L"[]/") != std::wstring::npos) return false;
    JUX_IP_ADDRESS parsed;
    if (!parsed.Set(trimmed) || parsed.Port() != 0 || parsed.IsUnspecified()) return false;
    address = parsed;
    return true;
}

bool SameHostAddress(const JUX_IP_ADDRESS& a, const JUX_IP_ADDRESS& b) {
    if (a.family != b.family) return false;
    if (a.family == JUX_IP_ADDRESS::kFamilyIpv4) return std::memcmp(a.Ipv4(), b.Ipv4(), 4) == 0;
    if (a.family == JUX_IP_ADDRESS::kFamilyIpv6) return std::memcmp(a.Ipv6(), b.Ipv6(), 16) == 0;
    return false;
}
