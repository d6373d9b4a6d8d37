#pragma once
// A test's private Ethernet: a client namespace and some device namespaces, all joined by a bridge
// in a namespace of its own. The client may have several adapters on the link (one printer then
// answers on each). IPv4 10.201.x.0/24 (client adapters .1, .2, ...; devices .10, .11, ...) with
// broadcast, and IPv6 link-local addresses (client fe80::1, ...; devices fe80::a, ...). Everything
// is removed again by the destructor. Creating namespaces needs root.
#include <functional>
#include <string>
#include <vector>

class NetworkNamespaceLan {
  public:
    NetworkNamespaceLan(int devices, int clientAdapters = 1);
    ~NetworkNamespaceLan();
    NetworkNamespaceLan(const NetworkNamespaceLan&) = delete;
    NetworkNamespaceLan& operator=(const NetworkNamespaceLan&) = delete;

    bool Created() const { return m_created; }
    const std::string& Failure() const { return m_failure; }

    std::string DeviceIpv4(int device) const {
        return m_subnet + "." + std::to_string(10 + device);
    }
    std::string DeviceIpv6(int device) const;

    // Runs work on a thread that has entered the namespace, and waits for it.
    bool RunInClient(const std::function<void()>& work) const;
    bool RunInDevice(int device, const std::function<void()>& work) const;

  private:
    bool Run(const std::string& command);
    bool Attach(const std::string& ns, const std::string& name, const std::string& ipv4,
                const std::string& ipv6);

    std::string m_id;
    std::string m_bridge;
    std::string m_client;
    std::vector<std::string> m_devices;
    std::string m_subnet;
    int m_links = 0;
    bool m_created = false;
    std::string m_failure;
};
