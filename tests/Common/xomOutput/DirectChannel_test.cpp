#include "Common/xomOutput/DirectChannel.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "Common/XOM/PlotLogRecord.h"
#include "Common/XOM/VectorHandlers.h"
#include "Common/xomOutput/OutputChannel.h"
#include "Common/xomOutput/PrinterNetwork.h"
#include "DeviceTestSupport.h"
#include "juxcommoncode/JuxNetwork/SocketContext.h"
#include "support/StreamText.h"
#include "tools/xomsim/JobSink.h"

namespace {

namespace fs = std::filesystem;

// A simulated printer on a loopback port of its own; the driver's manager is pointed at it.
class Printer {
  public:
    explicit Printer(const std::vector<std::string>& faults = {}) {
        static std::atomic<int> serial{0};
        dir = fs::temp_directory_path() /
              ("xom_direct_" + std::to_string(getpid()) + "_" + std::to_string(serial++));
        fs::remove_all(dir);
        m_out = std::tmpfile();
        xomsim::SinkOptions o;
        o.address = "127.0.0.1";
        o.port = 0;
        o.jobsDir = dir.string();
        for (const auto& f : faults) {
            std::string error;
            EXPECT_TRUE(xomsim::AddFault(o.faults, f, error)) << error;
        }
        m_sink = std::make_unique<xomsim::JobSink>(o, m_out);
        std::string error;
        EXPECT_TRUE(m_sink->Open(error)) << error;
        JuxNetwork::NetIpIoManagerOptions net;
        net.printerPort = m_sink->port();
        net.connectTimeout = std::chrono::milliseconds(3000);
        ShutdownPrinterNetwork();
        SetPrinterNetworkOptions(net);
        m_thread = std::thread([this] { m_sink->Run(m_stop); });
    }
    ~Printer() {
        m_stop = true;
        m_thread.join();
        std::fclose(m_out);
        ShutdownPrinterNetwork();
        SetPrinterNetworkOptions({});
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // The summary lines the printer printed so far, one per job.
    std::string summaries() const { return xomtest::TextSoFar(m_out); }
    // Job number n, once its connection has ended.
    std::string job(int number = 1) const {
        const fs::path path = dir / ("job-000" + std::to_string(number) + ".prn");
        for (int i = 0; i < 200 && !fs::exists(path); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path dir;

  private:
    std::FILE* m_out;
    std::unique_ptr<xomsim::JobSink> m_sink;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

PlotSetup DirectSetup() {
    PlotSetup setup;
    setup.settings = {LongItem(L"PlotDirectToIpAddress", 1),
                      TextItem(L"MachineIpAddress", L"127.0.0.1")};
    return setup;
}

// Lines enough for several send buffers.
void DrawLines(XOM_Driver& device, int count) {
    const HT_Rendition r = SolidRendition();
    for (int i = 0; i < count; ++i) {
        const HT_DCI_Point points[] = {{100 + i % 500, 100 + i % 700, 0},
                                       {4000 - i % 300, 200 + i % 900, 0}};
        DrawDciPolyline(&device, r, 2, points);
    }
}

TEST(DirectChannel, TheJobArrivesByteForByteAsTheHostChannelWritesIt) {
    PlotObserver seen;  // pins the clock and the user for both plots
    // The same plot through the host's port channel, for comparison.
    std::string viaPort;
    {
        PlotSetup setup = DirectSetup();
        setup.settings = {TextItem(L"MachineIpAddress", L"127.0.0.1")};
        HostPlot plot(setup);
        plot.Begin();
        DrawLines(*plot.device, 3000);
        plot.device->end_picture();
        viaPort = plot.output().bytes;
    }
    Printer printer;
    HostPlot plot(DirectSetup());
    plot.Begin();
    ASSERT_TRUE(plot.device->direct_output());
    DrawLines(*plot.device, 3000);
    plot.device->end_picture();
    ASSERT_FALSE(seen.loggedStatus.empty());
    EXPECT_EQ(seen.loggedStatus.back(), L"Plot complete");
    const std::string received = printer.job();
    EXPECT_GT(received.size(), 3u * 8192u) << "several buffers";
    EXPECT_EQ(received, viaPort);
    EXPECT_EQ(seen.loggedBytes.back(), received.size());
    EXPECT_EQ(seen.loggedDestination.back(), L"Q Plotter   127.0.0.1");
    EXPECT_TRUE(plot.output().bytes.empty()) << "nothing went through the host's output";
}

TEST(DirectChannel, APrinterThatDropsTheConnectionEndsThePlotFailed) {
    for (const char* fault : {"reset-after=5000", "close-after=5000"}) {
        SCOPED_TRACE(fault);
        Printer printer({fault});
        PlotObserver seen;
        HostPlot plot(DirectSetup());
        plot.Begin();
        DrawLines(*plot.device, 20000);
        plot.device->end_picture();
        ASSERT_FALSE(seen.loggedStatus.empty());
        // The socket took the bytes, but the printer ended the connection: not delivered. When
        // the end is seen before the last buffer is handed over, that hand-over fails instead,
        // with the system's text and its fixed line; either way the plot failed.
        const std::wstring& status = seen.loggedStatus.back();
        EXPECT_TRUE(status == L"Printer connection failed" ||
                    status.ends_with(L"XOM_Driver::end_picture::1661"))
            << std::string(status.begin(), status.end());
        EXPECT_EQ(printer.job().size(), 5000u);
    }
}

// The second plot's connection is opened only once the printer has ended the first job, and each
// job is whole.
TEST(DirectChannel, TwoPlotsInARowAreTwoJobsOneAfterTheOther) {
    Printer printer;
    PlotObserver seen;
    for (int i = 0; i < 2; ++i) {
        HostPlot plot(DirectSetup());
        plot.Begin();
        DrawLines(*plot.device, 3000 + 1000 * i);
        plot.device->end_picture();
        EXPECT_EQ(seen.loggedStatus.back(), L"Plot complete");
        EXPECT_EQ(printer.job(i + 1).size(), seen.loggedBytes.back());
    }
    const std::string said = printer.summaries();
    EXPECT_NE(said.find("job 2 from"), std::string::npos) << said;
    EXPECT_EQ(said.find("another connection came"), std::string::npos) << said;
    EXPECT_EQ(said.find("HP-GL/2 closes no"), std::string::npos) << said;
}

TEST(DirectChannel, TheMeterShowsTheShareOfTheBuffersThatHaveLeft) {
    EXPECT_EQ(DirectTransferPercent(1, 4), 75);
    EXPECT_EQ(DirectTransferPercent(4, 4), 0);
    EXPECT_EQ(DirectTransferPercent(0, 4), 100);
    EXPECT_EQ(DirectTransferPercent(1, 3), 66);
    EXPECT_EQ(DirectTransferPercent(5, 4), 0) << "more in use than handed over is none left";
    EXPECT_EQ(DirectTransferPercent(0, 0), 100);
    EXPECT_EQ(DirectTransferPercent(1, 0), 0) << "a total of none counts as one";
}

// A slow printer: the meter starts at 0, never goes back, and ends at 100 once the printer has
// the job.
TEST(DirectChannel, TheMeterRisesWhileASlowPrinterTakesTheJob) {
    Printer printer({"rate=2000000"});
    PlotObserver seen;
    HostPlot plot(DirectSetup());
    plot.Begin();
    DrawLines(*plot.device, 200000);
    plot.device->end_picture();
    EXPECT_EQ(seen.loggedStatus.back(), L"Plot complete");
    const std::vector<int>& shown = plot.monitor->meterShown;
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown.front(), 0);
    EXPECT_EQ(shown.back(), 100);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_EQ(printer.job().size(), seen.loggedBytes.back());
}

TEST(DirectChannel, APrinterThatRefusesIsNotConnectedAndSaysWhere) {
    Printer printer({"refuse"});
    PlotObserver seen;
    HostPlot plot(DirectSetup());
    plot.Begin(L"Test.dwg", L"Q Plotter");
    ASSERT_FALSE(seen.messages.empty());
    EXPECT_EQ(seen.messages.back().text, L"Cannot connect to printer. Q Plotter   127.0.0.1");
    plot.device->end_picture();
    EXPECT_EQ(seen.loggedStatus.back(), L"Printer connection failed");
}

// The printer is gone before the last buffer is handed over (an earlier send failed and the
// connection was closed): the hand-over fails, and the status is the system's text with its fixed
// line, shown to the user; the wait is never entered.
TEST(DirectChannel, APrinterGoneBeforeTheLastBufferEndsWithTheSystemsTextAndItsLine) {
    Printer printer({"reset-after=1"});
    PlotObserver seen;
    HostPlot plot(DirectSetup());
    plot.Begin();
    ASSERT_NE(DirectConnection(), nullptr)
        << (seen.messages.empty() ? L"" : seen.messages.back().text);
    // Lines until a buffer has left, then the time its failure takes to come back; the socket
    // may take a first buffer before the printer's reset arrives, so again until one fails.
    JuxNetwork::CSocketContext* connection = DirectConnection();
    bool failed = false;
    for (int i = 0; i < 200000 && !failed; ++i) {
        const std::uint64_t before = CurrentPlotLogEntry().m_byteCount;
        DrawLines(*plot.device, 1);
        if (CurrentPlotLogEntry().m_byteCount != before)
            failed = connection->GetNoticeEvent().WaitFor(std::chrono::seconds(1));
    }
    ASSERT_TRUE(failed);
    ASSERT_EQ(OutputErrorState(), kOutputOk) << "no send has seen the failure yet";
    ASSERT_EQ(connection->GetNoticeStatus(), JuxNetwork::CSocketContext::kNoticeIoFailed);
    plot.device->end_picture();
    ASSERT_FALSE(seen.loggedStatus.empty());
    const std::wstring line = L"\n..\\..\\Common\\XOM::XOM_Driver::end_picture::1661";
    const std::wstring& status = seen.loggedStatus.back();
    ASSERT_GT(status.size(), line.size());
    EXPECT_EQ(status.substr(status.size() - line.size()), line);
    ASSERT_FALSE(seen.messages.empty());
    EXPECT_EQ(seen.messages.back().text, status);
    EXPECT_EQ(seen.messages.back().caption, L"XOM Printer Message");
    EXPECT_TRUE(plot.monitor->meterShown.empty()) << "no wait for a job that cannot arrive";
}

TEST(DirectChannel, CancelWhileThePrinterStallsEndsCanceledWithoutHanging) {
    Printer printer({"stop-reading-after=1000"});
    PlotObserver seen;
    HostPlot plot(DirectSetup());
    plot.Begin();
    DrawLines(*plot.device, 200000);
    plot.monitor->cancelAtPoll = plot.monitor->polls + 8;  // a few meter steps into the wait
    plot.device->end_picture();
    ASSERT_FALSE(seen.loggedStatus.empty());
    EXPECT_EQ(seen.loggedStatus.back(), L"Plot canceled");
}

}  // namespace
