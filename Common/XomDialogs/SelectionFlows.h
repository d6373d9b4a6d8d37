#pragma once
// The selection flows the settings dialog and the plot-time prompts share: choose or type a value
// in the select and enter dialogs, with the printer's lists and password checks. Each returns 0
// when a value was chosen, kFlowCancelled when the user cancelled (or a password was not
// verified), kFlowNoList when the printer has no list to choose from; the value is changed only
// on 0.
#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/PrinterData/PrinterData.h"

inline constexpr std::uint32_t kFlowChosen = 0;
inline constexpr std::uint32_t kFlowCancelled = 0x80004004u;  // E_ABORT
inline constexpr std::uint32_t kFlowNoList = 0x80004005u;     // E_FAIL

// Modes as the credential checks use them: 3 and 4 choose from the list (4 with a password that
// must verify), any other mode types the value freely.
std::uint32_t SelectUserFlow(std::wstring& name, std::wstring& password,
                             const std::vector<CXomUserEntry>& users, int mode,
                             const std::wstring& label, const OctetArray& printerSalt);
std::uint32_t SelectAccountingFlow(std::wstring& value, std::wstring& password,
                                   const std::vector<CXomAccountingInformationChildEntry>& entries,
                                   int mode, const std::wstring& label,
                                   const OctetArray& printerSalt);

// A name from a table (stamps, folding, print-quality and HP-GL presets, media); an empty current
// name starts from defaultName.
std::uint32_t SelectTableFlow(std::wstring& current, const std::vector<std::wstring>& names,
                              const std::wstring& label, const std::wstring& defaultName);
// The defaults: media the first name of a non-empty table; print-quality and HP-GL presets the
// first name of a table of two or more; stamps and folding presets none.
std::wstring MediaDefault(const std::vector<std::wstring>& names);
std::wstring PresetDefault(const std::vector<std::wstring>& names);
std::uint32_t SelectMediaFlow(std::wstring& mediaName, const std::vector<CXomMediaEntry>& media,
                              const std::wstring& label);

// An index into labels (alignment, border removal).
std::uint32_t SelectFixedFlow(std::int32_t& value, const std::vector<std::wstring>& labels,
                              const std::wstring& label);
// PrintExit from the printer's exit trays (the chosen tray's value).
std::uint32_t SelectExitTrayFlow(std::int32_t& printExit,
                                 const std::vector<CXomExitTrayLocationEntry>& trays,
                                 const std::wstring& label);

// The names of a table's rows, in order.
template <class Entry>
std::vector<std::wstring> EntryNames(const std::vector<Entry>& entries) {
    std::vector<std::wstring> names;
    names.reserve(entries.size());
    for (const Entry& e : entries) names.push_back(e.m_name);
    return names;
}
