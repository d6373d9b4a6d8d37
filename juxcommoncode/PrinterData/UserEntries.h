#pragma once
// The printer's user and accounting rules: users and accounting values with their stored hash
// and salts, the accounting fields, and the printer-wide session salt and user mode. Salts and
// hashes are kept as received (64 octets when valid) and live only in memory. Each class asks for
// and reads its own varbinds, as the table rows do.
#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/PrinterData/TableEntries.h"

using OctetArray = std::vector<std::uint8_t>;

class CXomUserEntry : public CTableEntryBase {
  public:
    std::wstring GetTableName() const override { return L"XomUsers"; }
    std::wstring GetBaseOid() const override { return L"1.3.6.1.4.1.40713.1.1.1.3.2.4.1"; }
    // Columns .1 index, .2 name, .3 stored hash, .4 and .5 salts, .6 and .7 the rights (the
    // rights are optional: a printer without them leaves both at 1).
    void AddRowRequest(JuxNetwork::CSnmpMessage& message, const std::wstring& rowSuffix) override;
    bool ParseRow(const JuxNetwork::CSnmpMessage& response) override;
    void AppendText(std::wstring& text) const override;

    OctetArray m_clientAuthToken;  // the stored password hash
    OctetArray m_clientAuthSalt;   // salt of the local verification
    OctetArray m_serverAuthSalt;   // salt of the job ticket's token
    std::int32_t m_monoAllowed = 1;
    std::int32_t m_colorAllowed = 1;
};

// One accounting field (for example a project number): its access type (1 not used, 2 free
// entry, 3 choice from the list, 4 choice with password), prompt and default.
class CXomAccountingInformationEntry {
  public:
    virtual ~CXomAccountingInformationEntry() = default;
    virtual std::wstring GetTableName() const { return L"XomAccountingInformation"; }
    virtual std::wstring GetBaseOid() const { return L"1.3.6.1.4.1.40713.1.1.1.3.3.1"; }
    // Columns .1 index, .2 access, .3 prompt, .4 default, .5 type id.
    virtual void AddRowRequest(JuxNetwork::CSnmpMessage& message, const std::wstring& rowSuffix);
    virtual bool ParseRow(const JuxNetwork::CSnmpMessage& response);
    virtual void AppendText(std::wstring& text) const;

    std::uint32_t m_index = 0;
    std::int32_t m_access = 0;
    std::wstring m_prompt;
    std::wstring m_default;
    std::int32_t m_typeId = 0;
};

// One value of an accounting field's list; rows are addressed ".field.row".
class CXomAccountingInformationChildEntry : public CTableEntryBase {
  public:
    std::wstring GetTableName() const override { return L"XomAccountingInformationChildren"; }
    std::wstring GetBaseOid() const override { return L"1.3.6.1.4.1.40713.1.1.1.3.4.1"; }
    // Columns .1 index, .2 name, .3 stored hash, .4 and .5 salts.
    void AddRowRequest(JuxNetwork::CSnmpMessage& message, const std::wstring& rowSuffix) override;
    bool ParseRow(const JuxNetwork::CSnmpMessage& response) override;
    void AppendText(std::wstring& text) const override;

    OctetArray m_clientAuthToken;
    OctetArray m_clientAuthSalt;
    OctetArray m_serverAuthSalt;
};

class CXomUserAccountingData {
  public:
    virtual ~CXomUserAccountingData() = default;
    virtual std::wstring GetTableName() const { return L"XomUserAccountingData"; }
    virtual std::wstring GetBaseOid() const { return L"1.3.6.1.4.1.40713.1.1.1.3"; }
    // .1.0 session salt, .2.1.0 user access, .2.2.0 prompt, .2.3.0 default.
    virtual void AddRequest(JuxNetwork::CSnmpMessage& message);
    // Takes the values in order and stops at the first missing or mistyped one (those before it
    // keep their new values): false then.
    virtual bool ParseResponse(const JuxNetwork::CSnmpMessage& response);
    virtual void AppendText(std::wstring& text) const;

    OctetArray m_sessionSalt;       // the printer salt of credential hashes
    std::int32_t m_userAccess = 0;  // the user mode, on the accounting fields' scale
    std::wstring m_userNamePrompt;
    std::wstring m_userNameDefault;
};
