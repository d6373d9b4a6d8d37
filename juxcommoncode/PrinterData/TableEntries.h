#pragma once
// Rows of the printer's tables that name a choice: stamps, presets, media, input trays and exit
// trays. Each row class knows its table's name and base object identifier; reading the rows from
// a printer belongs to the SNMP side, which fills these fields.
#include <cstdint>
#include <string>

class CTableEntryBase {
  public:
    virtual ~CTableEntryBase() = default;
    virtual std::wstring GetTableName() const { return L"XomTableEntryBaseClass"; }
    virtual std::wstring GetBaseOid() const { return {}; }

    std::uint32_t m_index = 0;  // the row number as the printer reports it
    std::int32_t m_id = 0;
    std::wstring m_name;
};

class CXomStampEntry : public CTableEntryBase {
  public:
    std::wstring GetTableName() const override { return L"XomStamps"; }
    std::wstring GetBaseOid() const override { return L"1.3.6.1.4.1.40713.1.1.1.1.1.1"; }
};

class CXomPrintQualityPresetEntry : public CTableEntryBase {
  public:
    std::wstring GetTableName() const override { return L"XomPrintQualityPresets"; }
    std::wstring GetBaseOid() const override { return L"1.3.6.1.4.1.40713.1.1.1.5.1.1"; }
};

class CXomHpglPresetEntry : public CTableEntryBase {
  public:
    std::wstring GetTableName() const override { return L"XomHpglPresets"; }
    std::wstring GetBaseOid() const override { return L"1.3.6.1.4.1.40713.1.1.1.9.1.1"; }
};

class CXomFolderPresetEntry : public CTableEntryBase {
  public:
    std::wstring GetTableName() const override { return L"XomFolderPresets"; }
    std::wstring GetBaseOid() const override { return L"1.3.6.1.4.1.40713.1.1.1.6.1.1"; }
};

class CXomMediaEntry : public CTableEntryBase {
  public:
    std::wstring GetTableName() const override { return L"XomMedia"; }
    std::wstring GetBaseOid() const override { return L"1.3.6.1.4.1.40713.1.1.1.2.1.1"; }

    // The id octets read little-endian; the base id holds its low 32 bits.
    std::uint64_t m_id64 = 0;
    std::uint32_t m_type = 0;
};

// Printer MIB input table of device 1: the input index is kept in m_id, the name in m_name; the
// base index stays 0.
class CXomPrtInputEntry : public CTableEntryBase {
  public:
    std::wstring GetTableName() const override { return L"XomCurrentMediaStatus (prtInput)"; }
    std::wstring GetBaseOid() const override { return L"1.3.6.1.2.1.43.8.2.1"; }

    std::int32_t m_type = 0;
    std::int32_t m_units = 0;
    std::int32_t m_crossFeedDimension = 0;
    std::int32_t m_maxCapacity = 0;
    std::int32_t m_currentLevel = 0;
    std::int32_t m_status = 0;
    std::wstring m_mediaName;
};

// The name is not read from the printer: the host supplies a localized one.
class CXomExitTrayLocationEntry : public CTableEntryBase {
  public:
    std::wstring GetTableName() const override {
        return L"XomExitTrayLocations  [Name localized by HDI]";
    }
    std::wstring GetBaseOid() const override { return L"1.3.6.1.4.1.40713.1.1.1.11.1.1"; }

    std::int32_t m_value = 0;
};
