#include "Common/XomDialogs/SelectionFlows.h"

#include "Common/XOM/LocalizedString.h"
#include "Common/XomDialogs/DlgEnter.h"
#include "Common/XomDialogs/DlgSelect.h"
#include "Common/XomJob/CredentialHash.h"
#include "platform/MessageService.h"

namespace {

constexpr unsigned kIdsPrinterMessage = 203;   // "XOM Printer Message"
constexpr unsigned kIdsError = 204;            // "Error"
constexpr unsigned kIdsInvalidPassword = 206;  // "Invalid Password. Please try again."
constexpr unsigned kIdsNoList = 207;           // "List does not exist."
constexpr unsigned kIdsPassword = 225;         // "Password"

std::wstring MessageCaption() {
    std::wstring caption = LocalizedString(kIdsPrinterMessage);
    return caption.empty() ? LocalizedString(kIdsError) : caption;
}

std::uint32_t MissingList(const std::wstring& label) {
    xomplatform::ShowMessage(label + L" " + LocalizedString(kIdsNoList), MessageCaption(),
                             xomplatform::MessageIcon::Stop);
    return kFlowNoList;
}

void WrongPassword() {
    xomplatform::ShowMessage(LocalizedString(kIdsInvalidPassword), MessageCaption(),
                             xomplatform::MessageIcon::Stop);
}

// The password of the chosen entry: the stored one when it verifies, else asked until it does.
template <class Entry>
bool ObtainPassword(const Entry& entry, const OctetArray& printerSalt, std::wstring& password) {
    if (printerSalt.empty() || entry.m_clientAuthSalt.empty() || entry.m_clientAuthToken.empty()) {
        WrongPassword();
        return false;
    }
    if (VerifyPassword(password, printerSalt, entry.m_clientAuthSalt, entry.m_clientAuthToken))
        return true;
    std::wstring typed;
    for (;;) {
        CDlgEnter enter(typed, LocalizedString(kIdsPassword), true);
        if (enter.DoModal() != IDOK) return false;
        if (VerifyPassword(typed, printerSalt, entry.m_clientAuthSalt, entry.m_clientAuthToken)) {
            password = typed;
            return true;
        }
        WrongPassword();
    }
}

template <class Entry>
std::uint32_t ChooseFlow(std::wstring& name, std::wstring& password,
                         const std::vector<Entry>& entries, int mode, const std::wstring& label,
                         const OctetArray& printerSalt) {
    if (mode == 3 || mode == 4) {
        if (entries.empty()) return MissingList(label);
        const std::vector<std::wstring> names = EntryNames(entries);
        std::wstring chosen = name;
        int index = -1;
        CDlgSelect select(label, &names, chosen, index);
        if (select.DoModal() != IDOK || index < 0) return kFlowCancelled;
        std::wstring newPassword = password;
        if (mode == 4 &&
            !ObtainPassword(entries[static_cast<std::size_t>(index)], printerSalt, newPassword))
            return kFlowCancelled;
        name = chosen;
        if (mode == 4) password = newPassword;
        return kFlowChosen;
    }
    std::wstring typed = name;
    CDlgEnter enter(typed, label, false);
    if (enter.DoModal() != IDOK) return kFlowCancelled;
    name = typed;
    return kFlowChosen;
}

}  // namespace

std::uint32_t SelectUserFlow(std::wstring& name, std::wstring& password,
                             const std::vector<CXomUserEntry>& users, int mode,
                             const std::wstring& label, const OctetArray& printerSalt) {
    return ChooseFlow(name, password, users, mode, label, printerSalt);
}

std::uint32_t SelectAccountingFlow(std::wstring& value, std::wstring& password,
                                   const std::vector<CXomAccountingInformationChildEntry>& entries,
                                   int mode, const std::wstring& label,
                                   const OctetArray& printerSalt) {
    return ChooseFlow(value, password, entries, mode, label, printerSalt);
}

std::wstring MediaDefault(const std::vector<std::wstring>& names) {
    return names.empty() ? std::wstring() : names.front();
}

std::wstring PresetDefault(const std::vector<std::wstring>& names) {
    return names.size() >= 2 ? names.front() : std::wstring();
}

std::uint32_t SelectTableFlow(std::wstring& current, const std::vector<std::wstring>& names,
                              const std::wstring& label, const std::wstring& defaultName) {
    if (names.empty()) return MissingList(label);
    std::wstring chosen = current.empty() ? defaultName : current;
    int index = -1;
    CDlgSelect select(label, &names, chosen, index);
    if (select.DoModal() != IDOK || index < 0) return kFlowCancelled;
    current = chosen;
    return kFlowChosen;
}

std::uint32_t SelectMediaFlow(std::wstring& mediaName, const std::vector<CXomMediaEntry>& media,
                              const std::wstring& label) {
    const std::vector<std::wstring> names = EntryNames(media);
    return SelectTableFlow(mediaName, names, label, MediaDefault(names));
}

std::uint32_t SelectFixedFlow(std::int32_t& value, const std::vector<std::wstring>& labels,
                              const std::wstring& label) {
    std::wstring chosen;
    if (value >= 0 && static_cast<std::size_t>(value) < labels.size())
        chosen = labels[static_cast<std::size_t>(value)];
    int index = -1;
    CDlgSelect select(label, &labels, chosen, index);
    if (select.DoModal() != IDOK || index < 0) return kFlowCancelled;
    value = index;
    return kFlowChosen;
}

std::uint32_t SelectExitTrayFlow(std::int32_t& printExit,
                                 const std::vector<CXomExitTrayLocationEntry>& trays,
                                 const std::wstring& label) {
    const std::vector<std::wstring> names = EntryNames(trays);
    std::wstring chosen;
    for (const auto& tray : trays)
        if (tray.m_value == printExit) chosen = tray.m_name;
    int index = -1;
    CDlgSelect select(label, &names, chosen, index);
    if (select.DoModal() != IDOK || index < 0) return kFlowCancelled;
    printExit = trays[static_cast<std::size_t>(index)].m_value;
    return kFlowChosen;
}
