#pragma once
// CSocketContext: one UDP socket bound to an adapter, or one TCP connection to a printer, with the
// pool of its I/O contexts and the notice by which the workers tell the waiting application thread
// what happened.
//
// Threads: application threads create the context (through CNetIpIoManager), take I/O contexts,
// start operations and wait on the notice event; workers complete the operations. The context's
// lock guards the socket and the I/O context list; it is taken after the manager's lock, never
// before it. Sends on a TCP connection leave in the order submitted, each one whole.
#include <array>
#include <asio/ip/tcp.hpp>
#include <asio/ip/udp.hpp>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>

#include "juxcommoncode/JuxNetwork/IoContext.h"
#include "juxcommoncode/JuxNetwork/JuxIpAddress.h"
#include "juxcommoncode/JuxNetwork/NoticeEvent.h"

namespace JuxNetwork {

class CNetIpIoManager;

// Results of Send() besides 0 (started) and the socket error codes.
inline constexpr std::uint32_t kSendBadArguments = 160;  // no I/O context, or not operation 4 or 5
inline constexpr std::uint32_t kSendBufferInError = 4313;  // the buffer recorded a failed write
inline constexpr std::uint32_t kSendBufferEmpty = 4306;    // nothing to send

class CSocketContext {
  public:
    enum NoticeStatus : std::uint32_t {
        kNoticeNone = 0,
        kNoticeJobSent = 1,       // the last TCP send completed and the socket was closed
        kNoticeIoFailed = 2,      // an I/O operation failed
        kNoticeResponseHeld = 3,  // a matched response is waiting
    };
    static constexpr std::uint32_t kDefaultChunkSize = 1024;
    static constexpr std::uint32_t kTcpChunkSize = 8192;
    // Room a posted receive gives a datagram: the largest UDP payload, so nothing is cut off.
    static constexpr std::uint64_t kReceiveCapacity = 65536;

    explicit CSocketContext(CNetIpIoManager* manager);
    ~CSocketContext();
    CSocketContext(const CSocketContext&) = delete;
    CSocketContext& operator=(const CSocketContext&) = delete;

    // Gives the context its socket (once, before it is shared with the workers).
    void AdoptSocket(std::unique_ptr<asio::ip::udp::socket> socket);
    void AdoptSocket(std::unique_ptr<asio::ip::tcp::socket> socket);

    // A free I/O context set to operation, taken from the pool or created; never null.
    CIoContext* GetIoContext(std::uint16_t operation);
    // Posts one UDP receive. False when the socket is closed or the receive cannot be posted.
    bool StartReceive();
    // Submits the buffer of io as the next TCP send; operation is 4 (more follows) or 5 (last).
    // 0 when the send was started, else kSendBadArguments, kSendBufferInError, kSendBufferEmpty or
    // a socket error code (the I/O context is then set free).
    std::uint32_t Send(CIoContext* io, std::uint16_t operation);
    // Sends the buffer of io (operation 8) as one datagram to the remote address; results as
    // Send().
    std::uint32_t SendDatagram(CIoContext* io);

    // Shuts down both ways and closes abortively (linger on, time 0). Nothing when already closed.
    void Close();
    // Closes the socket only (a TCP connection delivers what it was given). Nothing when closed.
    void CloseSocket();
    // After the last send of a job: ends the sending side (the printer sees the job's end) and
    // waits for the printer to end the connection. The notice says the job was sent when it
    // does, and that I/O failed when it resets the connection instead: a printer that drops a job
    // after the socket took the bytes must not pass for one that printed it.
    void AwaitPeerEnd();
    bool IsAwaitingPeerEnd() const { return m_awaitingPeerEnd.load(std::memory_order_acquire); }

    // A worker handling one of the context's completions holds it for the whole dispatch: the
    // dispatch may free the context's last busy I/O context and still touch the context after
    // (start the next receive, close it, notify), so a closed context is only deleted once no
    // worker holds it.
    class DispatchHold {
      public:
        explicit DispatchHold(CSocketContext* context) : m_context(context) {
            if (m_context) m_context->m_dispatching.fetch_add(1, std::memory_order_seq_cst);
        }
        ~DispatchHold() {
            if (m_context) m_context->m_dispatching.fetch_sub(1, std::memory_order_seq_cst);
        }
        DispatchHold(const DispatchHold&) = delete;
        DispatchHold& operator=(const DispatchHold&) = delete;

      private:
        CSocketContext* m_context;
    };
    bool IsDispatching() const { return m_dispatching.load(std::memory_order_seq_cst) > 0; }
    bool IsClosed() const;

    void FreeIdleIoContexts();
    std::size_t GetIoContextCount() const;
    // I/O contexts whose operation is not free.
    std::size_t GetBusyIoContextCount() const;

    // The notice: status and handed-over I/O context are set before the event is signalled.
    CNoticeEvent& GetNoticeEvent() { return m_noticeEvent; }
    std::uint32_t GetNoticeStatus() const { return m_noticeStatus.load(std::memory_order_acquire); }
    CIoContext* GetHandedOverIoContext() const {
        return m_handedOver.load(std::memory_order_acquire);
    }
    void Notify(std::uint32_t status, CIoContext* handedOver = nullptr);

    CNetIpIoManager* GetManager() const { return m_manager; }
    int GetSocketAtCreation() const { return m_socketAtCreation; }
    void SetChunkSizes(std::uint32_t first, std::uint32_t next);

    JUX_IP_ADDRESS m_remoteAddress;  // destination of SendDatagram()
    JUX_IP_ADDRESS m_localAddress;   // from the system after binding or connecting

  private:
    void StartSendPiece(CIoContext* io);
    void ReadUntilPeerEnd();
    void OnSendProgress(CIoContext* io, std::error_code error, std::size_t octets);
    void DropQueuedSends();
    bool IsOpenLocked() const;
    void CloseLocked();

    // Kept by the I/O contexts as they are taken and set free, so that taking one need not walk
    // a list of thousands in flight when a job outpaces its printer.
    friend class CIoContext;
    void CountFreeIoContexts(std::ptrdiff_t change) {
        m_freeIoContexts.fetch_add(change, std::memory_order_acq_rel);
    }

    CNetIpIoManager* m_manager;
    std::unique_ptr<asio::ip::udp::socket> m_udp;
    std::unique_ptr<asio::ip::tcp::socket> m_tcp;
    int m_socketAtCreation = -1;
    CNoticeEvent m_noticeEvent;
    std::atomic<std::uint32_t> m_noticeStatus{kNoticeNone};
    std::atomic<CIoContext*> m_handedOver{nullptr};
    mutable std::recursive_mutex m_lock;
    std::list<std::unique_ptr<CIoContext>> m_ioContexts;
    std::atomic<std::ptrdiff_t> m_freeIoContexts{0};
    std::deque<CIoContext*> m_sendQueue;  // TCP sends in order; the front one is on the socket
    std::atomic<bool> m_awaitingPeerEnd{false};
    std::atomic<int> m_dispatching{0};
    std::array<char, 512> m_drain{};  // what a printer says on the job port is read and dropped
    std::uint32_t m_firstChunkSize = kDefaultChunkSize;
    std::uint32_t m_nextChunkSize = kDefaultChunkSize;
};

}  // namespace JuxNetwork
