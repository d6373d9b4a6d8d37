#include "juxcommoncode/PlotLog/PlotLog.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "juxcommoncode/JuxSerialize/JuxArchiveFile.h"
#include "juxcommoncode/JuxSerialize/JuxFieldIO.h"
#include "juxcommoncode/JuxSerialize/MultibyteText.h"
#include "juxcommoncode/PlotLog/PlotLogLock.h"
#include "juxcommoncode/PlotLog/PlotLogPath.h"

namespace JuxNetwork {

namespace {

bool IsEmptyFile(const std::wstring& path) {
    struct stat st {};
    return ::stat(WideToMultibyte(path).c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           st.st_size == 0;
}

}  // namespace

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

HRESULT PlotLog::Fail(std::wstring text) {
    m_error = std::move(text);
    return kE_FAIL;
}

HRESULT PlotLog::Load() {
    m_records.clear();
    m_noFileYet = false;
    m_error.clear();
    const std::wstring path = GetPath();
    if (path.empty()) return Fail(L"No folder for the plot log");
    // Exclusive even for reading: the log file itself opens for one user at a time, so readers
    // sharing the folder's lock would fail each other at that open.
    PlotLogLock lock;
    if (!lock.Acquire(path, PlotLogLock::Mode::Exclusive)) {
        m_noFileYet = lock.FolderMissing();
        return Fail(lock.ErrorText());
    }
    return LoadLocked();
}

HRESULT PlotLog::LoadLocked() {
    m_records.clear();
    m_noFileYet = false;
    m_error.clear();
    const std::wstring path = GetPath();
    if (path.empty()) return Fail(L"No folder for the plot log");

    CJuxArchiveFile archive(path);
    archive.SetShowErrors(false);
    HRESULT hr = archive.OpenForRead();
    if (Failed(hr)) {
        // A file of no bytes is one that a save created only to lock it and never finished.
        const int err = archive.GetOpenError().systemError;
        m_noFileYet = err == ENOENT || (err == 0 && IsEmptyFile(path));
        return Fail(archive.GetErrorText());
    }
    if (archive.GetFileSize() > kMaxPlotLogFileBytes) {
        return Fail(L"File error: too large for a plot log, " + path);
    }

    std::uint32_t count = 0;
    hr = SerializeUInt32(archive, count);
    if (Failed(hr)) return Fail(archive.GetErrorText());

    // Only whole records are kept: a file cut short, or one whose count promises more than it
    // holds, yields the records it really has. Records older than the newest GetMaxRecords() are
    // dropped as soon as a newer one is read, so memory stays bounded.
    const std::size_t keep = static_cast<std::size_t>(std::max<std::int64_t>(m_maxRecords, 0));
    for (std::uint32_t i = 0; i < count; ++i) {
        CPlotData record;
        hr = record.Serialize(archive);
        if (Failed(hr)) break;
        if (keep == 0) continue;
        if (m_records.size() >= keep) m_records.erase(m_records.begin());
        m_records.push_back(std::move(record));
    }
    Trim();
    if (Failed(hr)) return Fail(archive.GetErrorText());
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
    PlotLogLock lock;
    if (!lock.Acquire(path, PlotLogLock::Mode::Exclusive)) return Fail(lock.ErrorText());
    return SaveLocked();
}

HRESULT PlotLog::SaveLocked() {
    if (m_records.empty()) return kS_OK;
    const std::wstring path = GetPath();
    if (path.empty()) return kE_FAIL;

    CJuxArchiveFile archive(path);
    archive.SetShowErrors(false);
    HRESULT hr = archive.OpenForWrite();
    if (Failed(hr)) return Fail(archive.GetErrorText());

    auto count = static_cast<std::uint32_t>(m_records.size());
    hr = SerializeUInt32(archive, count);
    for (std::size_t i = 0; i < m_records.size() && Succeeded(hr); ++i) {
        hr = m_records[i].Serialize(archive);
    }
    // On failure the archive is already closed and its new file discarded.
    if (Succeeded(hr)) hr = archive.Close();
    if (Failed(hr)) return Fail(archive.GetErrorText());
    return hr;
}

HRESULT RecordPlot(const CPlotData& record, std::wstring* error) {
    PlotLog log;
    const std::wstring path = log.GetPath();
    auto fail = [&](const std::wstring& text) {
        if (error) *error = text;
        return kE_FAIL;
    };
    if (path.empty()) return fail(L"No folder for the plot log");
    PlotLogLock lock;
    if (!lock.Acquire(path, PlotLogLock::Mode::Exclusive)) return fail(lock.ErrorText());
    if (Failed(log.LoadLocked()) && !log.NoFileYet()) return fail(log.GetErrorText());
    if (log.GetMaxRecords() >= 1) log.AddEntry(record);
    if (Failed(log.SaveLocked())) return fail(log.GetErrorText());
    return kS_OK;
}

}  // namespace JuxNetwork
