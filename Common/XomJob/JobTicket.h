#pragma once
// The XML job ticket: the job's media, presets, finishing, colour adjustments, accounting and
// secure-print choices, from the settings and the linked printer's data, as UTF-8 with CR LF line
// ends in a fixed layout. The document grows as needed: it is never cut short, whatever the
// length of names or the number of tokens.
#include <cstdint>
#include <ctime>
#include <string>

#include "Common/XomSettings/DriverSettings.h"
#include "juxcommoncode/PrinterData/PrinterData.h"

// The maker's job-ticket namespace.
inline constexpr const char* kJobTicketNamespace = "http://schemas.xom-printers.example/JobTicket/";

struct JobTicketInputs {
    const DriverSettings* settings = nullptr;
    const CXomPrinterData* printerData = nullptr;  // the linked printer's; null when none is known
    std::uint32_t colorModel = 0;                  // the device's pen model
    std::tm localTime{};
};

// Secure print: "User" when user security applies and UserPrintSecurity is on, else "Pin" for a
// 4-character PIN, else "Off". User security applies when there is a user name and the printer
// demands users (user mode 4) or UserPrintSecurity is 1.
bool UserSecurityApplies(const DriverSettings& settings, const CXomPrinterData& printerData);
const char* SecurePrintMethod(const DriverSettings& settings, const CXomPrinterData& printerData);

// Fills text (emptied first) with the ticket; false, and text empty, without printer data.
bool WriteJobTicket(const JobTicketInputs& inputs, std::string& text);

// UTF-16 units as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& units);
