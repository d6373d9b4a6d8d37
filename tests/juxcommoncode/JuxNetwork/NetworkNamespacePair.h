#pragma once
// Two network namespaces joined by a veth pair, as a test's private network: "client" holds
// 10.200.x.1/24 and fe80::1 on its end, "device" 10.200.x.2/24 and fe80::2. Everything is removed
// again by the destructor. Creating namespaces needs root; Created() tells whether it worked.
#include <functional>
#include <string>

// Runs work on a thread of its own that has entered the named namespace, and waits for it. Sockets
// created there belong to the namespace. False when the namespace cannot be entered.
bool RunInNamespace(const std::string& name, const std::function<void()>& work);

class NetworkNamespacePair {
  public:
    NetworkNamespacePair();
    ~NetworkNamespacePair();
    NetworkNamespacePair(const NetworkNamespacePair&) = delete;
    NetworkNamespacePair& operator=(const NetworkNamespacePair&) = delete;

    bool Created() const { return m_created; }
    // What went wrong when Created() is false.
    const std::string& Failure() const { return m_failure; }

    const std::string& ClientInterface() const { return m_clientInterface; }
    std::string ClientIpv4() const { return m_subnet + ".1"; }
    std::string DeviceIpv4() const { return m_subnet + ".2"; }

    // Runs work on a thread of its own that has entered the namespace, and waits for it. Sockets
    // created there belong to the namespace. False when the namespace cannot be entered.
    bool RunInClient(const std::function<void()>& work) const { return RunIn(m_client, work); }
    bool RunInDevice(const std::function<void()>& work) const { return RunIn(m_device, work); }

  private:
    bool Run(const std::string& command);
    bool RunIn(const std::string& name, const std::function<void()>& work) const;

    std::string m_client;
    std::string m_device;
    std::string m_clientInterface;
    std::string m_subnet;
    bool m_created = false;
    std::string m_failure;
};
