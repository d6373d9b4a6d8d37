#include "juxcommoncode/JuxNetwork/IoContext.h"

namespace JuxNetwork {

CIoContext::CIoContext(CSocketContext* owner, std::uint32_t firstChunkSize,
                       std::uint32_t nextChunkSize)
    : m_owner(owner) {
    m_buffer.SetFirstBlockSize(firstChunkSize);
    m_buffer.SetNextBlockSize(nextChunkSize);
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
