#include "Common/XomDialogs/DlgIdentify.h"

#include "Common/XOM/LocalizedString.h"
#include "Common/XomDialogs/DialogText.h"
#include "Common/XomDialogs/SelectionFlows.h"
#include "Common/XomJob/CredentialValidation.h"

namespace {

constexpr unsigned kIdsWarning = 205;      // "Warning"
constexpr unsigned kIdsPleaseEnter = 231;  // "Please Enter"

const CXomAccountingInformationEntry* Field(const CXomPrinterData& data, std::size_t field) {
    return field < data.m_accountingInformation.size() ? &data.m_accountingInformation[field]
                                                       : nullptr;
}

const std::vector<CXomAccountingInformationChildEntry>& FieldEntries(const CXomPrinterData& data,
                                                                     std::size_t field) {
    return field == 0 ? data.m_accountingChildren1 : data.m_accountingChildren2;
}

}  // namespace

std::wstring IdentifyUserLabel(const CXomPrinterData& data) {
    const std::wstring& prompt = data.m_userAccounting.m_userNamePrompt;
    return prompt.empty() ? L"User Name" : prompt;
}

std::wstring IdentifyAccountingLabel(const CXomPrinterData& data, std::size_t field) {
    const CXomAccountingInformationEntry* entry = Field(data, field);
    if (entry != nullptr && !entry->m_prompt.empty()) return entry->m_prompt;
    return field == 0 ? L"Accounting Info 0" : L"Accounting Info 1";
}

int EffectiveUserMode(const DriverSettings& settings, const CXomPrinterData& data) {
    return settings.UserPrintSecurity == 1 ? 4 : data.m_userAccounting.m_userAccess;
}

CDlgIdentify::CDlgIdentify(DriverSettings& settings, const CXomPrinterData* printerData)
    : CXomDialog(kTemplate), m_settings(settings), m_data(printerData) {}

void CDlgIdentify::OnInitDialog() {
    if (m_data != nullptr) {
        m_settings.UserPrompt = IdentifyUserLabel(*m_data);
        m_settings.AcctInfo0Prompt = IdentifyAccountingLabel(*m_data, 0);
        m_settings.AcctInfo1Prompt = IdentifyAccountingLabel(*m_data, 1);
    }
    UpdateRows();
}

void CDlgIdentify::UpdateRows() {
    const unsigned rows[] = {kUserButton, kUserText,    kAcct0Button,
                             kAcct0Text,  kAcct1Button, kAcct1Text};
    if (m_data == nullptr) {
        for (unsigned id : rows) W().Show(id, false);
        W().SetText(kWarning, L" ");
        return;
    }
    const OctetArray& salt = m_data->m_userAccounting.m_sessionSalt;
    std::wstring message;
    const DriverSettings& s = m_settings;
    const bool user = ValidateUser(EffectiveUserMode(s, *m_data), s.UserName, s.UserValidPassword,
                                   s.UserPrompt, message, m_data->m_users, salt);
    const CXomAccountingInformationEntry* field0 = Field(*m_data, 0);
    const CXomAccountingInformationEntry* field1 = Field(*m_data, 1);
    const bool acct0 =
        field0 != nullptr &&
        ValidateAccountingField(field0->m_access, s.AcctInfo0Name, s.AcctInfo0ValidPassword,
                                s.AcctInfo0Prompt, message, m_data->m_accountingChildren1, salt);
    const bool acct1 =
        field1 != nullptr &&
        ValidateAccountingField(field1->m_access, s.AcctInfo1Name, s.AcctInfo1ValidPassword,
                                s.AcctInfo1Prompt, message, m_data->m_accountingChildren2, salt);
    const std::wstring pleaseEnter = LocalizedString(kIdsPleaseEnter);
    W().SetText(kUserButton, s.UserPrompt);
    W().SetText(kUserText, user ? s.UserName : pleaseEnter);
    W().SetText(kAcct0Button, s.AcctInfo0Prompt);
    W().SetText(kAcct0Text, acct0 ? s.AcctInfo0Name : pleaseEnter);
    W().SetText(kAcct1Button, s.AcctInfo1Prompt);
    W().SetText(kAcct1Text, acct1 ? s.AcctInfo1Name : pleaseEnter);
    // A field the printer does not use (mode 1) or does not have cannot be edited.
    W().Enable(kUserButton, EffectiveUserMode(s, *m_data) != 1);
    W().Enable(kAcct0Button, field0 != nullptr && field0->m_access != 1);
    W().Enable(kAcct1Button, field1 != nullptr && field1->m_access != 1);
    W().SetText(kWarning, message.empty() ? std::wstring(L" ") : LabelText(kIdsWarning) + message);
}

void CDlgIdentify::OnControl(unsigned id, xomplatform::Notification what) {
    if (m_data == nullptr || what != xomplatform::Notification::Clicked) return;
    const OctetArray& salt = m_data->m_userAccounting.m_sessionSalt;
    DriverSettings& s = m_settings;
    if (id == kUserButton) {
        SelectUserFlow(s.UserName, s.UserValidPassword, m_data->m_users,
                       EffectiveUserMode(s, *m_data), s.UserPrompt, salt);
    } else if (id == kAcct0Button && Field(*m_data, 0) != nullptr) {
        SelectAccountingFlow(s.AcctInfo0Name, s.AcctInfo0ValidPassword, FieldEntries(*m_data, 0),
                             Field(*m_data, 0)->m_access, s.AcctInfo0Prompt, salt);
    } else if (id == kAcct1Button && Field(*m_data, 1) != nullptr) {
        SelectAccountingFlow(s.AcctInfo1Name, s.AcctInfo1ValidPassword, FieldEntries(*m_data, 1),
                             Field(*m_data, 1)->m_access, s.AcctInfo1Prompt, salt);
    } else {
        return;
    }
    UpdateRows();
}

bool CompletePlotIdentification(DriverSettings& settings, const CXomPrinterData& printerData) {
    while (!ValidateCredentials(settings, &printerData)) {
        DriverSettings copy = settings;
        CDlgIdentify dialog(copy, &printerData);
        if (dialog.DoModal() != IDOK) return false;
        settings = copy;
    }
    return true;
}
