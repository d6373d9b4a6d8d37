#include "tools/xomplot/PlotLogAccess.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "juxcommoncode/PlotLog/PlotLog.h"

namespace xomplot {
namespace {

namespace fs = std::filesystem;

class PlotLogStatusSourceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home = fs::temp_directory_path() / ("xomplot_log_" + std::to_string(getpid()));
        fs::create_directories(home);
        setenv("XDG_DATA_HOME", home.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_DATA_HOME");
        fs::remove_all(home);
    }
    static void Record(const std::wstring& drawing, const std::wstring& printer,
                       const std::wstring& status) {
        JuxNetwork::CPlotData record;
        record.m_drawing = drawing;
        record.m_printer = printer;
        record.m_status = status;
        record.m_dateTime = L"2026-12-08 10:00:00";
        ASSERT_EQ(JuxNetwork::RecordPlot(record), 0);
    }
    fs::path home;
};

TEST_F(PlotLogStatusSourceTest, FindsTheRecordThisPlotAddedAmongOthers) {
    Record(L"Sheet", L"Q1", L"Plot canceled");  // an earlier plot of the same drawing
    PlotLogStatusSource source;
    EXPECT_EQ(source.last_plot_status(L"Sheet", L"Q1").status, std::nullopt) << "nothing new yet";
    EXPECT_FALSE(source.last_plot_status(L"Sheet", L"Q1").ambiguous);

    Record(L"Sheet", L"Q1", L"Plot complete");   // this plot
    Record(L"Other", L"Q1", L"Plot is empty.");  // another xomplot, later
    EXPECT_EQ(source.last_plot_status(L"Sheet", L"Q1").status, L"Plot complete");
    EXPECT_FALSE(source.last_plot_status(L"Sheet", L"Q1").ambiguous);
    EXPECT_EQ(source.last_plot_status(L"Sheet", L"Q2").status, std::nullopt);
}

TEST_F(PlotLogStatusSourceTest, SameDrawingTwiceWithDifferentOutcomesIsAmbiguous) {
    PlotLogStatusSource source;
    Record(L"Sheet", L"Q1", L"Plot complete");
    Record(L"Sheet", L"Q1", L"Plot canceled");
    const DriverStatusLookup lookup = source.last_plot_status(L"Sheet", L"Q1");
    EXPECT_EQ(lookup.status, std::nullopt);
    EXPECT_TRUE(lookup.ambiguous);
}

TEST_F(PlotLogStatusSourceTest, NewRecordsAreFoundInAFullLog) {
    for (int i = 0; i < 10; ++i) Record(L"Old" + std::to_wstring(i), L"Q1", L"Plot complete");
    PlotLogStatusSource source;
    Record(L"New", L"Q1", L"Plot is empty.");
    EXPECT_EQ(source.last_plot_status(L"New", L"Q1").status, L"Plot is empty.");
}

}  // namespace
}  // namespace xomplot
