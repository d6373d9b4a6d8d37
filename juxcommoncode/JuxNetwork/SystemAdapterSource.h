#pragma once
// The adapter source of this machine: getifaddrs. Its AF_PACKET entries give each interface's
// index, hardware type and MAC address; an interface with a "wireless" entry in the network class
// folder of sysfs is 802.11.
#include <string>

#include "juxcommoncode/JuxNetwork/AdapterSource.h"

namespace JuxNetwork {

// The interface type of an interface with the given hardware type (ARPHRD_*), interface flags
// (IFF_*) and wireless mark: 71 for wireless Ethernet framing, 6 for Ethernet, 24 loopback, 131
// tunnels, 1 anything else.
std::uint32_t InterfaceTypeOf(unsigned hardwareType, unsigned flags, bool wireless);

class CSystemAdapterSource : public IAdapterSource {
  public:
    explicit CSystemAdapterSource(std::string sysClassNet = "/sys/class/net")
        : m_sysClassNet(std::move(sysClassNet)) {}
    bool ListAddresses(std::vector<AdapterAddressRecord>& records) override;

  private:
    bool IsWireless(const std::string& interfaceName) const;
    std::string m_sysClassNet;
};

}  // namespace JuxNetwork
