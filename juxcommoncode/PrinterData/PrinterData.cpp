#include "juxcommoncode/PrinterData/PrinterData.h"

#include "juxcommoncode/JuxNetwork/SnmpManager.h"
#include "juxcommoncode/PrinterData/ResponseValues.h"
#include "juxcommoncode/Snmp/BerCodedData.h"
#include "juxcommoncode/Snmp/BerTags.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"

using JuxNetwork::CSnmpManager;
using JuxNetwork::CSnmpMessage;
using JuxNetwork::CSocketContext;
using JuxNetwork::HRESULT;

namespace {

// An empty GetRequest with the manager's community.
void StartRequest(CSnmpManager& manager, CSnmpMessage& request) {
    request.SetCommunity(manager.GetCommunity());
    request.SetPduType(JuxNetwork::kBerTagGetRequestPdu);
}

template <typename Row>
void AppendTable(std::wstring& text, const std::vector<Row>& rows, const wchar_t* of = L"") {
    text += L"\n\n" + Row().GetTableName() + of + L" (" + std::to_wstring(rows.size()) + L" rows):";
    for (const Row& row : rows) row.AppendText(text);
}

}  // namespace

void CXomPrinterData::AddRequest(CSnmpMessage& message) {
    for (const wchar_t* oid :
         {L"1.3.6.1.2.1.1.1.0", L"1.3.6.1.2.1.1.5.0", L"1.3.6.1.2.1.43.10.2.1.6.1.1",
          L"1.3.6.1.2.1.2.2.1.6.1", L"1.3.6.1.4.1.40713.1.1.1.3.2.5.0",
          L"1.3.6.1.4.1.40713.1.1.1.3.2.6.0"})
        message.AddVarbind(oid);
}

HRESULT CXomPrinterData::ParseResponse(const CSnmpMessage& response) {
    const CResponseValues values(response);
    if (!values.Text(0, m_sysDescription) || !values.Text(1, m_sysName) ||
        !values.Integer(2, m_processColorants))
        return JuxNetwork::kBerErrorInvalidArg;
    values.Octets(3, m_physicalAddress);
    values.Integer(4, m_anonymousMonoAllowed);
    m_roleBasedAccessControl = values.Integer(5, m_anonymousColorAllowed);
    return JuxNetwork::kS_OK;
}

void CXomPrinterData::AppendText(std::wstring& text) const {
    text += L"\n   ProcessColorants: " + std::to_wstring(m_processColorants);
    text += L"\n   Agent Info:";
    text += L"\n      SysDes: " + m_sysDescription;
    text += L"\n      SysName: " + m_sysName;
    text += L"\n      ifPhysAddress: " + JuxNetwork::FormatMacAddress(m_physicalAddress);
    text += L"\n   Role Based Access Control: ";
    text += m_roleBasedAccessControl ? L"yes" : L"no";
    if (m_roleBasedAccessControl) {
        text += L"\n      UserAnonymous:";
        text += L"\n         MonoAllowed:  " + std::to_wstring(m_anonymousMonoAllowed);
        text += L"\n         ColorAllowed: " + std::to_wstring(m_anonymousColorAllowed);
    }
}

HRESULT CXomPrinterData::ReadPrinterValues(CSnmpManager& manager, CSocketContext& context) {
    CSnmpMessage request;
    StartRequest(manager, request);
    AddRequest(request);
    CSnmpMessage response;
    const HRESULT hr = manager.SendRequest(context, request, response);
    if (JuxNetwork::Failed(hr)) return hr;
    return ParseResponse(response);
}

HRESULT CXomPrinterData::ReadUserAccounting(CSnmpManager& manager, CSocketContext& context) {
    CSnmpMessage request;
    StartRequest(manager, request);
    m_userAccounting.AddRequest(request);
    CSnmpMessage response;
    const HRESULT hr = manager.SendRequest(context, request, response);
    if (JuxNetwork::Failed(hr)) return hr;
    return m_userAccounting.ParseResponse(response) ? JuxNetwork::kS_OK
                                                    : JuxNetwork::kBerErrorInvalidArg;
}

template <typename Row>
HRESULT ReadTable(CSnmpManager& manager, CSocketContext& context, std::vector<Row>& rows,
                  std::uint32_t parentField) {
    rows.clear();
    const std::wstring parent = parentField > 0 ? L"." + std::to_wstring(parentField) : L"";
    for (std::uint32_t number = 1;; ++number) {
        CSnmpMessage request;
        StartRequest(manager, request);
        Row row;
        row.AddRowRequest(request, parent + L"." + std::to_wstring(number));
        CSnmpMessage response;
        const HRESULT hr = manager.SendRequest(context, request, response);
        if (JuxNetwork::Failed(hr)) return hr;
        // The end of the table: the printer knows no such row (v1 answers it with Null values).
        if (response.Varbinds().GetCount() == 0 || !row.ParseRow(response))
            return JuxNetwork::kS_OK;
        rows.push_back(std::move(row));
        // The row counter cannot wrap: 2^32 rows would never fit in memory anyway.
        if (number == UINT32_MAX) return JuxNetwork::kS_OK;
    }
}

template HRESULT ReadTable(CSnmpManager&, CSocketContext&, std::vector<CXomStampEntry>&,
                           std::uint32_t);
template HRESULT ReadTable(CSnmpManager&, CSocketContext&, std::vector<CXomMediaEntry>&,
                           std::uint32_t);
template HRESULT ReadTable(CSnmpManager&, CSocketContext&, std::vector<CXomPrtInputEntry>&,
                           std::uint32_t);
template HRESULT ReadTable(CSnmpManager&, CSocketContext&, std::vector<CXomUserEntry>&,
                           std::uint32_t);
template HRESULT ReadTable(CSnmpManager&, CSocketContext&,
                           std::vector<CXomAccountingInformationEntry>&, std::uint32_t);
template HRESULT ReadTable(CSnmpManager&, CSocketContext&,
                           std::vector<CXomAccountingInformationChildEntry>&, std::uint32_t);
template HRESULT ReadTable(CSnmpManager&, CSocketContext&,
                           std::vector<CXomPrintQualityPresetEntry>&, std::uint32_t);
template HRESULT ReadTable(CSnmpManager&, CSocketContext&, std::vector<CXomFolderPresetEntry>&,
                           std::uint32_t);
template HRESULT ReadTable(CSnmpManager&, CSocketContext&, std::vector<CXomHpglPresetEntry>&,
                           std::uint32_t);
template HRESULT ReadTable(CSnmpManager&, CSocketContext&, std::vector<CXomExitTrayLocationEntry>&,
                           std::uint32_t);

HRESULT CXomPrinterData::ReadFromPrinter(CSnmpManager& manager, CSocketContext& context) {
    if (context.m_remoteAddress.IsUnspecified()) return JuxNetwork::kE_FAIL;
    const bool read =
        JuxNetwork::Succeeded(ReadPrinterValues(manager, context)) &&
        JuxNetwork::Succeeded(ReadTable(manager, context, m_stamps)) &&
        JuxNetwork::Succeeded(ReadTable(manager, context, m_media)) &&
        JuxNetwork::Succeeded(ReadTable(manager, context, m_inputTrays)) &&
        JuxNetwork::Succeeded(ReadUserAccounting(manager, context)) &&
        JuxNetwork::Succeeded(ReadTable(manager, context, m_users)) &&
        JuxNetwork::Succeeded(ReadTable(manager, context, m_accountingInformation)) &&
        JuxNetwork::Succeeded(ReadTable(manager, context, m_accountingChildren1, 1)) &&
        JuxNetwork::Succeeded(ReadTable(manager, context, m_accountingChildren2, 2)) &&
        JuxNetwork::Succeeded(ReadTable(manager, context, m_printQualityPresets)) &&
        JuxNetwork::Succeeded(ReadTable(manager, context, m_folderPresets)) &&
        JuxNetwork::Succeeded(ReadTable(manager, context, m_hpglPresets)) &&
        JuxNetwork::Succeeded(ReadTable(manager, context, m_exitTrayLocations));
    return read ? JuxNetwork::kS_OK : JuxNetwork::kE_FAIL;
}

std::wstring PrinterDataText(const CXomPrinterData& data) {
    std::wstring text = data.GetTableName() + L":";
    data.AppendText(text);
    text += L"\n\n" + data.m_userAccounting.GetTableName() + L":";
    data.m_userAccounting.AppendText(text);
    AppendTable(text, data.m_stamps);
    AppendTable(text, data.m_media);
    AppendTable(text, data.m_inputTrays);
    AppendTable(text, data.m_users);
    AppendTable(text, data.m_accountingInformation);
    AppendTable(text, data.m_accountingChildren1, L" of field 1");
    AppendTable(text, data.m_accountingChildren2, L" of field 2");
    AppendTable(text, data.m_printQualityPresets);
    AppendTable(text, data.m_folderPresets);
    AppendTable(text, data.m_hpglPresets);
    AppendTable(text, data.m_exitTrayLocations);
    return text + L"\n";
}
