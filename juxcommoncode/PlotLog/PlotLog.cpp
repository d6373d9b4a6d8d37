#include "juxcommoncode/PlotLog/PlotLog.h"

#include <algorithm>

#include "juxcommoncode/JuxSerialize/JuxArchiveFile.h"
#include "juxcommoncode/JuxSerialize/JuxFieldIO.h"
#include "juxcommoncode/PlotLog/PlotLogPath.h"

namespace JuxNetwork {

std::wstring PlotLog::GetPath() const {
    return m_path ? *m_path : GetPlotLogPath();
}

void PlotLog::Trim() {
    const std::size_t keep = static_cast<std::size_t>(std::max<std::int64_t>(m_maxRecords, 0));
    if (m_records.size() > keep) {
        m_records.erase(m_records.begin(),
                        m_records.begin() + static_cast<std::ptrdiff_t>(m_records.size() - keep));
    }
}

HRESULT PlotLog::Load() {
    m_records.clear();
    const std::wstring path = GetPath();
    if (path.empty()) return kE_FAIL;

    CJuxArchiveFile archive(path);
    archive.SetShowErrors(false);
    HRESULT hr = archive.OpenForRead();
    if (Failed(hr)) return hr;

    std::uint32_t count = 0;
    hr = SerializeUInt32(archive, count);
    if (Failed(hr)) return hr;

    // The count comes from the file: reserve no more records than the bytes left could hold.
    const std::uint64_t size = archive.GetFileSize();
    const std::uint64_t position = archive.GetPosition();
    const std::uint64_t fits = size > position ? (size - position) / kMinPlotRecordBytes : 0;
    m_records.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, fits)));

    // Only whole records are kept: a file cut short, or one whose count promises more than it
    // holds, yields the records it really has.
    for (std::uint32_t i = 0; i < count; ++i) {
        CPlotData record;
        hr = record.Serialize(archive);
        if (Failed(hr)) break;
        m_records.push_back(std::move(record));
    }
    Trim();
    return hr;
}

void PlotLog::AddEntry(const CPlotData& record) {
    const std::size_t max = static_cast<std::size_t>(std::max<std::int64_t>(m_maxRecords, 0));
    while (!m_records.empty() && m_records.size() >= max) m_records.erase(m_records.begin());
    m_records.push_back(record);
}

HRESULT PlotLog::Save() {
    if (m_records.empty()) return kS_OK;
    const std::wstring path = GetPath();
    if (path.empty()) return kE_FAIL;

    CJuxArchiveFile archive(path);
    archive.SetShowErrors(false);
    HRESULT hr = archive.OpenForWrite();
    if (Failed(hr)) return hr;

    auto count = static_cast<std::uint32_t>(m_records.size());
    hr = SerializeUInt32(archive, count);
    for (std::size_t i = 0; i < m_records.size() && Succeeded(hr); ++i) {
        hr = m_records[i].Serialize(archive);
    }
    // On failure the archive is already closed and its new file discarded.
    if (Failed(hr)) return hr;
    return archive.Close();
}

HRESULT RecordPlot(const CPlotData& record) {
    PlotLog log;
    log.Load();
    if (log.GetMaxRecords() >= 1) log.AddEntry(record);
    return log.Save();
}

}  // namespace JuxNetwork
