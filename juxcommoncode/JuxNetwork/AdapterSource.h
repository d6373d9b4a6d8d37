#pragma once
// Where the adapter list comes from. The manager asks an IAdapterSource for every address of every
// interface and keeps the usable ones itself, so the rules can be exercised on fixed lists and the
// real system is one implementation among others.
#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/JuxNetwork/JuxIpAddress.h"

namespace JuxNetwork {

// One unicast address of one interface, as the system reports it.
struct AdapterAddressRecord {
    std::wstring friendlyName;
    std::uint32_t interfaceIndex = 0;
    std::uint32_t interfaceType = 0;  // 6 Ethernet, 71 802.11, 24 loopback, 131 tunnel, 1 other
    bool up = false;                  // administratively up and running
    std::vector<std::uint8_t> physicalAddress;
    JUX_IP_ADDRESS address;  // IPv4 or IPv6; other families are passed on and dropped later
    std::uint8_t prefixLength = 0;
};

class IAdapterSource {
  public:
    virtual ~IAdapterSource() = default;
    // Fills records in the system's order. False (with a trace) when the system cannot be asked;
    // a machine without interfaces succeeds with no records.
    virtual bool ListAddresses(std::vector<AdapterAddressRecord>& records) = 0;
};

}  // namespace JuxNetwork
