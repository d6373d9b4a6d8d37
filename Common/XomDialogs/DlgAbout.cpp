#include "Common/XomDialogs/DlgAbout.h"

#include <clocale>

#include "Common/XOM/BuildInfo.h"
#include "Common/XOM/LocalizedString.h"
#include "Common/XomDialogs/DialogText.h"
#include "Common/XomSettings/MacAddressText.h"
#include "hdi/HT_Host_Info.h"
#include "juxcommoncode/PlotLog/PlotLogView.h"
#include "platform/Utf8.h"

namespace {

constexpr unsigned kIdsFamily = 102;          // "Q Series"
constexpr unsigned kIdsDriverVersion = 264;   // "HDI Driver Version"
constexpr unsigned kIdsBuild = 265;           // "Build"
constexpr unsigned kIdsHostSdkVersion = 266;  // "Heidi Version"
constexpr unsigned kIdsProductName = 267;     // "Product Name"
constexpr unsigned kIdsApplicationKey = 268;  // "Application Key"
constexpr unsigned kIdsConnection = 270;      // "Current Connection Settings"
constexpr unsigned kIdsIpAddress = 283;       // "IP Address"
constexpr unsigned kIdsCommunity = 371;       // "SNMP Community"
constexpr unsigned kIdsPrinter = 240;         // "Printer"
constexpr unsigned kIdsMacAddress = 284;      // "MAC Address"
constexpr const wchar_t* kInternalName = L"xomq";

std::wstring Wide(const char* text) {
    return text == nullptr ? std::wstring() : xomplatform::FromUtf8(text);
}

}  // namespace

std::vector<std::wstring> AboutLines(const DriverSettings* settings, const CSnmpAgent* link,
                                     const std::wstring& logPath) {
    using JuxNetwork::AppendListText;
    const HT_Driver_Identity& identity = XomBuildIdentity();
    std::vector<std::wstring> lines;
    AppendListText(lines, LocalizedString(kIdsFamily));
    AppendListText(lines, L"\n");
    AppendListText(lines, L"\n" + LabelText(kIdsDriverVersion) + L" " +
                              Wide(identity.driver_version) + L"   [" + kInternalName + L"]");
    AppendListText(lines,
                   L"\n" + LabelText(kIdsBuild) + L" " + Wide(__DATE__) + L" " + Wide(__TIME__));
    AppendListText(lines,
                   L"\n" + LabelText(kIdsHostSdkVersion) + L" " + Wide(identity.hdi_version));
    AppendListText(lines, L"\n");
    AppendListText(lines, L"\n" + LabelText(kIdsProductName) + L" " + _GetProductName());
    AppendListText(lines, L"\n" + LabelText(kIdsApplicationKey) + L" " + _GetAppKey());
    AppendListText(lines, L"\nLocale: " + Wide(std::setlocale(LC_ALL, nullptr)));
    if (settings != nullptr && link != nullptr && !link->m_address.IsUnspecified()) {
        AppendListText(lines, L"\n");
        AppendListText(lines, L"\n" + LocalizedString(kIdsConnection));
        AppendListText(lines, L"\n  " + LabelText(kIdsIpAddress) + link->m_address.ToText());
        AppendListText(lines, L"\n  " + LabelText(kIdsCommunity) + link->m_community);
        AppendListText(lines, L"\n  " + LabelText(kIdsPrinter) + link->m_sysName);
        AppendListText(
            lines, L"\n  " + LabelText(kIdsMacAddress) + FormatMacAddress(link->m_physicalAddress));
    }
    JuxNetwork::PlotLog log =
        logPath.empty() ? JuxNetwork::PlotLog() : JuxNetwork::PlotLog(logPath);
    log.Load();
    JuxNetwork::AppendPlotLogView(lines, log, [](unsigned id) { return LocalizedString(id); });
    return lines;
}

CDlgAbout::CDlgAbout(const DriverSettings* settings, const CSnmpAgent* link, std::wstring logPath)
    : CXomDialog(kTemplate), m_settings(settings), m_link(link), m_logPath(std::move(logPath)) {}

void CDlgAbout::OnInitDialog() {
    W().SetTitle(LocalizedString(245));  // "About"
    W().ClearList(kList);
    {
        CWaitCursor wait(*this);  // the plot log is read from disk
        m_lines = AboutLines(m_settings, m_link, m_logPath);
    }
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        W().AddListItem(kList, m_lines[i], static_cast<std::intptr_t>(i));
}
