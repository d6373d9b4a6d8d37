#pragma once
// Rows of the printer's tables that name a choice: stamps, presets, media, input trays and exit
// trays. Each row class knows its table's name and base object identifier, the varbinds that ask
// for one row, how to take the row out of the answer and how to show it. A row is addressed by a
// suffix (".3" for row 3) after each column's identifier.
#include <cstdint>
#include <string>

namespace JuxNetwork {
class CSnmpMessage;
}  // namespace JuxNetwork

class CTableEntryBase {
  public:
    virtual ~CTableEntryBase() = default;
    virtual std::wstring GetTableName() const { return L"XomTableEntryBaseClass"; }
    virtual std::wstring GetBaseOid() const { return {}; }
    // Columns .1 index, .2 id and .3 name of the row.
    virtual void AddRowRequest(JuxNetwork::CSnmpMessage& message, const std::wstring& rowSuffix);
    // False when a column is missing or of another type (then the table ends before this row).
    virtual bool ParseRow(const JuxNetwork::CSnmpMessage& response);
    // "\n   Index:%u,  Id:%d,  Name:%s"
    virtual void AppendText(std::wstring& text) const;

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
    // Columns .1 index, .2 the 64-bit id (octets), .3 name, .4 type.
    void AddRowRequest(JuxNetwork::CSnmpMessage& message, const std::wstring& rowSuffix) override;
    bool ParseRow(const JuxNetwork::CSnmpMessage& response) override;
    void AppendText(std::wstring& text) const override;

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
    void AddRowRequest(JuxNetwork::CSnmpMessage& message, const std::wstring& rowSuffix) override;
    bool ParseRow(const JuxNetwork::CSnmpMessage& response) override;
    void AppendText(std::wstring& text) const override;

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
    // Columns .1 index and .2 value.
    void AddRowRequest(JuxNetwork::CSnmpMessage& message, const std::wstring& rowSuffix) override;
    bool ParseRow(const JuxNetwork::CSnmpMessage& response) override;
    void AppendText(std::wstring& text) const override;

    std::int32_t m_value = 0;
};

// The width of an input tray's roll or sheet in words ("36 inches", "8.5 inches", "420 mm") for
// units 3 (ten-thousandths of an inch) and 4 (micrometres); empty for other units or no width.
std::wstring TrayWidthText(std::int32_t units, std::int32_t crossFeedDimension);
