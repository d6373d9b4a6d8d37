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

// Once free, the context may be deleted by the owner's clean-up at any moment, and the owner with
// it: a context being set free is counted before it is, and is not touched after. The count never
// falls below the true number of free contexts (a context set free twice counts twice), so taking
// one never misses a free context; at worst it looks through the list for nothing.
void CIoContext::SetOperation(std::uint16_t operation) {
    CSocketContext* owner = m_owner;
    if (operation == kFree) {
        if (owner != nullptr) owner->CountFreeIoContexts(1);
        m_operation.store(operation, std::memory_order_release);
        return;
    }
    // Taking a context: it belongs to the caller, its owner is alive.
    const std::uint16_t before = m_operation.exchange(operation, std::memory_order_acq_rel);
    if (before == kFree && owner != nullptr) owner->CountFreeIoContexts(-1);
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
