#include "juxcommoncode/JuxNetwork/SocketContext.h"

#include <asio/buffer.hpp>
#include <cerrno>
#include <vector>

#include "juxcommoncode/JuxNetwork/CompletionPort.h"
#include "juxcommoncode/JuxNetwork/NetworkTrace.h"
#include "juxcommoncode/JuxNetwork/SocketAddress.h"

namespace JuxNetwork {

namespace {

// A socket takes at most this many buffers per call; a longer list is sent in several pieces.
constexpr std::size_t kMaxPieces = 64;

std::vector<asio::const_buffer> GatherList(CJuxSerializingBuffer& buffer, std::uint64_t skip) {
    std::vector<asio::const_buffer> pieces;
    const JuxSocketBuffer* blocks = buffer.GetBlockList();
    const std::size_t used = buffer.GetUsedBlockCount();
    for (std::size_t i = 0; i < used && pieces.size() < kMaxPieces; ++i) {
        const std::uint64_t length = blocks[i].len;
        if (blocks[i].buf == nullptr || length == 0) continue;
        if (skip >= length) {
            skip -= length;
            continue;
        }
        pieces.emplace_back(blocks[i].buf + skip, static_cast<std::size_t>(length - skip));
        skip = 0;
    }
    return pieces;
}

std::vector<asio::mutable_buffer> ScatterList(CJuxSerializingBuffer& buffer) {
    std::vector<asio::mutable_buffer> pieces;
    JuxSocketBuffer* blocks = buffer.GetBlockList();
    for (std::size_t i = 0; i < buffer.GetBlockCount() && pieces.size() < kMaxPieces; ++i) {
        if (blocks[i].buf != nullptr && blocks[i].len != 0)
            pieces.emplace_back(blocks[i].buf, blocks[i].len);
    }
    return pieces;
}

std::wstring SocketName(int socket) {
    return L"Socket:" + std::to_wstring(socket);
}

}  // namespace

CSocketContext::CSocketContext(CNetIpIoManager* manager) : m_manager(manager) {}

CSocketContext::~CSocketContext() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    CloseLocked();
    m_sendQueue.clear();
    m_ioContexts.clear();
}

void CSocketContext::AdoptSocket(std::unique_ptr<asio::ip::udp::socket> socket) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_socketAtCreation = socket->native_handle();
    m_udp = std::move(socket);
}

void CSocketContext::AdoptSocket(std::unique_ptr<asio::ip::tcp::socket> socket) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_socketAtCreation = socket->native_handle();
    m_tcp = std::move(socket);
}

void CSocketContext::SetChunkSizes(std::uint32_t first, std::uint32_t next) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_firstChunkSize = first;
    m_nextChunkSize = next;
}

CIoContext* CSocketContext::GetIoContext(std::uint16_t operation) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    CIoContext* io = nullptr;
    if (m_freeIoContexts.load(std::memory_order_acquire) > 0) {
        for (const auto& candidate : m_ioContexts) {
            if (candidate->IsFree()) {
                io = candidate.get();
                break;
            }
        }
    }
    if (io == nullptr) {
        m_ioContexts.push_back(
            std::make_unique<CIoContext>(this, m_firstChunkSize, m_nextChunkSize));
        io = m_ioContexts.back().get();
    }
    io->Reset(operation);
    return io;
}

bool CSocketContext::IsOpenLocked() const {
    return (m_udp && m_udp->is_open()) || (m_tcp && m_tcp->is_open());
}

bool CSocketContext::IsClosed() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return !IsOpenLocked();
}

bool CSocketContext::StartReceive() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!m_udp || !m_udp->is_open()) return false;
    CIoContext* io = GetIoContext(CIoContext::kUdpReceive);
    if (Failed(io->Buffer().ReserveForReceive(kReceiveCapacity))) {
        TraceNetwork(L"\nStartReceive() cannot reserve the receive buffer for " +
                     SocketName(m_socketAtCreation));
        io->SetFree();
        return false;
    }
    m_udp->async_receive_from(ScatterList(io->Buffer()), io->m_peerEndpoint,
                              [this, io](const std::error_code& error, std::size_t octets) {
                                  CCompletionPort::Deliver({this, io, octets, error});
                              });
    return true;
}

std::uint32_t CSocketContext::Send(CIoContext* io, std::uint16_t operation) {
    if (io == nullptr ||
        (operation != CIoContext::kTcpSend && operation != CIoContext::kTcpLastSend)) {
        return kSendBadArguments;
    }
    CJuxSerializingBuffer& buffer = io->Buffer();
    if (!buffer.GetErrorText().empty()) return kSendBufferInError;
    if (buffer.GetDataSize() == 0) return kSendBufferEmpty;
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!m_tcp || !m_tcp->is_open()) {
        TraceSocketError(
            L"\nSend() on a closed connection, formerly " + SocketName(m_socketAtCreation), EBADF);
        io->SetFree();
        return EBADF;
    }
    io->m_bytesToSend = buffer.GetDataSize();
    io->m_bytesSent = 0;
    io->SetOperation(operation);
    m_sendQueue.push_back(io);
    if (m_sendQueue.size() == 1) StartSendPiece(io);
    return 0;
}

void CSocketContext::StartSendPiece(CIoContext* io) {
    m_tcp->async_send(GatherList(io->Buffer(), io->m_bytesSent),
                      [this, io](const std::error_code& error, std::size_t octets) {
                          OnSendProgress(io, error, octets);
                      });
}

void CSocketContext::OnSendProgress(CIoContext* io, std::error_code error, std::size_t octets) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        if (!error && octets == 0) error = std::make_error_code(std::errc::broken_pipe);
        if (!error) {
            io->m_bytesSent += octets;
            if (io->m_bytesSent < io->m_bytesToSend) {
                // The socket took part of the buffer: the rest goes before any later send.
                if (m_tcp && m_tcp->is_open()) {
                    StartSendPiece(io);
                    return;
                }
                error = asio::error::operation_aborted;
            }
        }
        if (!m_sendQueue.empty() && m_sendQueue.front() == io) m_sendQueue.pop_front();
        if (error) {
            DropQueuedSends();
        } else if (!m_sendQueue.empty() && m_tcp && m_tcp->is_open()) {
            StartSendPiece(m_sendQueue.front());
        }
    }
    CCompletionPort::Deliver({this, io, static_cast<std::size_t>(io->m_bytesSent), error});
}

// Sends queued behind a failed or closed connection never reach the socket: they are set free.
void CSocketContext::DropQueuedSends() {
    while (!m_sendQueue.empty()) {
        m_sendQueue.front()->SetFree();
        m_sendQueue.pop_front();
    }
}

std::uint32_t CSocketContext::SendDatagram(CIoContext* io) {
    if (io == nullptr) return kSendBadArguments;
    CJuxSerializingBuffer& buffer = io->Buffer();
    if (!buffer.GetErrorText().empty()) return kSendBufferInError;
    if (buffer.GetDataSize() == 0) return kSendBufferEmpty;
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!m_udp || !m_udp->is_open()) {
        TraceSocketError(
            L"\nSendDatagram() on a closed socket, formerly " + SocketName(m_socketAtCreation),
            EBADF);
        io->SetFree();
        return EBADF;
    }
    io->m_bytesToSend = buffer.GetDataSize();
    io->SetOperation(CIoContext::kUdpSend);
    m_udp->async_send_to(GatherList(buffer, 0),
                         ToEndpoint<asio::ip::udp::endpoint>(m_remoteAddress),
                         [this, io](const std::error_code& error, std::size_t octets) {
                             CCompletionPort::Deliver({this, io, octets, error});
                         });
    return 0;
}

void CSocketContext::CloseLocked() {
    std::error_code ignored;
    if (m_udp && m_udp->is_open()) m_udp->close(ignored);
    if (m_tcp && m_tcp->is_open()) m_tcp->close(ignored);
}

void CSocketContext::Close() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!IsOpenLocked()) return;
    if (m_tcp && m_tcp->is_open()) {
        std::error_code ignored;
        m_tcp->shutdown(asio::socket_base::shutdown_both, ignored);
        m_tcp->set_option(asio::socket_base::linger(true, 0), ignored);
    }
    // Sends still queued never started; the one on the socket completes as aborted.
    while (m_sendQueue.size() > 1) {
        m_sendQueue.back()->SetFree();
        m_sendQueue.pop_back();
    }
    CloseLocked();
}

void CSocketContext::CloseSocket() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!IsOpenLocked()) return;
    while (m_sendQueue.size() > 1) {
        m_sendQueue.back()->SetFree();
        m_sendQueue.pop_back();
    }
    CloseLocked();
}

void CSocketContext::AwaitPeerEnd() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!m_tcp || !m_tcp->is_open()) {
        Notify(kNoticeIoFailed);
        return;
    }
    std::error_code error;
    m_tcp->shutdown(asio::socket_base::shutdown_send, error);
    if (error) {
        CloseLocked();
        Notify(kNoticeIoFailed);
        return;
    }
    m_awaitingPeerEnd.store(true, std::memory_order_release);
    ReadUntilPeerEnd();
}

void CSocketContext::ReadUntilPeerEnd() {
    m_tcp->async_receive(asio::buffer(m_drain), [this](const std::error_code& error, std::size_t) {
        std::uint32_t status = kNoticeNone;
        {
            std::lock_guard<std::recursive_mutex> guard(m_lock);
            if (!error && m_tcp && m_tcp->is_open()) {
                ReadUntilPeerEnd();  // the printer said something; its end is still to come
                return;
            }
            if (error == asio::error::eof) {
                status = kNoticeJobSent;
            } else if (error != asio::error::operation_aborted) {
                TraceSocketError(L"\nThe printer ended the job's connection with an error",
                                 error.value());
                status = kNoticeIoFailed;
            }
            CloseLocked();
        }
        // The wait is over before it is told, so that whoever the notice wakes may purge the
        // context. Closed under the wait (a cancel): whoever closed it knows; nothing is told.
        m_awaitingPeerEnd.store(false, std::memory_order_release);
        if (status != kNoticeNone) Notify(status);
    });
}

void CSocketContext::FreeIdleIoContexts() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    const std::size_t removed =
        m_ioContexts.remove_if([](const std::unique_ptr<CIoContext>& io) { return io->IsFree(); });
    CountFreeIoContexts(-static_cast<std::ptrdiff_t>(removed));
}

std::size_t CSocketContext::GetIoContextCount() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_ioContexts.size();
}

std::size_t CSocketContext::GetBusyIoContextCount() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    std::size_t busy = 0;
    for (const auto& io : m_ioContexts) busy += io->IsFree() ? 0 : 1;
    return busy;
}

void CSocketContext::Notify(std::uint32_t status, CIoContext* handedOver) {
    m_handedOver.store(handedOver, std::memory_order_release);
    m_noticeStatus.store(status, std::memory_order_release);
    m_noticeEvent.Set();
}

}  // namespace JuxNetwork
