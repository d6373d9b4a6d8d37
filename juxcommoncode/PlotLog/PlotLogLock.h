#pragma once
// The lock that makes each use of the plot log one step for every other process: a plot holds it
// exclusively across load, add and save, a reader across its load (exclusively too, as the log
// file opens for one user at a time; shared mode is for callers that never open it). It is an
// advisory lock on the folder that holds the log, so the folder keeps no file of its own for it.
//
// Taking it waits a bounded time (other plots hold it for a few milliseconds each) and then fails
// with a text that says the log is busy: a busy log is never taken for an empty one.
#include <chrono>
#include <string>

namespace JuxNetwork {

class PlotLogLock {
  public:
    enum class Mode { Shared, Exclusive };
    static constexpr std::chrono::milliseconds kDefaultWait{2000};
    // kDefaultWait, unless XOM_PLOT_LOG_WAIT_MS (1 to 600000) sets another bound: for sites where
    // many plots share one log on a slow disk, and for tests of many plots at once under load.
    static std::chrono::milliseconds DefaultWait();

    PlotLogLock() = default;
    ~PlotLogLock();
    PlotLogLock(const PlotLogLock&) = delete;
    PlotLogLock& operator=(const PlotLogLock&) = delete;

    // Locks the folder of logPath. False with ErrorText() when the folder cannot be opened
    // (FolderMissing() then tells whether it simply does not exist) or the lock stays taken for
    // longer than wait.
    bool Acquire(const std::wstring& logPath, Mode mode,
                 std::chrono::milliseconds wait = DefaultWait());
    void Release();

    bool Held() const { return m_fd >= 0; }
    bool FolderMissing() const { return m_folderMissing; }
    const std::wstring& ErrorText() const { return m_error; }

  private:
    int m_fd = -1;
    bool m_folderMissing = false;
    std::wstring m_error;
};

}  // namespace JuxNetwork
