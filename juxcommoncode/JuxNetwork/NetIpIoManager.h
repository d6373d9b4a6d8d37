#pragma once
// CNetIpIoManager: the driver's asynchronous socket layer. It owns the completion port, the worker
// threads that wait on it, the list of local adapters and every socket context the driver opens.
//
// Threads: the host's thread (dialogs, plot) starts and stops the manager, refreshes the adapters
// and creates sockets; the workers run GetWorkerThreadProc() and handle each completion on exactly
// one of them. The manager lock guards the socket-context list and is taken before a socket
// context's lock, never after it. The adapter list belongs to the host's thread.
//
// A subclass that overrides the worker procedure or OnDatagramReceived() calls Stop() in its own
// destructor, so that no worker runs its code once it is gone.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "juxcommoncode/JuxNetwork/AdapterList.h"
#include "juxcommoncode/JuxNetwork/AdapterSource.h"
#include "juxcommoncode/JuxNetwork/CompletionPort.h"
#include "juxcommoncode/JuxNetwork/SocketContext.h"

namespace JuxNetwork {

struct NetIpIoManagerOptions {
    // The printer's job port. Tests point it at a listener of their own.
    std::uint16_t printerPort = 9100;
    std::chrono::milliseconds connectTimeout{15000};
    // Processors to size the worker pool for; 0 asks the machine.
    unsigned processorCount = 0;
    // Where the adapters come from; null means this machine's interfaces.
    std::shared_ptr<IAdapterSource> adapterSource;
};

class CNetIpIoManager {
  public:
    using WorkerThreadProc = std::function<void(CCompletionPort&)>;
    static constexpr unsigned kMaxWorkerThreads = 8;

    explicit CNetIpIoManager(NetIpIoManagerOptions options = {});
    virtual ~CNetIpIoManager();
    CNetIpIoManager(const CNetIpIoManager&) = delete;
    CNetIpIoManager& operator=(const CNetIpIoManager&) = delete;

    // The procedure every worker runs with the completion port. This class gives the TCP and
    // generic handling; a received datagram goes to OnDatagramReceived().
    virtual WorkerThreadProc GetWorkerThreadProc();

    // Starts the port and the workers; true when already started.
    bool Start();
    // Ends the workers, closes every socket and deletes every context and adapter. Pending
    // operations are abandoned.
    void Stop();
    bool IsStarted() const { return m_started; }

    // Twice the processors, at most 8.
    static unsigned WorkerThreadCountFor(unsigned processors);
    unsigned GetWorkerThreadCount() const { return m_workerCount; }

    bool RefreshAdapters();
    const AdapterList& GetAdapters() const { return m_adapters; }
    const CAdapterInterface* FindAdapterFor(const JUX_IP_ADDRESS& destination) const;

    // A UDP socket bound to the adapter's address (any port), or null. With broadcast, IPv4 may
    // send to the broadcast address and IPv6 joins the adapter's all-nodes group. Needs Start().
    CSocketContext* CreateUdpSocket(const CAdapterInterface& adapter, bool broadcast);
    // A TCP connection to the printer port of destination (its own port is ignored), or null after
    // the connect time-out. A link-local IPv6 destination takes its zone from its adapter.
    CSocketContext* ConnectTcp(const JUX_IP_ADDRESS& destination);

    void AddSocketContext(std::unique_ptr<CSocketContext> context);
    // Deletes the idle I/O contexts, and the socket contexts that are closed with none left.
    void PurgeSocketContexts();
    std::size_t GetSocketContextCount() const;

  protected:
    // The generic worker procedure: TCP send completions, finished datagram sends, failures.
    void RunWorker(CCompletionPort& port);
    // A datagram of octets (> 0) arrived in io, whose peer address is filled; the buffer holds it.
    // The handler sets io free or hands it over. Here no protocol is served: it is dropped.
    virtual void OnDatagramReceived(CSocketContext& context, CIoContext& io, std::size_t octets);
    bool IsStopping() const { return m_stopping.load(std::memory_order_acquire); }

  private:
    void HandleFailedCompletion(const Completion& completion);
    void WaitForWorkers();

    NetIpIoManagerOptions m_options;
    bool m_started = false;
    AdapterList m_adapters;
    mutable std::mutex m_lock;
    std::vector<std::unique_ptr<CSocketContext>> m_socketContexts;
    std::unique_ptr<CCompletionPort> m_port;
    unsigned m_workerCount;
    std::vector<std::thread> m_workers;
    std::mutex m_workersLock;
    std::condition_variable m_workerEnded;
    unsigned m_workersRunning = 0;
    std::atomic<bool> m_stopping{false};
};

}  // namespace JuxNetwork
