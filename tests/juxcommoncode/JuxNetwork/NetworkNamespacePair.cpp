#include "NetworkNamespacePair.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

NetworkNamespacePair::NetworkNamespacePair() {
    const std::string id = std::to_string(getpid() % 100000);
    m_client = "juxc" + id;
    m_device = "juxd" + id;
    m_clientInterface = "vc" + id;
    const std::string deviceInterface = "vd" + id;
    m_subnet = "10.200." + std::to_string(getpid() % 250);
    const std::string ipc = "ip -n " + m_client + " ";
    const std::string ipd = "ip -n " + m_device + " ";
    m_created =
        Run("ip netns add " + m_client) && Run("ip netns add " + m_device) &&
        Run("ip link add " + m_clientInterface + " type veth peer name " + deviceInterface) &&
        Run("ip link set " + m_clientInterface + " netns " + m_client) &&
        Run("ip link set " + deviceInterface + " netns " + m_device) &&
        Run(ipc + "addr add " + ClientIpv4() + "/24 broadcast " + m_subnet + ".255 dev " +
            m_clientInterface) &&
        Run(ipd + "addr add " + DeviceIpv4() + "/24 broadcast " + m_subnet + ".255 dev " +
            deviceInterface) &&
        Run(ipc + "addr add fe80::1/64 dev " + m_clientInterface + " nodad") &&
        Run(ipd + "addr add fe80::2/64 dev " + deviceInterface + " nodad") &&
        Run(ipc + "link set lo up") && Run(ipd + "link set lo up") &&
        Run(ipc + "link set " + m_clientInterface + " up") &&
        Run(ipd + "link set " + deviceInterface + " up");
}

NetworkNamespacePair::~NetworkNamespacePair() {
    // Deleting a namespace removes its end of the veth pair, and with it the other end.
    for (const std::string& name : {m_client, m_device}) {
        if (std::system(("ip netns del " + name + " 2>/dev/null").c_str()) != 0) continue;
    }
}

bool NetworkNamespacePair::Run(const std::string& command) {
    if (std::system((command + " 2>/dev/null").c_str()) == 0) return true;
    if (m_failure.empty()) m_failure = "\"" + command + "\" failed";
    return false;
}

bool NetworkNamespacePair::RunIn(const std::string& name, const std::function<void()>& work) const {
    return RunInNamespace(name, work);
}

bool RunInNamespace(const std::string& name, const std::function<void()>& work) {
    bool entered = false;
    std::thread runner([&] {
        const int fd = open(("/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return;
        entered = setns(fd, CLONE_NEWNET) == 0;
        close(fd);
        if (entered) work();
    });
    runner.join();
    return entered;
}
