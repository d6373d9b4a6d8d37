#pragma once
// CXomPrinterData: what the driver knows about one printer: identity, colorants, access rules and
// its tables, read from the printer in one pass (one request per table row) and read by the
// settings, the job ticket and the credential checks. Rows are held by value.
#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/JuxSerialize/ResultCodes.h"
#include "juxcommoncode/PrinterData/TableEntries.h"
#include "juxcommoncode/PrinterData/UserEntries.h"

namespace JuxNetwork {
class CSnmpManager;
class CSocketContext;
}  // namespace JuxNetwork

class CXomPrinterData {
  public:
    virtual ~CXomPrinterData() = default;
    virtual std::wstring GetTableName() const { return L"XomPrinterData"; }
    virtual std::wstring GetBaseOid() const { return {}; }
    // sysDescr, sysName, the process colorants of marker 1, ifPhysAddress of interface 1, and the
    // anonymous mono and colour rights.
    virtual void AddRequest(JuxNetwork::CSnmpMessage& message);
    // 0x80070057 when description, name or colorants are missing or mistyped; the physical
    // address and the anonymous rights are taken when present (the colour right switches role-based
    // access control on).
    virtual JuxNetwork::HRESULT ParseResponse(const JuxNetwork::CSnmpMessage& response);
    virtual void AppendText(std::wstring& text) const;

    // Reads the whole model from the printer the context is aimed at, in a fixed order, stopping
    // at the first failure: 0, or kE_FAIL (also for a context without a remote address).
    JuxNetwork::HRESULT ReadFromPrinter(JuxNetwork::CSnmpManager& manager,
                                        JuxNetwork::CSocketContext& context);

    std::wstring m_sysDescription;
    std::wstring m_sysName;
    std::int32_t m_processColorants = 0;
    OctetArray m_physicalAddress;
    std::int32_t m_anonymousMonoAllowed = 0;
    std::int32_t m_anonymousColorAllowed = 0;
    bool m_roleBasedAccessControl = false;
    CXomUserAccountingData m_userAccounting;

    std::vector<CXomStampEntry> m_stamps;
    std::vector<CXomMediaEntry> m_media;
    std::vector<CXomUserEntry> m_users;
    std::vector<CXomAccountingInformationEntry> m_accountingInformation;
    std::vector<CXomAccountingInformationChildEntry> m_accountingChildren1;
    std::vector<CXomAccountingInformationChildEntry> m_accountingChildren2;
    std::vector<CXomPrintQualityPresetEntry> m_printQualityPresets;
    std::vector<CXomFolderPresetEntry> m_folderPresets;
    std::vector<CXomHpglPresetEntry> m_hpglPresets;
    std::vector<CXomExitTrayLocationEntry> m_exitTrayLocations;
    std::vector<CXomPrtInputEntry> m_inputTrays;

  private:
    JuxNetwork::HRESULT ReadPrinterValues(JuxNetwork::CSnmpManager& manager,
                                          JuxNetwork::CSocketContext& context);
    JuxNetwork::HRESULT ReadUserAccounting(JuxNetwork::CSnmpManager& manager,
                                           JuxNetwork::CSocketContext& context);
};

// Reads rows 1, 2, ... of one table into rows (emptied first) until the printer no longer answers
// a row completely: 0 then; the request's error when an exchange fails. parentField > 0 addresses
// the rows of that accounting field (".field.row").
template <typename Row>
JuxNetwork::HRESULT ReadTable(JuxNetwork::CSnmpManager& manager,
                              JuxNetwork::CSocketContext& context, std::vector<Row>& rows,
                              std::uint32_t parentField = 0);

// The whole model as text: the printer's values, the user accounting data and every table under
// its name with its row count, rows in AppendText form.
std::wstring PrinterDataText(const CXomPrinterData& data);
