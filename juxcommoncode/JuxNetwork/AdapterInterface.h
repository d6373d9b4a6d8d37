#pragma once
// CAdapterInterface: one usable local address of a network adapter that is up and of type
// Ethernet or 802.11, with what sockets bound to it need: the broadcast (IPv4) or all-nodes
// multicast (IPv6) address, the interface index for IPv6 scopes and multicast joins, and the
// adapter's name and physical address for the dialogs.
#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/JuxNetwork/JuxIpAddress.h"

namespace JuxNetwork {

// Interface types as the adapter list reports them; only these two are kept.
inline constexpr std::uint32_t kInterfaceTypeEthernet = 6;
inline constexpr std::uint32_t kInterfaceTypeIeee80211 = 71;

class CAdapterInterface {
  public:
    JUX_IP_ADDRESS m_localAddress;      // as the system reports it, any port
    JUX_IP_ADDRESS m_broadcastAddress;  // IPv4 directed broadcast, or ff02::1 for IPv6
    std::uint32_t m_ipv6InterfaceIndex = 0;
    std::wstring m_friendlyName;
    std::vector<std::uint8_t> m_physicalAddress;
    std::uint32_t m_ipv4SubnetMask = 0;  // network order; 0 for IPv6
    std::uint8_t m_prefixLength = 0;
    std::uint32_t m_interfaceType = 0;

    bool IsIpv4() const { return m_localAddress.family == JUX_IP_ADDRESS::kFamilyIpv4; }
    bool IsIpv6() const { return m_localAddress.family == JUX_IP_ADDRESS::kFamilyIpv6; }
    bool IsEthernet() const { return m_interfaceType == kInterfaceTypeEthernet; }
};

// The IPv4 mask of a prefix length, in network order (lengths above 32 give 32 bits).
std::uint32_t Ipv4MaskFromPrefix(unsigned prefixLength);

// Fills the mask and broadcast address of adapter from its local address and prefix length: for
// IPv4 (address AND mask) OR (NOT mask), for IPv6 the all-nodes address ff02::1. Both get port 0.
void SetBroadcastAddress(CAdapterInterface& adapter);

}  // namespace JuxNetwork
