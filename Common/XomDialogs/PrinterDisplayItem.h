#pragma once
// What the printer connect dialog shows of one printer: the tree entry's text and the lines
// beneath it, and the address text a user may type.
#include <cstddef>
#include <string>
#include <vector>

#include "juxcommoncode/JuxNetwork/JuxIpAddress.h"
#include "juxcommoncode/PrinterData/XomMachine.h"

// One entry of the printer tree.
class CPrinterDisplayItem {
  public:
    std::wstring m_displayText;  // shown in place of the name when not empty
    std::wstring m_printerName;
    std::wstring m_community;
    OctetArray m_physicalAddress;
    std::vector<JuxNetwork::JUX_IP_ADDRESS> m_addresses;
    std::size_t m_chosenAddress = 0;

    // The item of an agent (or printer record): its name, community, MAC and address.
    static CPrinterDisplayItem FromAgent(const CSnmpAgent& agent);

    // The display text, else the printer name, else the first address's text, else "Unknown".
    std::wstring EntryText() const;
    // The chosen address; null for an item without addresses (the "None" entry).
    const JuxNetwork::JUX_IP_ADDRESS* ChosenAddress() const;
};

// The texts the lines beneath an entry are made of.
struct PrinterLineLabels {
    std::wstring address;    // "IP Address:"
    std::wstring mac;        // "MAC Address:"
    std::wstring community;  // "SNMP Community:"
};

// The lines beneath an entry: one per address (label and address text without port), the printer
// name when there is one, then the MAC address ("%.2X" bytes joined by "-") or, without one, the
// community ("(null)" when empty).
std::vector<std::wstring> PrinterLines(const CPrinterDisplayItem& item,
                                       const PrinterLineLabels& labels);

// The address as the entry shows it: without port, with the IPv6 scope.
std::wstring AddressEntryText(const JuxNetwork::JUX_IP_ADDRESS& address);

// A typed printer address: IPv4 other than 0.0.0.0, or a non-zero IPv6 address with an optional
// scope; no port, prefix or host name. False (address cleared) for anything else.
bool ParseTypedAddress(const std::wstring& text, JuxNetwork::JUX_IP_ADDRESS& address);

// Same family and address octets; ports and scopes are not compared.
bool SameHostAddress(const JuxNetwork::JUX_IP_ADDRESS& a, const JuxNetwork::JUX_IP_ADDRESS& b);
