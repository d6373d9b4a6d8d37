#include "juxcommoncode/Snmp/SnmpVarbind.h"

#include "juxcommoncode/Snmp/Utf8Text.h"

namespace JuxNetwork {

// ---- CSnmpVarbind ---------------------------------------------------------------------------

std::uint32_t CSnmpVarbind::GetContentLength() const {
    return m_name.GetEncodedLength() + m_value.GetEncodedLength();
}

HRESULT CSnmpVarbind::Serialize(CJuxSerializer& serializer) {
    if (Failed(SerializeTag(serializer))) return serializer.GetResult();
    std::uint32_t length = 0;
    if (Failed(SerializeLength(serializer, length))) return serializer.GetResult();
    std::uint64_t end = 0;
    if (!serializer.IsStoring()) {
        if (m_tag != kBerTagSequence) {
            return FailWithType(serializer,
                                L"Error: retrieved Varbind base type is not a sequence: ", m_tag);
        }
        end = ContentEnd(serializer, length);
        m_name.SetReadLimit(end);
        m_value.SetReadLimit(end);
    }
    if (Failed(m_name.Serialize(serializer))) return serializer.GetResult();
    if (Failed(m_value.Serialize(serializer))) return serializer.GetResult();
    if (!serializer.IsStoring()) return CheckContentEnd(serializer, end);
    return serializer.GetResult();
}

void CSnmpVarbind::CopyFrom(const CSnmpVarbind& other) {
    if (&other == this) return;
    m_name.CopyFrom(other.m_name);
    m_value.CopyFrom(other.m_value);
}

std::wstring CSnmpVarbind::ToText() const {
    std::wstring text = m_name.ToText() + L"  ";
    text += L"[" + BerTypeName(m_value.GetTag()) + L"]  ";
    const CBerCodedData* data = m_value.GetData();
    if (!data) return text;
    if (m_value.GetTag() != kBerTagOctetString) return text + data->ToText();

    const BerOctets& octets = data->GetOctets();
    if (!IsValidUtf8(octets.data(), octets.size())) return text + FormatOctetDump(octets);
    const std::wstring value = data->ToText();
    if (value.empty()) return text + FormatOctetDump(octets);
    if (!IsPrintableText(value)) return text + value + L"  " + FormatOctetDump(octets);
    return text + value;
}

// ---- CSnmpVarbindList -----------------------------------------------------------------------

std::uint32_t CSnmpVarbindList::GetContentLength() const {
    std::uint32_t length = 0;
    for (const auto& varbind : m_varbinds) length += varbind->GetEncodedLength();
    return length;
}

HRESULT CSnmpVarbindList::Serialize(CJuxSerializer& serializer) {
    if (Failed(SerializeTag(serializer))) return serializer.GetResult();
    std::uint32_t length = 0;
    if (Failed(SerializeLength(serializer, length))) return serializer.GetResult();
    if (serializer.IsStoring()) {
        for (const auto& varbind : m_varbinds) {
            if (Failed(varbind->Serialize(serializer))) break;
        }
        return serializer.GetResult();
    }
    RemoveAll();
    if (m_tag != kBerTagSequence) {
        return FailWithType(serializer,
                            L"Error: retrieved VarbindList base type is not a sequence: ", m_tag);
    }
    const std::uint64_t end = ContentEnd(serializer, length);
    std::uint64_t consumed = 0;
    while (consumed < length) {
        auto varbind = std::make_unique<CSnmpVarbind>();
        varbind->SetReadLimit(end);
        const std::uint64_t before = serializer.GetPosition();
        if (Failed(varbind->Serialize(serializer))) return serializer.GetResult();
        const std::uint64_t after = serializer.GetPosition();
        m_varbinds.push_back(std::move(varbind));
        // A varbind read always consumes its tag and length octets; this only guards against a
        // serializer whose position does not move.
        if (after <= before) break;
        consumed += after - before;
    }
    return CheckContentEnd(serializer, end);
}

void CSnmpVarbindList::CopyFrom(const CSnmpVarbindList& other) {
    if (&other == this) return;
    RemoveAll();
    for (const auto& varbind : other.m_varbinds) Add()->CopyFrom(*varbind);
}

void CSnmpVarbindList::RemoveAll() {
    while (!m_varbinds.empty()) m_varbinds.pop_back();
}

CSnmpVarbind* CSnmpVarbindList::Add() {
    m_varbinds.push_back(std::make_unique<CSnmpVarbind>());
    return m_varbinds.back().get();
}

}  // namespace JuxNetwork
