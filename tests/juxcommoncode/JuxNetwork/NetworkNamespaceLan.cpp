#include "NetworkNamespaceLan.h"

#include "NetworkNamespacePair.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

NetworkNamespaceLan::NetworkNamespaceLan(int devices, int clientAdapters) {
    m_id = std::to_string(getpid() % 100000);
    m_bridge = "juxlb" + m_id;
    m_client = "juxlc" + m_id;
    m_subnet = "10.201." + std::to_string(getpid() % 250);
    // A run that ended without its destructors (a sanitizer's halt) may have left these names.
    for (int i = 0; i < devices; ++i) m_devices.push_back("juxld" + m_id + "_" + std::to_string(i));
    std::vector<std::string> stale = m_devices;
    stale.push_back(m_client);
    stale.push_back(m_bridge);
    for (const std::string& name : stale)
        if (std::system(("ip netns del " + name + " 2>/dev/null").c_str()) != 0) continue;
    m_created = Run("ip netns add " + m_bridge) && Run("ip netns add " + m_client) &&
                Run("ip -n " + m_bridge + " link add br0 type bridge") &&
                Run("ip -n " + m_bridge + " link set br0 up");
    for (int i = 0; m_created && i < clientAdapters; ++i) {
        m_created =
            Attach(m_client, "c" + std::to_string(i), m_subnet + "." + std::to_string(1 + i),
                   "fe80::" + std::to_string(1 + i));
    }
    for (int i = 0; m_created && i < devices; ++i) {
        const std::string& name = m_devices[static_cast<std::size_t>(i)];
        m_created = Run("ip netns add " + name) && Run("ip -n " + name + " link set lo up") &&
                    Attach(name, "d" + std::to_string(i), DeviceIpv4(i), DeviceIpv6(i));
    }
    m_created = m_created && Run("ip -n " + m_client + " link set lo up");
}

NetworkNamespaceLan::~NetworkNamespaceLan() {
    // Deleting a namespace removes its ends of the veth pairs, and with them the other ends.
    std::vector<std::string> all = m_devices;
    all.push_back(m_client);
    all.push_back(m_bridge);
    for (const std::string& name : all) {
        if (std::system(("ip netns del " + name + " 2>/dev/null").c_str()) != 0) continue;
    }
}

std::string NetworkNamespaceLan::DeviceIpv6(int device) const {
    char text[32];
    std::snprintf(text, sizeof text, "fe80::%x", 10 + device);
    return text;
}

bool NetworkNamespaceLan::Attach(const std::string& ns, const std::string& name,
                                 const std::string& ipv4, const std::string& ipv6) {
    // The veth's names are unique on the host while both ends are still there.
    const std::string inside = "v" + name + "_" + m_id, outside = "b" + name + "_" + m_id;
    const std::string ip = "ip -n " + ns + " ";
    ++m_links;
    return Run("ip link add " + inside + " type veth peer name " + outside) &&
           Run("ip link set " + inside + " netns " + ns) &&
           Run("ip link set " + outside + " netns " + m_bridge) &&
           Run("ip -n " + m_bridge + " link set " + outside + " master br0") &&
           Run("ip -n " + m_bridge + " link set " + outside + " up") &&
           Run(ip + "addr add " + ipv4 + "/24 broadcast " + m_subnet + ".255 dev " + inside) &&
           Run(ip + "addr add " + ipv6 + "/64 dev " + inside + " nodad") &&
           // No link-local address of the kernel's own beside the given one: an agent answering
           // from either would count as two printers.
           Run(ip + "link set " + inside + " addrgenmode none") &&
           Run(ip + "link set " + inside + " up");
}

bool NetworkNamespaceLan::Run(const std::string& command) {
    if (std::system((command + " 2>/dev/null").c_str()) == 0) return true;
    if (m_failure.empty()) m_failure = "\"" + command + "\" failed";
    return false;
}

bool NetworkNamespaceLan::RunInClient(const std::function<void()>& work) const {
    return RunInNamespace(m_client, work);
}

bool NetworkNamespaceLan::RunInDevice(int device, const std::function<void()>& work) const {
    return RunInNamespace(m_devices.at(static_cast<std::size_t>(device)), work);
}
