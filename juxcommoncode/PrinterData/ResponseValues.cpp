#include "juxcommoncode/PrinterData/ResponseValues.h"

#include "juxcommoncode/Snmp/BerDataInteger.h"
#include "juxcommoncode/Snmp/BerTags.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"

using JuxNetwork::CBerTripleWithData;

std::size_t CResponseValues::Count() const {
    return m_response.Varbinds().GetCount();
}

const CBerTripleWithData* CResponseValues::At(std::size_t position, std::uint8_t tag) const {
    if (position >= Count()) return nullptr;
    const CBerTripleWithData& value = m_response.Varbinds().GetAt(position).Value();
    return value.GetTag() == tag ? &value : nullptr;
}

bool CResponseValues::Unsigned(std::size_t position, std::uint32_t& out) const {
    const CBerTripleWithData* value = At(position, JuxNetwork::kBerTagUInteger32);
    if (!value) return false;
    const auto* number = value->GetDataAs<JuxNetwork::CBerDataUnInteger32>();
    out = number ? number->GetValue() : 0;
    return true;
}

bool CResponseValues::Integer(std::size_t position, std::int32_t& out) const {
    const CBerTripleWithData* value = At(position, JuxNetwork::kBerTagInteger32);
    if (!value) return false;
    JuxNetwork::CSnmpMessage::GetIntegerValue(*value, out);
    return true;
}

bool CResponseValues::Text(std::size_t position, std::wstring& out) const {
    const CBerTripleWithData* value = At(position, JuxNetwork::kBerTagOctetString);
    if (!value) return false;
    out = value->ValueText();
    return true;
}

bool CResponseValues::Octets(std::size_t position, OctetArray& out) const {
    const CBerTripleWithData* value = At(position, JuxNetwork::kBerTagOctetString);
    if (!value) return false;
    out = value->GetData() ? value->GetData()->GetOctets() : OctetArray{};
    return true;
}

void AddColumnVarbinds(JuxNetwork::CSnmpMessage& message, const std::wstring& base,
                       std::initializer_list<const wchar_t*> columns, const std::wstring& suffix) {
    for (const wchar_t* column : columns) {
        std::wstring name = base;
        name.append(column).append(suffix);
        message.AddVarbind(name);
    }
}
