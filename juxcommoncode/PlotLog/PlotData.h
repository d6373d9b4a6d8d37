#pragma once
// CPlotData: one record of the plot log, the plot that the device is running or has run.
#include <cstdint>
#include <ctime>
#include <string>

#include "juxcommoncode/JuxSerialize/JuxSerializer.h"
#include "juxcommoncode/PlotLog/PlotLogStrings.h"

namespace JuxNetwork {

class CSocketContext;
class CIoContext;

// The fewest bytes a stored record takes: five empty texts (2 bytes each) and the byte count.
inline constexpr std::uint64_t kMinPlotRecordBytes = 18;

class CPlotData {
  public:
    // Run-time only, never stored: the direct-to-printer connection of the current job.
    CSocketContext* m_pConnection = nullptr;
    std::wstring m_drawing;
    std::uint64_t m_byteCount = 0;  // bytes of the job sent
    std::wstring m_dateTime;        // local start time, see FormatPlotDateTime
    std::wstring m_printer;
    std::wstring m_destination;
    std::wstring m_status;  // how the plot ended
    // Run-time only, never stored: the I/O context of the connection in use.
    CIoContext* m_pIoContext = nullptr;

    // Empty texts, zero numbers, no connection.
    void Clear() { *this = CPlotData(); }

    // Writes or reads the six stored fields: Drawing, Byte Count, Date:Time, Printer, Destination,
    // Status. Returns the first failure; a record that failed to read is incomplete.
    HRESULT Serialize(CJuxSerializer& ar);

    // Appends the six lines of the record ("\n   <label>: <value>") for the about box. The byte
    // count is shown as an unsigned 32-bit number, as it always has been.
    void AppendDump(std::wstring& text, const StringLoader& labels = {}) const;
};

// "YYYY-MM-DD hh:mm:ss" of a broken-down local time.
std::wstring FormatPlotDateTime(const std::tm& localTime);

}  // namespace JuxNetwork
