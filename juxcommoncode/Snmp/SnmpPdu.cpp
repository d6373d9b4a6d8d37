#include "juxcommoncode/Snmp/SnmpPdu.h"

namespace JuxNetwork {

CSnmpPdu::CSnmpPdu(std::uint8_t pduType)
    : CBerTripleBase(pduType),
      m_requestId(kBerTagInteger32),
      m_errorStatus(kBerTagInteger32),
      m_errorIndex(kBerTagInteger32) {}

std::uint32_t CSnmpPdu::GetContentLength() const {
    return m_requestId.GetEncodedLength() + m_errorStatus.GetEncodedLength() +
           m_errorIndex.GetEncodedLength() + m_varbinds.GetEncodedLength();
}

HRESULT CSnmpPdu::Serialize(CJuxSerializer& serializer) {
    if (Failed(SerializeTag(serializer))) return serializer.GetResult();
    std::uint32_t length = 0;
    if (Failed(SerializeLength(serializer, length))) return serializer.GetResult();
    std::uint64_t end = 0;
    if (!serializer.IsStoring()) {
        end = ContentEnd(serializer, length);
        m_requestId.SetReadLimit(end);
        m_errorStatus.SetReadLimit(end);
        m_errorIndex.SetReadLimit(end);
        m_varbinds.SetReadLimit(end);
    }
    if (Failed(m_requestId.Serialize(serializer))) return serializer.GetResult();
    if (Failed(m_errorStatus.Serialize(serializer))) return serializer.GetResult();
    if (Failed(m_errorIndex.Serialize(serializer))) return serializer.GetResult();
    if (Failed(m_varbinds.Serialize(serializer))) return serializer.GetResult();
    if (!serializer.IsStoring()) return CheckContentEnd(serializer, end);
    return serializer.GetResult();
}

}  // namespace JuxNetwork
