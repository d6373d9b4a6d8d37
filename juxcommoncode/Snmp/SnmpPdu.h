#pragma once
// CSnmpPdu: an SNMP version 1 PDU: request id, error status, error index and the varbind list.
// The tag is the PDU type (GetRequest, GetNextRequest, GetResponse, SetRequest).
#include <cstdint>

#include "juxcommoncode/Snmp/BerTriple.h"
#include "juxcommoncode/Snmp/SnmpVarbind.h"

namespace JuxNetwork {

class CSnmpPdu : public CBerTripleBase {
  public:
    // Request id, error status and error index 0 (each the single octet 00), an empty list.
    explicit CSnmpPdu(std::uint8_t pduType = kBerTagGetRequestPdu);

    std::uint32_t GetContentLength() const override;
    // Tag, length, request id, error status, error index, list; on reading they must fill the
    // length exactly. Any tag is accepted on reading;
    // the caller interprets the PDU type, like the error status.
    HRESULT Serialize(CJuxSerializer& serializer) override;

    CBerTripleWithData& RequestId() { return m_requestId; }
    const CBerTripleWithData& RequestId() const { return m_requestId; }
    CBerTripleWithData& ErrorStatus() { return m_errorStatus; }
    const CBerTripleWithData& ErrorStatus() const { return m_errorStatus; }
    CBerTripleWithData& ErrorIndex() { return m_errorIndex; }
    const CBerTripleWithData& ErrorIndex() const { return m_errorIndex; }
    CSnmpVarbindList& Varbinds() { return m_varbinds; }
    const CSnmpVarbindList& Varbinds() const { return m_varbinds; }

  private:
    CBerTripleWithData m_requestId;
    CBerTripleWithData m_errorStatus;
    CBerTripleWithData m_errorIndex;
    CSnmpVarbindList m_varbinds;
};

}  // namespace JuxNetwork
