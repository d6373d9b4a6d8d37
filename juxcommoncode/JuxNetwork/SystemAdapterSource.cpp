#include "juxcommoncode/JuxNetwork/SystemAdapterSource.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <sys/stat.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <map>

#include "juxcommoncode/JuxNetwork/AdapterInterface.h"
#include "juxcommoncode/JuxNetwork/NetworkTrace.h"
#include "juxcommoncode/JuxNetwork/SocketAddress.h"
#include "platform/Utf8.h"

namespace JuxNetwork {

namespace {

constexpr std::uint32_t kInterfaceTypeOther = 1;
constexpr std::uint32_t kInterfaceTypeLoopback = 24;
constexpr std::uint32_t kInterfaceTypeTunnel = 131;

struct LinkInfo {
    std::uint32_t index = 0;
    unsigned hardwareType = 0xFFFF;
    std::vector<std::uint8_t> mac;
};

std::uint8_t PrefixLengthOf(const sockaddr* mask) {
    if (mask == nullptr) return 0;
    const std::uint8_t* octets = nullptr;
    std::size_t count = 0;
    sockaddr_storage copy{};
    if (mask->sa_family == AF_INET) {
        std::memcpy(&copy, mask, sizeof(sockaddr_in));
        octets =
            reinterpret_cast<const std::uint8_t*>(&reinterpret_cast<sockaddr_in*>(&copy)->sin_addr);
        count = 4;
    } else if (mask->sa_family == AF_INET6) {
        std::memcpy(&copy, mask, sizeof(sockaddr_in6));
        octets = reinterpret_cast<const std::uint8_t*>(
            &reinterpret_cast<sockaddr_in6*>(&copy)->sin6_addr);
        count = 16;
    }
    unsigned bits = 0;
    for (std::size_t i = 0; i < count; ++i) bits += static_cast<unsigned>(std::popcount(octets[i]));
    return static_cast<std::uint8_t>(bits);
}

}  // namespace

std::uint32_t InterfaceTypeOf(unsigned hardwareType, unsigned flags, bool wireless) {
    if ((flags & IFF_LOOPBACK) != 0 || hardwareType == ARPHRD_LOOPBACK)
        return kInterfaceTypeLoopback;
    switch (hardwareType) {
        case ARPHRD_ETHER:
            return wireless ? kInterfaceTypeIeee80211 : kInterfaceTypeEthernet;
        case ARPHRD_IEEE80211:
            return kInterfaceTypeIeee80211;
        case ARPHRD_TUNNEL:
        case ARPHRD_TUNNEL6:
        case ARPHRD_SIT:
        case ARPHRD_IPGRE:
        case ARPHRD_NONE:
            return kInterfaceTypeTunnel;
        default:
            return kInterfaceTypeOther;
    }
}

bool CSystemAdapterSource::IsWireless(const std::string& interfaceName) const {
    struct stat info {};
    return stat((m_sysClassNet + "/" + interfaceName + "/wireless").c_str(), &info) == 0;
}

bool CSystemAdapterSource::ListAddresses(std::vector<AdapterAddressRecord>& records) {
    records.clear();
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        TraceSocketError(L"\ngetifaddrs() failed", errno);
        return false;
    }
    std::map<std::string, LinkInfo> links;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_PACKET) continue;
        sockaddr_ll link{};
        std::memcpy(&link, entry->ifa_addr, sizeof link);
        LinkInfo& info = links[entry->ifa_name];
        info.index = static_cast<std::uint32_t>(link.sll_ifindex);
        info.hardwareType = link.sll_hatype;
        const std::size_t length = std::min<std::size_t>(link.sll_halen, sizeof link.sll_addr);
        info.mac.assign(link.sll_addr, link.sll_addr + length);
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr) continue;
        const int family = entry->ifa_addr->sa_family;
        if (family != AF_INET && family != AF_INET6) continue;
        AdapterAddressRecord record;
        record.friendlyName = xomplatform::FromUtf8(entry->ifa_name);
        const auto link = links.find(entry->ifa_name);
        const LinkInfo info = link != links.end() ? link->second : LinkInfo{};
        record.interfaceIndex = info.index != 0 ? info.index : if_nametoindex(entry->ifa_name);
        record.interfaceType =
            InterfaceTypeOf(info.hardwareType, entry->ifa_flags, IsWireless(entry->ifa_name));
        record.up = (entry->ifa_flags & IFF_UP) != 0 && (entry->ifa_flags & IFF_RUNNING) != 0;
        record.physicalAddress = info.mac;
        record.address = FromSockaddr(entry->ifa_addr);
        record.prefixLength = PrefixLengthOf(entry->ifa_netmask);
        records.push_back(std::move(record));
    }
    freeifaddrs(list);
    return true;
}

}  // namespace JuxNetwork
