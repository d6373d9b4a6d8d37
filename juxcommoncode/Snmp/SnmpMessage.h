#pragma once
// CSnmpMessage: one SNMP version 1 message (version, community, PDU), written to or read from a
// serializer in one Serialize call. A request is built as a default message plus AddVarbind calls;
// a received datagram is parsed by Serialize on a buffer made ready for reading.
#include <cstdint>
#include <string>

#include "juxcommoncode/Snmp/BerTriple.h"
#include "juxcommoncode/Snmp/SnmpPdu.h"
#include "juxcommoncode/Snmp/SnmpVarbind.h"

namespace JuxNetwork {

class CSnmpMessage : public CBerTripleBase {
  public:
    // Version 0 (SNMP version 1), community "tamsel", an empty GetRequest with request id 0.
    CSnmpMessage();

    std::uint32_t GetContentLength() const override;
    // Sequence tag, length, version, community, PDU. Reading a tag other than Sequence fails with
    // kBerErrorInvalidArg ("Error: retrieved SnmpMessage base type is not a sequence: %s"). Before
    // reading a received datagram, SetReadLimit(position + datagram size) keeps every length
    // inside it. A failed read leaves what was read in place; the caller discards the message.
    HRESULT Serialize(CJuxSerializer& serializer) override;

    // Appends a varbind named by the identifier text ("1.3.6.1.2.1.1.5.0") with a Null value and
    // returns it (owned by the message) so the caller may set another value.
    CSnmpVarbind* AddVarbind(const std::wstring& oidText);

    // The integer of an Integer32 element: true and its value; false and 0 for any other element.
    static bool GetIntegerValue(const CBerTripleWithData& element, std::int32_t& value);

    // Developer trace: "\n\n<prefix or CSnmpMessage>:\n   Community:.. RequestId:.. Error:..
    // ErrorIndex:.. PduType:.. VarbindCount:.." and one line per varbind.
    std::wstring ToText(const char* prefix = nullptr) const;

    CBerTripleWithData& Version() { return m_version; }
    const CBerTripleWithData& Version() const { return m_version; }
    CBerTripleWithData& Community() { return m_community; }
    const CBerTripleWithData& Community() const { return m_community; }
    CSnmpPdu& Pdu() { return m_pdu; }
    const CSnmpPdu& Pdu() const { return m_pdu; }

    // Shorthands for the fields every caller touches.
    void SetCommunity(const std::wstring& community) { m_community.SetOctetStringText(community); }
    void SetPduType(std::uint8_t pduType) { m_pdu.SetTag(pduType); }
    std::uint8_t GetPduType() const { return m_pdu.GetTag(); }
    void SetRequestId(std::int32_t id) { m_pdu.RequestId().SetInteger32(id); }
    CSnmpVarbindList& Varbinds() { return m_pdu.Varbinds(); }
    const CSnmpVarbindList& Varbinds() const { return m_pdu.Varbinds(); }

  private:
    CBerTripleWithData m_version;
    CBerTripleWithData m_community;
    CSnmpPdu m_pdu;
};

}  // namespace JuxNetwork
