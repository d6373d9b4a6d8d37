#include "juxcommoncode/JuxNetwork/NetIpIoManager.h"

#include <algorithm>
#include <system_error>

#include "juxcommoncode/JuxNetwork/NetworkTrace.h"
#include "juxcommoncode/JuxNetwork/SocketAddress.h"
#include "juxcommoncode/JuxNetwork/SystemAdapterSource.h"

namespace JuxNetwork {

namespace {

// How long Stop() lets the workers finish the completion in hand before it closes the port.
constexpr std::chrono::milliseconds kWorkerEndWait{1000};

}  // namespace

unsigned CNetIpIoManager::WorkerThreadCountFor(unsigned processors) {
    return std::clamp(2 * processors, 2u, kMaxWorkerThreads);
}

CNetIpIoManager::CNetIpIoManager(NetIpIoManagerOptions options) : m_options(std::move(options)) {
    if (!m_options.adapterSource)
        m_options.adapterSource = std::make_shared<CSystemAdapterSource>();
    const unsigned processors = m_options.processorCount != 0 ? m_options.processorCount
                                                              : std::thread::hardware_concurrency();
    m_workerCount = WorkerThreadCountFor(processors);
}

CNetIpIoManager::~CNetIpIoManager() {
    Stop();
}

CNetIpIoManager::WorkerThreadProc CNetIpIoManager::GetWorkerThreadProc() {
    return [this](CCompletionPort& port) { RunWorker(port); };
}

bool CNetIpIoManager::Start() {
    if (m_started) return true;
    try {
        m_port = std::make_unique<CCompletionPort>();
    } catch (const std::system_error& error) {
        TraceSocketError(L"\nStart() cannot create the completion port", error.code().value());
        Stop();
        return false;
    }
    m_stopping.store(false, std::memory_order_release);
    const WorkerThreadProc procedure = GetWorkerThreadProc();
    if (!procedure) {
        TraceNetwork(L"\nStart(): no worker procedure");
        Stop();
        return false;
    }
    for (unsigned i = 0; i < m_workerCount; ++i) {
        try {
            {
                std::lock_guard<std::mutex> guard(m_workersLock);
                ++m_workersRunning;
            }
            m_workers.emplace_back([this, procedure, port = m_port.get()] {
                procedure(*port);
                {
                    std::lock_guard<std::mutex> guard(m_workersLock);
                    --m_workersRunning;
                }
                m_workerEnded.notify_all();
            });
        } catch (const std::system_error& error) {
            {
                std::lock_guard<std::mutex> guard(m_workersLock);
                --m_workersRunning;
            }
            TraceSocketError(L"\nStart() cannot create a worker thread", error.code().value());
            Stop();
            return false;
        }
    }
    m_started = true;
    return true;
}

void CNetIpIoManager::WaitForWorkers() {
    {
        std::unique_lock<std::mutex> guard(m_workersLock);
        m_workerEnded.wait_for(guard, kWorkerEndWait, [this] { return m_workersRunning == 0; });
    }
    // A worker still busy ends at its next wait once the port is closed. Every thread is joined:
    // one left running would go on touching the contexts deleted below.
    if (m_port) m_port->Close();
    for (std::thread& worker : m_workers) {
        if (worker.joinable()) worker.join();
    }
    m_workers.clear();
}

void CNetIpIoManager::Stop() {
    m_stopping.store(true, std::memory_order_release);
    if (m_port) {
        for (std::size_t i = 0; i < m_workers.size(); ++i) m_port->Post(Completion{});
    }
    WaitForWorkers();
    m_adapters.clear();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        for (const auto& context : m_socketContexts) context->Close();
        // The sockets go before the port they run on.
        m_socketContexts.clear();
    }
    m_port.reset();
    m_started = false;
}

bool CNetIpIoManager::RefreshAdapters() {
    m_adapters.clear();
    std::vector<AdapterAddressRecord> records;
    if (!m_options.adapterSource->ListAddresses(records)) return false;
    m_adapters = BuildAdapterList(records);
    return true;
}

const CAdapterInterface* CNetIpIoManager::FindAdapterFor(const JUX_IP_ADDRESS& destination) const {
    return JuxNetwork::FindAdapterFor(m_adapters, destination);
}

void CNetIpIoManager::AddSocketContext(std::unique_ptr<CSocketContext> context) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_socketContexts.push_back(std::move(context));
}

void CNetIpIoManager::PurgeSocketContexts() {
    std::lock_guard<std::mutex> guard(m_lock);
    std::erase_if(m_socketContexts, [](const std::unique_ptr<CSocketContext>& context) {
        context->FreeIdleIoContexts();
        // The I/O count first: a worker takes its hold before it frees an I/O context.
        return context->IsClosed() && context->GetIoContextCount() == 0 &&
               !context->IsDispatching() && !context->IsAwaitingPeerEnd();
    });
}

std::size_t CNetIpIoManager::GetSocketContextCount() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_socketContexts.size();
}

void CNetIpIoManager::HandleFailedCompletion(const Completion& completion) {
    if (completion.io != nullptr) completion.io->SetFree();
    completion.key->CloseSocket();
    completion.key->Notify(CSocketContext::kNoticeIoFailed);
}

void CNetIpIoManager::RunWorker(CCompletionPort& port) {
    while (!IsStopping()) {
        Completion completion;
        if (!port.Wait(completion)) return;  // the port was closed
        // Taken while the completion's I/O context is still busy, so the context cannot be
        // purged before this dispatch is over.
        const CSocketContext::DispatchHold hold(completion.key);
        if (IsStopping()) return;
        if (completion.error == asio::error::operation_aborted) {
            // The socket was closed under the operation; whoever closed it knows.
            if (completion.io != nullptr) completion.io->SetFree();
            continue;
        }
        if (completion.key == nullptr || completion.io == nullptr) return;  // Stop()'s wake-up
        if (completion.error) {
            HandleFailedCompletion(completion);
            continue;
        }
        CSocketContext& context = *completion.key;
        CIoContext& io = *completion.io;
        switch (io.GetOperation()) {
            case CIoContext::kTcpLastSend:
                io.SetFree();
                context.FreeIdleIoContexts();
                // Delivered means the printer took the whole job and ended the connection.
                context.AwaitPeerEnd();
                break;
            case CIoContext::kUdpReceive:
                if (completion.octets > 0) {
                    io.Buffer().SetDataSize(completion.octets);
                    io.m_peerAddress = FromEndpoint(io.m_peerEndpoint);
                    OnDatagramReceived(context, io, completion.octets);
                } else {
                    io.SetFree();
                }
                context.StartReceive();
                break;
            default:  // a TCP send with more to follow, a finished datagram send
                io.SetFree();
                break;
        }
    }
}

void CNetIpIoManager::OnDatagramReceived(CSocketContext& context, CIoContext& io,
                                         std::size_t octets) {
    (void)context;
    TraceNetwork(L"\nDatagram of " + std::to_wstring(octets) + L" octets from " +
                 io.m_peerAddress.ToText() +
                 L" dropped: this manager serves no protocol on its UDP sockets");
    io.SetFree();
}

}  // namespace JuxNetwork
