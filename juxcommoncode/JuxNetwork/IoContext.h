#pragma once
// CIoContext: one prepared or outstanding operation of a socket context, which creates and owns
// it. Its buffer holds the data; the buffer's block list is the scatter/gather list handed to the
// socket. While an operation is in flight only the worker that completes it touches the context;
// setting the operation back to free (0) hands it back to the socket context's pool.
#include <asio/ip/udp.hpp>
#include <atomic>
#include <cstdint>

#include "juxcommoncode/JuxNetwork/JuxIpAddress.h"
#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"

namespace JuxNetwork {

class CSocketContext;

class CIoContext {
  public:
    enum Operation : std::uint16_t {
        kFree = 0,
        kTcpBuffer = 3,     // an output buffer being filled, not yet submitted
        kTcpSend = 4,       // TCP send in flight, more data follows
        kTcpLastSend = 5,   // the last TCP send of a job in flight
        kUdpReceive = 6,    // UDP receive in flight
        kHeldResponse = 7,  // a matched response held for the waiting requester
        kUdpSend = 8,       // UDP send in flight
    };
    static constexpr int kPeerAddressLength = 28;

    CIoContext(CSocketContext* owner, std::uint32_t firstChunkSize, std::uint32_t nextChunkSize);
    CIoContext(const CIoContext&) = delete;
    CIoContext& operator=(const CIoContext&) = delete;

    CJuxSerializingBuffer& Buffer() { return m_buffer; }
    CSocketContext* Owner() const { return m_owner; }

    std::uint16_t GetOperation() const { return m_operation.load(std::memory_order_acquire); }
    // Publishes everything done to the context before it, to whoever next takes the context; the
    // owner keeps count of its free contexts.
    void SetOperation(std::uint16_t operation);
    void SetFree() { SetOperation(kFree); }
    bool IsFree() const { return GetOperation() == kFree; }

    // Prepares the context for a new operation: empty buffer, no peer, flags 0.
    void Reset(std::uint16_t operation);

    std::uint64_t m_bytesToSend = 0;
    std::uint64_t m_bytesSent = 0;  // progress of a TCP send that the socket took in pieces
    std::uint32_t m_receiveFlags = 0;
    JUX_IP_ADDRESS m_peerAddress;  // the sender of a received datagram
    int m_peerAddressLength = kPeerAddressLength;
    asio::ip::udp::endpoint m_peerEndpoint;  // filled by the socket during a receive

  private:
    CSocketContext* m_owner;
    CJuxSerializingBuffer m_buffer;
    std::atomic<std::uint16_t> m_operation{kFree};
};

}  // namespace JuxNetwork
