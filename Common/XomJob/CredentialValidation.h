#pragma once
// Whether the settings satisfy the printer's user and accounting rules. Modes (the user mode of
// the printer, or an accounting field's access type): 1 not used, 2 any non-empty value, 3 a
// value from the printer's list, 4 a listed value whose password verifies; any other mode is
// never valid. A failure may add "<prompt> Required" or "<prompt> Invalid" to the message, parts
// joined by " | ". Names compare case-sensitively.
#include <string>
#include <vector>

#include "Common/XomSettings/DriverSettings.h"
#include "juxcommoncode/PrinterData/PrinterData.h"

// Index of the first user named name, or -1.
int FindUserByName(const std::wstring& name, const std::vector<CXomUserEntry>& users);

bool ValidateUser(int mode, const std::wstring& name, const std::wstring& password,
                  const std::wstring& prompt, std::wstring& message,
                  const std::vector<CXomUserEntry>& users, const OctetArray& printerSalt);
bool ValidateAccountingField(int type, const std::wstring& value, const std::wstring& password,
                             const std::wstring& prompt, std::wstring& message,
                             const std::vector<CXomAccountingInformationChildEntry>& entries,
                             const OctetArray& printerSalt);
// The plot-time check: user, then accounting fields 0 and 1. No printer data is never valid. The
// message, when asked for, says what failed.
bool ValidateCredentials(const DriverSettings& settings, const CXomPrinterData* printerData,
                         std::wstring* message = nullptr);
