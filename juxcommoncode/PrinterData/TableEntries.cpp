#include "juxcommoncode/PrinterData/TableEntries.h"

#include <cmath>
#include <cstdio>

#include "juxcommoncode/PrinterData/ResponseValues.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"

void CTableEntryBase::AddRowRequest(JuxNetwork::CSnmpMessage& message,
                                    const std::wstring& rowSuffix) {
    AddColumnVarbinds(message, GetBaseOid(), {L".1", L".2", L".3"}, rowSuffix);
}

bool CTableEntryBase::ParseRow(const JuxNetwork::CSnmpMessage& response) {
    const CResponseValues values(response);
    return values.Unsigned(0, m_index) && values.Integer(1, m_id) && values.Text(2, m_name);
}

void CTableEntryBase::AppendText(std::wstring& text) const {
    text += L"\n   Index:" + std::to_wstring(m_index) + L",  Id:" + std::to_wstring(m_id) +
            L",  Name:" + m_name;
}

void CXomMediaEntry::AddRowRequest(JuxNetwork::CSnmpMessage& message,
                                   const std::wstring& rowSuffix) {
    AddColumnVarbinds(message, GetBaseOid(), {L".1", L".2", L".3", L".4"}, rowSuffix);
}

bool CXomMediaEntry::ParseRow(const JuxNetwork::CSnmpMessage& response) {
    const CResponseValues values(response);
    OctetArray id;
    if (!values.Unsigned(0, m_index) || !values.Octets(1, id) || !values.Text(2, m_name) ||
        !values.Unsigned(3, m_type))
        return false;
    // Little-endian: the first octet is the least significant; a shorter string has fewer.
    m_id64 = 0;
    for (std::size_t i = 0; i < id.size() && i < 8; ++i)
        m_id64 |= static_cast<std::uint64_t>(id[i]) << (8 * i);
    m_id = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_id64));
    return true;
}

void CXomMediaEntry::AppendText(std::wstring& text) const {
    text += L"\n   Index:" + std::to_wstring(m_index) + L", " + L"Id64Bit:" +
            std::to_wstring(m_id64) + L", " + L"Name:" + m_name + L", " + L"Type:" +
            std::to_wstring(m_type);
}

void CXomPrtInputEntry::AddRowRequest(JuxNetwork::CSnmpMessage& message,
                                      const std::wstring& rowSuffix) {
    AddColumnVarbinds(
        message, GetBaseOid(),
        {L".1.1", L".2.1", L".3.1", L".5.1", L".9.1", L".10.1", L".11.1", L".12.1", L".13.1"},
        rowSuffix);
}

bool CXomPrtInputEntry::ParseRow(const JuxNetwork::CSnmpMessage& response) {
    const CResponseValues values(response);
    return values.Integer(0, m_id) && values.Integer(1, m_type) && values.Integer(2, m_units) &&
           values.Integer(3, m_crossFeedDimension) && values.Integer(4, m_maxCapacity) &&
           values.Integer(5, m_currentLevel) && values.Integer(6, m_status) &&
           values.Text(7, m_mediaName) && values.Text(8, m_name);
}

void CXomPrtInputEntry::AppendText(std::wstring& text) const {
    text += L"\n   Index(Id):" + std::to_wstring(m_id) + L",  " + L"Name:" + m_name + L", " +
            L"MediaName:" + m_mediaName + L", " + L"MaxCapacity:" + std::to_wstring(m_maxCapacity) +
            L"  " + L"CurrentLevel:" + std::to_wstring(m_currentLevel) + L"  " + L"Status:" +
            std::to_wstring(m_status) + L"Type:" + std::to_wstring(m_type) + L"  " + L"Units:" +
            std::to_wstring(m_units) + L"  " + L"CrossFeedDimension:" +
            std::to_wstring(m_crossFeedDimension) + L"  " +
            TrayWidthText(m_units, m_crossFeedDimension);
}

void CXomExitTrayLocationEntry::AddRowRequest(JuxNetwork::CSnmpMessage& message,
                                              const std::wstring& rowSuffix) {
    AddColumnVarbinds(message, GetBaseOid(), {L".1", L".2"}, rowSuffix);
}

bool CXomExitTrayLocationEntry::ParseRow(const JuxNetwork::CSnmpMessage& response) {
    const CResponseValues values(response);
    return values.Unsigned(0, m_index) && values.Integer(1, m_value);
}

void CXomExitTrayLocationEntry::AppendText(std::wstring& text) const {
    text += L"\n   Index:" + std::to_wstring(m_index) + L",  Value:" + std::to_wstring(m_value) +
            L",  [Name:" + m_name + L"]";
}

std::wstring TrayWidthText(std::int32_t units, std::int32_t crossFeedDimension) {
    double inches = 0;
    if (units == 3) inches = crossFeedDimension / 10000.0;
    if (units == 4) inches = crossFeedDimension / 1000.0 / 25.4;
    if (!(inches > 0)) return {};
    // Millimetre widths divided by 25.4 land a rounding step off a whole number: 914400
    // micrometres must read as the 36 inches it is.
    const double whole = std::round(inches);
    if (std::fabs(inches - whole) <= 0.00001) {
        return std::to_wstring(static_cast<long long>(whole)) + L" inches";
    }
    if (inches == 8.5) return L"8.5 inches";
    // Half a millimetre up, then the whole millimetres (widths are positive here).
    return std::to_wstring(static_cast<long long>(std::floor(inches * 25.4 + 0.5))) + L" mm";
}
