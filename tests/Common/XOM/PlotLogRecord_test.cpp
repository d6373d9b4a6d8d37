// Every picture, whatever its outcome, ends up in the user's plot log file.
#include "Common/XOM/PlotLogRecord.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "Common/XOM/VectorHandlers.h"
#include "DeviceTestSupport.h"
#include "juxcommoncode/PlotLog/PlotLog.h"
#include "juxcommoncode/PlotLog/PlotLogPath.h"

namespace {

// Points the plot log at a fresh folder for the test's lifetime.
class PrivateDataHome {
  public:
    PrivateDataHome() {
        char tmpl[] = "/tmp/xom_plotlog_XXXXXX";
        m_dir = mkdtemp(tmpl);
        const char* old = getenv("XDG_DATA_HOME");
        if (old) m_old = old;
        m_hadOld = old != nullptr;
        setenv("XDG_DATA_HOME", m_dir.c_str(), 1);
    }
    ~PrivateDataHome() {
        if (m_hadOld) {
            setenv("XDG_DATA_HOME", m_old.c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
        std::filesystem::remove_all(m_dir);
    }
    const std::string& dir() const { return m_dir; }

  private:
    std::string m_dir;
    std::string m_old;
    bool m_hadOld = false;
};

void DrawLine(XOM_Driver& device) {
    const HT_DCI_Point pts[] = {{0, 0, 0}, {100, 50, 0}};
    DrawDciPolyline(&device, SolidRendition(), 2, pts);
}

TEST(PlotLogRecording, EveryOutcomeIsWrittenToTheLogFileOnce) {
    PrivateDataHome home;
    {
        HostPlot complete;
        complete.Begin(L"Complete.dwg");
        DrawLine(*complete.device);
        complete.device->end_picture();
    }
    {
        HostPlot empty;
        empty.Begin(L"Empty.dwg");
        empty.device->end_picture();
    }
    {
        HostPlot cancelled;
        cancelled.monitor->cancelAtPoll = 1;
        cancelled.Begin(L"Cancelled.dwg");
        DrawLine(*cancelled.device);      // ends the picture itself
        cancelled.device->end_picture();  // the host's end: not logged again
    }

    const std::wstring path = JuxNetwork::GetPlotLogPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::path(path).parent_path().filename(), "XomSeriesQ");
    EXPECT_TRUE(std::filesystem::exists(path));

    JuxNetwork::PlotLog log;
    log.Load();
    const auto& records = log.GetRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].m_drawing, L"Complete.dwg");
    EXPECT_EQ(records[0].m_status, L"Plot complete");
    EXPECT_GT(records[0].m_byteCount, 0u);
    EXPECT_EQ(records[1].m_drawing, L"Empty.dwg");
    EXPECT_EQ(records[1].m_status, L"Plot is empty.");
    EXPECT_EQ(records[1].m_byteCount, 0u);
    EXPECT_EQ(records[2].m_drawing, L"Cancelled.dwg");
    EXPECT_EQ(records[2].m_status, L"Plot canceled");
    EXPECT_EQ(records[2].m_printer, L"Q Plotter");
    EXPECT_EQ(records[2].m_destination, L"Plot to Windows printer port");
    EXPECT_EQ(records[2].m_dateTime.size(), 19u);
}

TEST(PlotLogRecording, TwelvePlotsKeepTheNewestTen) {
    PrivateDataHome home;
    for (int i = 1; i <= 12; ++i) {
        HostPlot plot;
        plot.Begin(L"Sheet" + std::to_wstring(i) + L".dwg");
        DrawLine(*plot.device);
        plot.device->end_picture();
    }
    JuxNetwork::PlotLog log;
    log.Load();
    ASSERT_EQ(log.GetRecords().size(), 10u);
    EXPECT_EQ(log.GetRecords().front().m_drawing, L"Sheet3.dwg");
    EXPECT_EQ(log.GetRecords().back().m_drawing, L"Sheet12.dwg");
}

}  // namespace
