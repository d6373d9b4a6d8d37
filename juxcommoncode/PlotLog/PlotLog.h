#pragma once
// PlotLog: the last plots, kept in the archive file AutoCAD_PlotLog.dat (see PlotLogPath.h).
//
// The file is the archive header followed by a 32-bit record count and the records, oldest first
// (CPlotData::Serialize). Each use builds a fresh PlotLog, loads it, possibly adds and saves, and
// discards it. Loads and saves are exclusive opens: one that meets another at work on the same file
// fails quietly (no records / nothing saved) and never damages the file.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "juxcommoncode/JuxSerialize/ResultCodes.h"
#include "juxcommoncode/PlotLog/PlotData.h"

namespace JuxNetwork {

class PlotLog {
  public:
    static constexpr std::int64_t kDefaultMaxRecords = 10;

    PlotLog() = default;
    // A log kept at another path than GetPlotLogPath() (tools, tests).
    explicit PlotLog(std::wstring path) : m_path(std::move(path)) {}

    // Replaces the records with those of the file, then keeps the newest GetMaxRecords(). A
    // missing, locked, foreign or unfinished file gives no records; a damaged one gives the
    // records before the damage. Returns 0 when the file was read to its end.
    HRESULT Load();
    // Appends a copy of the record, first dropping the oldest records so that at most
    // GetMaxRecords() remain.
    void AddEntry(const CPlotData& record);
    // Replaces the file with the records. Does nothing without records. The old file stays whole
    // if the save fails at any point.
    HRESULT Save();

    std::int64_t GetMaxRecords() const { return m_maxRecords; }
    void SetMaxRecords(std::int64_t max) { m_maxRecords = max; }
    // Oldest first, newest last.
    const std::vector<CPlotData>& GetRecords() const { return m_records; }
    std::wstring GetPath() const;

  private:
    void Trim();

    std::int64_t m_maxRecords = kDefaultMaxRecords;
    std::vector<CPlotData> m_records;
    std::optional<std::wstring> m_path;
};

// What the device does at the end of every picture: load the log, add the record (when the log
// keeps any), save. Returns the result of the save; the plot itself never depends on it.
HRESULT RecordPlot(const CPlotData& record);

}  // namespace JuxNetwork
