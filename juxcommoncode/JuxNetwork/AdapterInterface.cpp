#include "juxcommoncode/JuxNetwork/AdapterInterface.h"

#include <arpa/inet.h>

#include <cstring>

#include "juxcommoncode/JuxNetwork/NetworkTrace.h"

namespace JuxNetwork {

std::uint32_t Ipv4MaskFromPrefix(unsigned prefixLength) {
    if (prefixLength == 0) return 0;
    if (prefixLength >= 32) return 0xFFFFFFFFu;
    return htonl(~((1u << (32 - prefixLength)) - 1));
}

void SetBroadcastAddress(CAdapterInterface& adapter) {
    adapter.m_broadcastAddress.Clear();
    if (adapter.IsIpv4()) {
        adapter.m_ipv4SubnetMask = Ipv4MaskFromPrefix(adapter.m_prefixLength);
        std::uint32_t local = 0;
        std::memcpy(&local, adapter.m_localAddress.Ipv4(), 4);
        const std::uint32_t broadcast =
            (local & adapter.m_ipv4SubnetMask) | ~adapter.m_ipv4SubnetMask;
        adapter.m_broadcastAddress.family = JUX_IP_ADDRESS::kFamilyIpv4;
        std::memcpy(adapter.m_broadcastAddress.Ipv4(), &broadcast, 4);
    } else if (adapter.IsIpv6()) {
        adapter.m_ipv4SubnetMask = 0;
        // A failure is noted and the adapter kept; its broadcast address then stays all zero.
        if (!adapter.m_broadcastAddress.Set(L"ff02::01")) TraceNetwork(LastIpAddressParseTrace());
        adapter.m_broadcastAddress.SetPort(0);
    }
}

}  // namespace JuxNetwork
