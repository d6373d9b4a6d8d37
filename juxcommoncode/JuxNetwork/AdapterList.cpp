#include "juxcommoncode/JuxNetwork/AdapterList.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace JuxNetwork {

namespace {

bool IsUsable(const AdapterAddressRecord& record) {
    const bool knownFamily = record.address.family == JUX_IP_ADDRESS::kFamilyIpv4 ||
                             record.address.family == JUX_IP_ADDRESS::kFamilyIpv6;
    const bool knownType = record.interfaceType == kInterfaceTypeEthernet ||
                           record.interfaceType == kInterfaceTypeIeee80211;
    return record.up && knownType && knownFamily;
}

bool AlreadyKept(const AdapterList& adapters, const AdapterAddressRecord& record) {
    return std::any_of(adapters.begin(), adapters.end(), [&](const auto& adapter) {
        return adapter->m_ipv6InterfaceIndex == record.interfaceIndex &&
               adapter->m_friendlyName == record.friendlyName &&
               adapter->m_localAddress == record.address;
    });
}

bool InSubnet(const CAdapterInterface& adapter, const JUX_IP_ADDRESS& destination) {
    std::uint32_t local = 0, remote = 0;
    std::memcpy(&local, adapter.m_localAddress.Ipv4(), 4);
    std::memcpy(&remote, destination.Ipv4(), 4);
    return (local & adapter.m_ipv4SubnetMask) == (remote & adapter.m_ipv4SubnetMask);
}

const CAdapterInterface* FirstMatch(
    const AdapterList& adapters,
    const std::vector<std::function<bool(const CAdapterInterface&)>>& rules) {
    for (const auto& rule : rules) {
        for (const auto& adapter : adapters) {
            if (rule(*adapter)) return adapter.get();
        }
    }
    return nullptr;
}

}  // namespace

AdapterList BuildAdapterList(const std::vector<AdapterAddressRecord>& records) {
    AdapterList adapters;
    for (const AdapterAddressRecord& record : records) {
        if (!IsUsable(record) || AlreadyKept(adapters, record)) continue;
        auto adapter = std::make_unique<CAdapterInterface>();
        adapter->m_localAddress = record.address;
        adapter->m_ipv6InterfaceIndex = record.interfaceIndex;
        adapter->m_friendlyName = record.friendlyName;
        adapter->m_physicalAddress = record.physicalAddress;
        adapter->m_prefixLength = record.prefixLength;
        adapter->m_interfaceType = record.interfaceType;
        SetBroadcastAddress(*adapter);
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}

const CAdapterInterface* FindAdapterFor(const AdapterList& adapters,
                                        const JUX_IP_ADDRESS& destination) {
    if (destination.family == JUX_IP_ADDRESS::kFamilyIpv6) {
        const bool linkLocal = destination.IsLinkLocal();
        const auto sameScope = [linkLocal](const CAdapterInterface& a) {
            return a.IsIpv6() && a.m_localAddress.IsLinkLocal() == linkLocal;
        };
        return FirstMatch(
            adapters,
            {
                [&](const CAdapterInterface& a) { return sameScope(a) && a.IsEthernet(); },
                sameScope,
                [](const CAdapterInterface& a) { return a.IsIpv6() && a.IsEthernet(); },
                [](const CAdapterInterface& a) { return a.IsIpv6(); },
            });
    }
    if (destination.family == JUX_IP_ADDRESS::kFamilyIpv4) {
        const auto inSubnet = [&](const CAdapterInterface& a) {
            return a.IsIpv4() && InSubnet(a, destination);
        };
        return FirstMatch(
            adapters, {
                          [&](const CAdapterInterface& a) { return inSubnet(a) && a.IsEthernet(); },
                          inSubnet,
                          [](const CAdapterInterface& a) { return a.IsIpv4() && a.IsEthernet(); },
                          [](const CAdapterInterface& a) { return a.IsIpv4(); },
                      });
    }
    return nullptr;
}

}  // namespace JuxNetwork
