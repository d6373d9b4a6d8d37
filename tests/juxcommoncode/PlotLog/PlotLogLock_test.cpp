#include "juxcommoncode/PlotLog/PlotLogLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "PlotLogTestUtil.h"
#include "juxcommoncode/PlotLog/PlotLog.h"

namespace JuxNetwork {
namespace {

using namespace plotlogtest;
using namespace std::chrono_literals;

class PlotLogLockTest : public DataHomeTest {
  protected:
    std::wstring Path() const { return LogFile().wstring(); }
};

TEST_F(PlotLogLockTest, ALockHeldBrieflyIsWaitedFor) {
    WriteLog("");
    PlotLogLock holder;
    ASSERT_TRUE(holder.Acquire(Path(), PlotLogLock::Mode::Exclusive));
    std::thread release([&] {
        std::this_thread::sleep_for(200ms);
        holder.Release();
    });
    PlotLogLock waiter;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(waiter.Acquire(Path(), PlotLogLock::Mode::Exclusive)) << "waited, not refused";
    EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
    release.join();
}

TEST_F(PlotLogLockTest, ALockThatStaysBusyFailsWithAClearErrorAfterTheWait) {
    WriteLog("");
    PlotLogLock holder;
    ASSERT_TRUE(holder.Acquire(Path(), PlotLogLock::Mode::Exclusive));
    PlotLogLock waiter;
    EXPECT_FALSE(waiter.Acquire(Path(), PlotLogLock::Mode::Shared, 100ms));
    EXPECT_NE(waiter.ErrorText().find(L"busy"), std::wstring::npos) << waiter.ErrorText().size();
    EXPECT_FALSE(waiter.FolderMissing());

    // A log being saved by another plot is busy, never empty.
    ASSERT_EQ(RecordPlot([] {
                  CPlotData d;
                  d.m_drawing = L"kept";
                  return d;
              }()),
              kE_FAIL);
    PlotLog log;
    EXPECT_EQ(log.Load(), kE_FAIL);
    EXPECT_FALSE(log.NoFileYet());
}

TEST_F(PlotLogLockTest, ReadersShareTheLockAndAMissingFolderIsSaid) {
    WriteLog("");
    PlotLogLock first, second;
    ASSERT_TRUE(first.Acquire(Path(), PlotLogLock::Mode::Shared));
    EXPECT_TRUE(second.Acquire(Path(), PlotLogLock::Mode::Shared, 0ms));
    PlotLogLock writer;
    EXPECT_FALSE(writer.Acquire(Path(), PlotLogLock::Mode::Exclusive, 0ms));

    PlotLogLock nowhere;
    EXPECT_FALSE(nowhere.Acquire((home / "no" / "such" / "log.dat").wstring(),
                                 PlotLogLock::Mode::Shared, 0ms));
    EXPECT_TRUE(nowhere.FolderMissing());
}

}  // namespace
}  // namespace JuxNetwork
