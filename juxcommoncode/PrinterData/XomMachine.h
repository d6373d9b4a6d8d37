#pragma once
// A printer record: the agent's address and identity texts, MAC address and community; the
// driver's selected printer (CXomMachine) adds the printer data read from it, none until read.
#include <memory>
#include <string>

#include "juxcommoncode/JuxNetwork/JuxIpAddress.h"
#include "juxcommoncode/PrinterData/PrinterData.h"

class CSnmpAgent {
  public:
    virtual ~CSnmpAgent() = default;

    JuxNetwork::JUX_IP_ADDRESS m_address;
    std::wstring m_sysDescription;
    std::wstring m_sysName;
    std::wstring m_sysLocation;
    OctetArray m_physicalAddress;
    std::wstring m_community;
};

class CXomMachine : public CSnmpAgent {
  public:
    std::unique_ptr<CXomPrinterData> m_printerData;  // owned; null until read

    // Forgets the identity and the printer data.
    void Reset() {
        m_printerData.reset();
        static_cast<CSnmpAgent&>(*this) = CSnmpAgent{};
    }
    // Takes the other record's (or an agent's) address, texts, physical address and community;
    // the printer data is not copied.
    void CopyIdentity(const CSnmpAgent& other) { static_cast<CSnmpAgent&>(*this) = other; }
};
