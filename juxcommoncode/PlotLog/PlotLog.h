#pragma once
// PlotLog: the last plots, kept in the archive file AutoCAD_PlotLog.dat (see PlotLogPath.h).
//
// The file is the archive header followed by a 32-bit record count and the records, oldest first
// (CPlotData::Serialize). Each use builds a fresh PlotLog, loads it, possibly adds and saves, and
// discards it. Every use takes the log's lock (PlotLogLock.h) for its whole length: a load shares
// it, a save and RecordPlot hold it alone, so plots at once never lose each other's record and a
// reader never sees a log half-way. A lock that stays busy is waited for a bounded time and then
// reported as a failure, never read as an empty log.
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

    // Replaces the records with those of the file, keeping the newest GetMaxRecords() (never
    // more are held while reading). A missing, busy, foreign or unfinished file gives no records;
    // a damaged one gives the records before the damage. Returns 0 when the file was read to its
    // end; a missing file gives kE_FAIL with NoFileYet() set, anything else a text in
    // GetErrorText().
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
    // After Load: the log file does not exist (yet), which is no failure of the log.
    bool NoFileYet() const { return m_noFileYet; }
    const std::wstring& GetErrorText() const { return m_error; }

    // Load and Save for a caller that already holds the log's lock.
    HRESULT LoadLocked();
    HRESULT SaveLocked();

  private:
    void Trim();
    HRESULT Fail(std::wstring text);

    std::int64_t m_maxRecords = kDefaultMaxRecords;
    std::vector<CPlotData> m_records;
    std::optional<std::wstring> m_path;
    bool m_noFileYet = false;
    std::wstring m_error;
};

// A file larger than this is not a plot log (ten records of the longest texts take 3.3 MB): it is
// refused instead of read, so a load takes bounded time and memory whatever the file holds.
inline constexpr std::uint64_t kMaxPlotLogFileBytes = 4u << 20;

// What the device does at the end of every picture, under the exclusive lock: load the log, add
// the record (when the log keeps any), save. A load that failed for any reason but a missing file
// is never followed by a save: the history on disk is kept, and the failure is returned (with its
// text in *error when given). The plot itself never depends on it.
HRESULT RecordPlot(const CPlotData& record, std::wstring* error = nullptr);

}  // namespace JuxNetwork
