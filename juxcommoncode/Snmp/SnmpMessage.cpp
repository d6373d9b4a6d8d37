#include "juxcommoncode/Snmp/SnmpMessage.h"

#include <cwchar>

#include "juxcommoncode/Snmp/BerDataInteger.h"
#include "juxcommoncode/Snmp/BerDataOctetString.h"

namespace JuxNetwork {

CSnmpMessage::CSnmpMessage()
    : CBerTripleBase(kBerTagSequence),
      m_version(kBerTagInteger32),
      m_community(kBerTagOctetString),
      m_pdu(kBerTagGetRequestPdu) {
    m_community.GetDataAs<CBerDataOctetString>()->SetFromText(L"tamsel");
}

std::uint32_t CSnmpMessage::GetContentLength() const {
    return m_version.GetEncodedLength() + m_community.GetEncodedLength() + m_pdu.GetEncodedLength();
}

HRESULT CSnmpMessage::Serialize(CJuxSerializer& serializer) {
    if (Failed(SerializeTag(serializer))) return serializer.GetResult();
    std::uint32_t length = 0;
    if (Failed(SerializeLength(serializer, length))) return serializer.GetResult();
    std::uint64_t end = 0;
    if (!serializer.IsStoring()) {
        if (m_tag != kBerTagSequence) {
            return FailWithType(
                serializer, L"Error: retrieved SnmpMessage base type is not a sequence: ", m_tag);
        }
        end = ContentEnd(serializer, length);
        m_version.SetReadLimit(end);
        m_community.SetReadLimit(end);
        m_pdu.SetReadLimit(end);
    }
    if (Failed(m_version.Serialize(serializer))) return serializer.GetResult();
    if (Failed(m_community.Serialize(serializer))) return serializer.GetResult();
    if (Failed(m_pdu.Serialize(serializer))) return serializer.GetResult();
    if (!serializer.IsStoring()) return CheckContentEnd(serializer, end);
    return serializer.GetResult();
}

CSnmpVarbind* CSnmpMessage::AddVarbind(const std::wstring& oidText) {
    CSnmpVarbind* varbind = m_pdu.Varbinds().Add();
    varbind->Name().SetFromText(oidText);
    varbind->Value().SetNull();
    return varbind;
}

bool CSnmpMessage::GetIntegerValue(const CBerTripleWithData& element, std::int32_t& value) {
    value = 0;
    if (element.GetTag() != kBerTagInteger32) return false;
    const auto* integer = element.GetDataAs<CBerDataInteger32>();
    if (!integer) return false;
    value = integer->GetValue();
    return true;
}

std::wstring CSnmpMessage::ToText(const char* prefix) const {
    std::wstring text = L"\n\n";
    if (prefix) {
        for (const char* p = prefix; *p; ++p)
            text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    } else {
        text += L"CSnmpMessage";
    }
    const CSnmpVarbindList& varbinds = m_pdu.Varbinds();
    text += L":\n   Community:" + m_community.ValueText();
    text += L"  RequestId:" + m_pdu.RequestId().ValueText();
    text += L"  Error:" + m_pdu.ErrorStatus().ValueText();
    text += L"  ErrorIndex:" + m_pdu.ErrorIndex().ValueText();
    text += L"  PduType:" + BerTypeName(m_pdu.GetTag());
    text += L"  VarbindCount:" + std::to_wstring(varbinds.GetCount());
    for (std::size_t i = 0; i < varbinds.GetCount(); ++i) {
        if (varbinds.GetCount() < 2) {
            text += L"\n         ";
        } else {
            text += L"\n   " + std::to_wstring(i) + L":   ";
        }
        text += varbinds.GetAt(i).ToText();
    }
    return text;
}

}  // namespace JuxNetwork
