#pragma once
// CSnmpVarbind: one variable binding (object identifier and value) of an SNMP PDU, and
// CSnmpVarbindList, the ordered list of them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "juxcommoncode/Snmp/BerTriple.h"

namespace JuxNetwork {

class CSnmpVarbind : public CBerTripleBase {
  public:
    // An empty identifier bound to Null.
    CSnmpVarbind() : CBerTripleBase(kBerTagSequence), m_value(kBerTagNull) {}

    std::uint32_t GetContentLength() const override;
    // Sequence tag, length, name, value; on reading, name and value must fill the length exactly.
    // Reading a tag other than Sequence fails with
    // kBerErrorInvalidArg ("Error: retrieved Varbind base type is not a sequence: %s").
    HRESULT Serialize(CJuxSerializer& serializer) override;
    virtual void CopyFrom(const CSnmpVarbind& other);

    // "<name>  [<type name>]  <value>"; octet strings that are not valid UTF-8 text, empty or
    // hold unprintable characters show (also) as an octet dump.
    std::wstring ToText() const;

    CBerTripleObjId& Name() { return m_name; }
    const CBerTripleObjId& Name() const { return m_name; }
    CBerTripleWithData& Value() { return m_value; }
    const CBerTripleWithData& Value() const { return m_value; }

  private:
    CBerTripleObjId m_name;
    CBerTripleWithData m_value;
};

class CSnmpVarbindList : public CBerTripleBase {
  public:
    CSnmpVarbindList() : CBerTripleBase(kBerTagSequence) {}

    std::uint32_t GetContentLength() const override;
    // Storing: tag, length, each varbind in order. Loading: empties the list; a tag other than
    // Sequence fails with kBerErrorInvalidArg ("Error: retrieved VarbindList base type is not a
    // sequence: %s"); then reads varbinds until the list's length is consumed. A varbind that fails
    // to read is discarded and its error returned; the ones before it stay.
    HRESULT Serialize(CJuxSerializer& serializer) override;
    // Empties the list, then appends a copy of each of the other's varbinds in order.
    virtual void CopyFrom(const CSnmpVarbindList& other);

    // Deletes every varbind, last first.
    void RemoveAll();
    // Appends a new empty varbind and returns it (owned by the list).
    CSnmpVarbind* Add();
    std::size_t GetCount() const { return m_varbinds.size(); }
    CSnmpVarbind& GetAt(std::size_t index) { return *m_varbinds.at(index); }
    const CSnmpVarbind& GetAt(std::size_t index) const { return *m_varbinds.at(index); }

  private:
    std::vector<std::unique_ptr<CSnmpVarbind>> m_varbinds;
};

}  // namespace JuxNetwork
