#include "Common/XomJob/CredentialValidation.h"

#include "Common/XOM/LocalizedString.h"
#include "Common/XomJob/CredentialHash.h"

namespace {

constexpr unsigned kIdsInvalid = 208;   // "Invalid"
constexpr unsigned kIdsRequired = 209;  // "Required"

void AppendPart(std::wstring& message, const std::wstring& prompt, unsigned stringId) {
    if (!message.empty()) message += L" | ";
    message += prompt + L" " + LocalizedString(stringId);
}

// The shared rule over any list of named entries with a stored hash and verification salt.
template <class Entry>
bool ValidateAgainst(int mode, const std::wstring& name, const std::wstring& password,
                     const std::wstring& prompt, std::wstring& message,
                     const std::vector<Entry>& entries, const OctetArray& printerSalt) {
    if (mode == 1) return true;
    if (mode < 1 || mode > 4) return false;
    if (name.empty()) {
        AppendPart(message, prompt, kIdsRequired);
        return false;
    }
    if (mode == 2) return true;
    const Entry* found = nullptr;
    for (const Entry& e : entries) {
        if (e.m_name == name) {
            found = &e;
            break;
        }
    }
    if (found != nullptr &&
        (mode == 3 ||
         VerifyPassword(password, printerSalt, found->m_clientAuthSalt, found->m_clientAuthToken)))
        return true;
    AppendPart(message, prompt, kIdsInvalid);
    return false;
}

}  // namespace

int FindUserByName(const std::wstring& name, const std::vector<CXomUserEntry>& users) {
    for (std::size_t i = 0; i < users.size(); ++i)
        if (users[i].m_name == name) return static_cast<int>(i);
    return -1;
}

bool ValidateUser(int mode, const std::wstring& name, const std::wstring& password,
                  const std::wstring& prompt, std::wstring& message,
                  const std::vector<CXomUserEntry>& users, const OctetArray& printerSalt) {
    return ValidateAgainst(mode, name, password, prompt, message, users, printerSalt);
}

bool ValidateAccountingField(int type, const std::wstring& value, const std::wstring& password,
                             const std::wstring& prompt, std::wstring& message,
                             const std::vector<CXomAccountingInformationChildEntry>& entries,
                             const OctetArray& printerSalt) {
    return ValidateAgainst(type, value, password, prompt, message, entries, printerSalt);
}

bool ValidateCredentials(const DriverSettings& s, const CXomPrinterData* data,
                         std::wstring* messageOut) {
    if (data == nullptr) return false;
    std::wstring message;
    const OctetArray& salt = data->m_userAccounting.m_sessionSalt;
    const int userMode = s.UserPrintSecurity == 1 ? 4 : data->m_userAccounting.m_userAccess;
    const bool user = ValidateUser(userMode, s.UserName, s.UserValidPassword, s.UserPrompt, message,
                                   data->m_users, salt);
    // A printer that reports fewer than two accounting fields cannot validate the missing one.
    const auto& fields = data->m_accountingInformation;
    const bool field0 =
        fields.size() >= 1 &&
        ValidateAccountingField(fields[0].m_access, s.AcctInfo0Name, s.AcctInfo0ValidPassword,
                                s.AcctInfo0Prompt, message, data->m_accountingChildren1, salt);
    const bool field1 =
        fields.size() >= 2 &&
        ValidateAccountingField(fields[1].m_access, s.AcctInfo1Name, s.AcctInfo1ValidPassword,
                                s.AcctInfo1Prompt, message, data->m_accountingChildren2, salt);
    if (messageOut) *messageOut = message;
    return user && field0 && field1;
}
