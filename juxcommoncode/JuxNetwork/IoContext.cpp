#include "juxcommoncode/JuxNetwork/IoContext.h"

#include "juxcommoncode/JuxNetwork/SocketContext.h"

namespace JuxNetwork {

CIoContext::CIoContext(CSocketContext* owner, std::uint32_t firstChunkSize,
                       std::uint32_t nextChunkSize)
    : m_owner(owner) {
    m_buffer.SetFirstBlockSize(firstChunkSize);
    m_buffer.SetNextBlockSize(nextChunkSize);
    if (m_owner != nullptr) m_owner->CountFreeIoContexts(1);
}

void CIoContext::SetOperation(std::uint16_t operation) {
    const std::uint16_t before = m_operation.exchange(operation, std::memory_order_acq_rel);
    if (m_owner == nullptr || (before == kFree) == (operation == kFree)) return;
    m_owner->CountFreeIoContexts(operation == kFree ? 1 : -1);
}

void CIoContext::Reset(std::uint16_t operation) {
    m_buffer.StartWriteTo();
    m_bytesToSend = 0;
    m_bytesSent = 0;
    m_receiveFlags = 0;
    m_peerAddress.Clear();
    m_peerAddressLength = kPeerAddressLength;
    m_peerEndpoint = asio::ip::udp::endpoint();
    SetOperation(operation);
}

}  // namespace JuxNetwork
