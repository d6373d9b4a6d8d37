#include "juxcommoncode/PrinterData/UserEntries.h"

#include "juxcommoncode/PrinterData/ResponseValues.h"
#include "juxcommoncode/Snmp/BerCodedData.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"

namespace {

// The stored hash and the two salts, as the user and accounting-value rows show them.
void AppendSecrets(std::wstring& text, const OctetArray& token, const OctetArray& salt,
                   const OctetArray& serverSalt) {
    text += L"\n       ClientAuthToken: " + JuxNetwork::FormatOctetDump(token);
    text += L"\n       ClientAuthSalt: " + JuxNetwork::FormatOctetDump(salt);
    text += L"\n       ServerAuthSalt: " + JuxNetwork::FormatOctetDump(serverSalt);
}

}  // namespace

void CXomUserEntry::AddRowRequest(JuxNetwork::CSnmpMessage& message,
                                  const std::wstring& rowSuffix) {
    AddColumnVarbinds(message, GetBaseOid(), {L".1", L".2", L".3", L".4", L".5", L".6", L".7"},
                      rowSuffix);
}

bool CXomUserEntry::ParseRow(const JuxNetwork::CSnmpMessage& response) {
    const CResponseValues values(response);
    if (!values.Unsigned(0, m_index) || !values.Text(1, m_name) ||
        !values.Octets(2, m_clientAuthToken) || !values.Octets(3, m_clientAuthSalt) ||
        !values.Octets(4, m_serverAuthSalt))
        return false;
    values.Integer(5, m_monoAllowed);
    values.Integer(6, m_colorAllowed);
    return true;
}

void CXomUserEntry::AppendText(std::wstring& text) const {
    text += L"\n  Index:" + std::to_wstring(m_index) + L",  " + L"Name:" + m_name + L", ";
    AppendSecrets(text, m_clientAuthToken, m_clientAuthSalt, m_serverAuthSalt);
    text += L"\n       Allowed: Mono: " + std::to_wstring(m_monoAllowed) + L", Color: " +
            std::to_wstring(m_colorAllowed);
}

void CXomAccountingInformationEntry::AddRowRequest(JuxNetwork::CSnmpMessage& message,
                                                   const std::wstring& rowSuffix) {
    AddColumnVarbinds(message, GetBaseOid(), {L".1", L".2", L".3", L".4", L".5"}, rowSuffix);
}

bool CXomAccountingInformationEntry::ParseRow(const JuxNetwork::CSnmpMessage& response) {
    const CResponseValues values(response);
    return values.Unsigned(0, m_index) && values.Integer(1, m_access) && values.Text(2, m_prompt) &&
           values.Text(3, m_default) && values.Integer(4, m_typeId);
}

void CXomAccountingInformationEntry::AppendText(std::wstring& text) const {
    text += L"\n   Index: " + std::to_wstring(m_index) + L",  " + L"Prompt: " + m_prompt + L",  " +
            L"Default :" + m_default + L",   " + L"TypeId: " + std::to_wstring(m_typeId) + L",   " +
            L"Access: " + std::to_wstring(m_access);
}

void CXomAccountingInformationChildEntry::AddRowRequest(JuxNetwork::CSnmpMessage& message,
                                                        const std::wstring& rowSuffix) {
    AddColumnVarbinds(message, GetBaseOid(), {L".1", L".2", L".3", L".4", L".5"}, rowSuffix);
}

bool CXomAccountingInformationChildEntry::ParseRow(const JuxNetwork::CSnmpMessage& response) {
    const CResponseValues values(response);
    return values.Unsigned(0, m_index) && values.Text(1, m_name) &&
           values.Octets(2, m_clientAuthToken) && values.Octets(3, m_clientAuthSalt) &&
           values.Octets(4, m_serverAuthSalt);
}

void CXomAccountingInformationChildEntry::AppendText(std::wstring& text) const {
    text += L"\n   Index:" + std::to_wstring(m_index) + L", " + L"Name:" + m_name + L", ";
    AppendSecrets(text, m_clientAuthToken, m_clientAuthSalt, m_serverAuthSalt);
}

void CXomUserAccountingData::AddRequest(JuxNetwork::CSnmpMessage& message) {
    const std::wstring base = GetBaseOid();
    for (const wchar_t* column : {L".1.0", L".2.1.0", L".2.2.0", L".2.3.0"})
        message.AddVarbind(base + column);
}

bool CXomUserAccountingData::ParseResponse(const JuxNetwork::CSnmpMessage& response) {
    const CResponseValues values(response);
    return values.Octets(0, m_sessionSalt) && values.Integer(1, m_userAccess) &&
           values.Text(2, m_userNamePrompt) && values.Text(3, m_userNameDefault);
}

void CXomUserAccountingData::AppendText(std::wstring& text) const {
    text += L"\n   SessionSalt: " + JuxNetwork::FormatOctetDump(m_sessionSalt);
    text += L"\n   UserAccess: " + std::to_wstring(m_userAccess);
    text += L"\n   UserNamePrompt: " + m_userNamePrompt;
    text += L"\n   UserNameDefault: " + m_userNameDefault;
}
