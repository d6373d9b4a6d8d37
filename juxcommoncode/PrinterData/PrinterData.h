#pragma once
// CXomPrinterData: what the driver knows about one printer: identity, colorants, access rules and
// its tables. Filled from the printer by the SNMP side; read by the settings, the job ticket and
// the credential checks. Rows are held by value.
#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/PrinterData/TableEntries.h"
#include "juxcommoncode/PrinterData/UserEntries.h"

class CXomPrinterData {
  public:
    virtual ~CXomPrinterData() = default;
    virtual std::wstring GetTableName() const { return L"XomPrinterData"; }
    virtual std::wstring GetBaseOid() const { return {}; }

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
};
