#include "juxcommoncode/PlotLog/PlotLog.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "PlotLogTestUtil.h"
#include "juxcommoncode/JuxSerialize/JuxArchiveFile.h"

namespace JuxNetwork {
namespace {

using namespace plotlogtest;

CPlotData MakeRecord(int n) {
    const Rec r = Numbered(n);
    CPlotData d;
    d.m_drawing = std::wstring(r.drawing.begin(), r.drawing.end());
    d.m_byteCount = r.bytes;
    d.m_dateTime = std::wstring(r.dateTime.begin(), r.dateTime.end());
    d.m_printer = std::wstring(r.printer.begin(), r.printer.end());
    d.m_destination = std::wstring(r.destination.begin(), r.destination.end());
    d.m_status = std::wstring(r.status.begin(), r.status.end());
    return d;
}

std::vector<std::wstring> Drawings(const PlotLog& log) {
    std::vector<std::wstring> names;
    for (const CPlotData& r : log.GetRecords()) names.push_back(r.m_drawing);
    return names;
}

std::vector<std::wstring> NumberedDrawings(int first, int last) {
    std::vector<std::wstring> names;
    for (int n = first; n <= last; ++n) names.push_back(L"drawing " + std::to_wstring(n));
    return names;
}

class PlotLogTest : public DataHomeTest {};

TEST_F(PlotLogTest, FirstPlotCreatesFolderAndAFileMatchingTheFormatByteForByte) {
    CPlotData plot;
    plot.m_drawing = L"\u56fe\u7eb8 \U0001F4D0.dwg";
    plot.m_byteCount = 0x123456789ULL;
    plot.m_dateTime = L"2024-02-29 23:59:58";
    plot.m_printer = L"Q Series 42";
    plot.m_destination = L"Q Series 42   10.0.0.7";
    plot.m_status = L"Plot complete";
    ASSERT_FALSE(fs::exists(home / "XomSeriesQ"));
    ASSERT_EQ(RecordPlot(plot), kS_OK);

    const std::string body =
        U32(1) +                                                 // count
        Text("\xe5\x9b\xbe\xe7\xba\xb8 \xf0\x9f\x93\x90.dwg") +  // Drawing, UTF-8, whole
        U64(0x123456789ULL) +                                    // Byte Count, all 64 bits
        Text("2024-02-29 23:59:58") +                            // Date:Time
        Text("Q Series 42") +                                    // Printer
        Text("Q Series 42   10.0.0.7") +                         // Destination
        Text("Plot complete");                                   // Status
    ASSERT_EQ(body.size(), 102u);
    const std::string expected = HeaderBytes(120) + body;  // marker, total length, reserved
    const std::string actual = ReadLog();
    EXPECT_EQ(actual, expected) << FirstDifference(actual, expected);
}

TEST_F(PlotLogTest, CommittedFixtureReadsBack) {
    PlotLog log(std::wstring(L"" PLOTLOG_FIXTURE_DIR L"/plotlog_three_records.dat"));
    ASSERT_EQ(log.Load(), kS_OK);
    const auto& r = log.GetRecords();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].m_drawing, L"Site plan.dwg");
    EXPECT_EQ(r[0].m_byteCount, 123456u);
    EXPECT_EQ(r[0].m_dateTime, L"2023-11-02 08:15:00");
    EXPECT_EQ(r[0].m_destination, L"Q Series 42   192.168.1.40");
    EXPECT_EQ(r[1].m_drawing, L"\u56fe\u7eb8-\u5e73\u9762\u56fe.dwg");
    EXPECT_EQ(r[1].m_byteCount, 5000000000u);
    EXPECT_EQ(r[1].m_status, L"Plot canceled");
    EXPECT_EQ(r[2].m_drawing, L"AutoCAD Drawing");
    EXPECT_EQ(r[2].m_printer, L"");
    EXPECT_EQ(r[2].m_destination, L"Plot to Windows printer port");
    EXPECT_EQ(r[2].m_status, L"");
    EXPECT_EQ(r[2].m_pConnection, nullptr);
    EXPECT_EQ(r[2].m_pIoContext, nullptr);
}

TEST_F(PlotLogTest, TwelvePlotsLeaveTheNewestTen) {
    for (int n = 1; n <= 12; ++n) ASSERT_EQ(RecordPlot(MakeRecord(n)), kS_OK);
    PlotLog log;
    ASSERT_EQ(log.Load(), kS_OK);
    EXPECT_EQ(Drawings(log), NumberedDrawings(3, 12));

    std::vector<Rec> expected;
    for (int n = 3; n <= 12; ++n) expected.push_back(Numbered(n));
    EXPECT_EQ(ReadLog(), LogBytes(expected));
}

TEST_F(PlotLogTest, FileWithFifteenRecordsLoadsAsTheNewestTen) {
    std::vector<Rec> fifteen;
    for (int n = 1; n <= 15; ++n) fifteen.push_back(Numbered(n));
    WriteLog(LogBytes(fifteen));
    PlotLog log;
    ASSERT_EQ(log.Load(), kS_OK);
    EXPECT_EQ(Drawings(log), NumberedDrawings(6, 15));
}

TEST_F(PlotLogTest, ByteCountAbove32BitsIsStoredAndLoadedWhole) {
    CPlotData plot = MakeRecord(1);
    plot.m_byteCount = 4294967296ULL + 42;
    ASSERT_EQ(RecordPlot(plot), kS_OK);
    const std::string bytes = ReadLog();
    Rec r = Numbered(1);
    r.bytes = 4294967296ULL + 42;
    EXPECT_EQ(bytes, LogBytes({r}));
    PlotLog log;
    ASSERT_EQ(log.Load(), kS_OK);
    ASSERT_EQ(log.GetRecords().size(), 1u);
    EXPECT_EQ(log.GetRecords()[0].m_byteCount, 4294967296ULL + 42);
}

// A log that cannot be read is never replaced by a log of one record: whatever the file holds (a
// foreign file, an unfinished or damaged log) stays as it was, and the plot's record is refused
// with the reason. Only a missing file, or an empty one that a save created to lock it and never
// filled, is a log that does not exist yet.
TEST_F(PlotLogTest, UnreadableFilesAreKeptAndNeverOverwritten) {
    const std::string foreign = std::string(18, 'x') + U32(1) + RecordBytes(Numbered(1));
    const std::string unfinished = HeaderBytes(0) + U32(1) + RecordBytes(Numbered(1));
    std::string cut = LogBytes({Numbered(1), Numbered(2)});
    cut.resize(cut.size() - 3);
    for (const std::string& bytes : {foreign, unfinished, std::string("short"), cut}) {
        WriteLog(bytes);
        PlotLog log;
        EXPECT_EQ(log.Load(), kE_FAIL);
        EXPECT_FALSE(log.NoFileYet());
        EXPECT_FALSE(log.GetErrorText().empty());
        std::wstring error;
        EXPECT_EQ(RecordPlot(MakeRecord(7), &error), kE_FAIL);
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(ReadLog(), bytes) << "the file must stay as it was";
    }
    WriteLog("");
    ASSERT_EQ(RecordPlot(MakeRecord(7)), kS_OK);
    EXPECT_EQ(ReadLog(), LogBytes({Numbered(7)}));

    // No file at all is an empty log too, and saving nothing writes nothing.
    fs::remove(LogFile());
    PlotLog empty;
    EXPECT_TRUE(Failed(empty.Load()));
    EXPECT_TRUE(empty.NoFileYet());
    EXPECT_EQ(empty.Save(), kS_OK);
    EXPECT_FALSE(fs::exists(LogFile()));
    ASSERT_EQ(RecordPlot(MakeRecord(8)), kS_OK);
    EXPECT_EQ(ReadLog(), LogBytes({Numbered(8)}));
}

// A file cut in the middle of a record keeps the records before the cut, and a count that promises
// more records than the file holds yields only the records really there: never empty records in
// their place (which the trim to ten would keep in preference to real ones).
TEST_F(PlotLogTest, ShortFilesKeepOnlyTheirWholeRecords) {
    std::vector<Rec> twelve;
    for (int n = 1; n <= 12; ++n) twelve.push_back(Numbered(n));
    WriteLog(LogBytes(twelve, 15));
    PlotLog log;
    EXPECT_EQ(log.Load(), kE_FAIL) << "the file ended early";
    EXPECT_EQ(Drawings(log), NumberedDrawings(3, 12));

    std::string cut = LogBytes({Numbered(1), Numbered(2), Numbered(3)});
    cut.resize(cut.size() - 5);  // inside the Status of record 3
    WriteLog(cut);
    ASSERT_TRUE(Failed(log.Load()));
    EXPECT_EQ(Drawings(log), NumberedDrawings(1, 2));
}

TEST_F(PlotLogTest, HugeCountIsNotAllocated) {
    WriteLog(LogBytes({Numbered(1), Numbered(2)}, 0xFFFFFFFFu));
    PlotLog log;
    EXPECT_TRUE(Failed(log.Load()));
    EXPECT_EQ(Drawings(log), NumberedDrawings(1, 2));
    EXPECT_LT(log.GetRecords().capacity(), 16u) << "reservation bounded by the bytes in the file";
}

TEST_F(PlotLogTest, EmptyTextsAreStoredAsZeroLengths) {
    CPlotData blank;
    ASSERT_EQ(RecordPlot(blank), kS_OK);
    EXPECT_EQ(ReadLog(), HeaderBytes(18 + 4 + 18) + U32(1) + std::string(18, '\0'));
    PlotLog log;
    ASSERT_EQ(log.Load(), kS_OK);
    ASSERT_EQ(log.GetRecords().size(), 1u);
    EXPECT_EQ(log.GetRecords()[0].m_drawing, L"");
}

TEST_F(PlotLogTest, AddEntryKeepsAtMostTheMaximumAndCopiesTheRecord) {
    PlotLog log;
    for (int n = 1; n <= 11; ++n) log.AddEntry(MakeRecord(n));
    EXPECT_EQ(Drawings(log), NumberedDrawings(2, 11));
    log.SetMaxRecords(0);  // never loops on a maximum below one
    log.AddEntry(MakeRecord(12));
    EXPECT_EQ(Drawings(log), NumberedDrawings(12, 12));
}

// While another load or save has the file open, a plot's save fails cleanly and the file stays as
// it was; a load sees no records.
TEST_F(PlotLogTest, BusyFileMakesLoadAndSaveFailWithoutDamage) {
    ASSERT_EQ(RecordPlot(MakeRecord(1)), kS_OK);
    const std::string before = ReadLog();
    CJuxArchiveFile holder(LogFile().wstring());
    ASSERT_EQ(holder.OpenForRead(), kS_OK);

    EXPECT_EQ(RecordPlot(MakeRecord(2)), kE_FAIL);
    PlotLog log;
    EXPECT_EQ(log.Load(), kE_FAIL);
    EXPECT_TRUE(log.GetRecords().empty());
    holder.Close();
    EXPECT_EQ(ReadLog(), before);
    EXPECT_EQ(
        std::distance(fs::directory_iterator(LogFile().parent_path()), fs::directory_iterator{}),
        1);
}

// A save that dies before it finishes (a crash: the process exits in the middle) or fails (disk
// full, here a file-size limit) never loses the records logged before.
TEST_F(PlotLogTest, InterruptedOrFailedSaveKeepsTheLoggedRecords) {
    for (int n = 1; n <= 5; ++n) ASSERT_EQ(RecordPlot(MakeRecord(n)), kS_OK);
    const std::string before = ReadLog();

    for (int mode = 0; mode < 2; ++mode) {
        SCOPED_TRACE(mode);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (mode == 0) {
                // Crash half-way: the new file is being written when the process ends.
                CJuxArchiveFile archive(LogFile().wstring());
                archive.OpenForWrite();
                archive.WriteBytes("\x05\x00\x00\x00", 4);
                ::_exit(0);  // no destructor, no Close
            }
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{100, 100};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::_exit(RecordPlot(MakeRecord(6)) == kE_FAIL ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_EQ(ReadLog(), before);
        PlotLog log;
        ASSERT_EQ(log.Load(), kS_OK);
        EXPECT_EQ(Drawings(log), NumberedDrawings(1, 5));
    }
    // The log keeps working after the crash, and the next save clears the crashed one's leftover.
    ASSERT_EQ(RecordPlot(MakeRecord(6)), kS_OK);
    EXPECT_EQ(
        std::distance(fs::directory_iterator(LogFile().parent_path()), fs::directory_iterator{}),
        1);
    PlotLog log;
    ASSERT_EQ(log.Load(), kS_OK);
    EXPECT_EQ(Drawings(log), NumberedDrawings(1, 6));
}

// Plots at once never lose each other's record: 10 and then 50 processes recording at the same
// moment leave exactly the newest ten records, each once, and a reader looping meanwhile never
// sees fewer records than were already there, nor a busy log taken for an empty one.
TEST_F(PlotLogTest, PlotsAtOnceKeepEveryRecord) {
    for (int plots : {10, 50}) {
        SCOPED_TRACE(plots);
        fs::remove(LogFile());
        // Fifty plots queue for one lock: under sanitizers on a loaded machine the last ones (and
        // the reader) wait longer than the default bound, which this test does not measure.
        if (plots > 10) ::setenv("XOM_PLOT_LOG_WAIT_MS", "30000", 1);
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        std::vector<pid_t> children;
        for (int c = 0; c < plots; ++c) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                ::close(gate[1]);
                char byte;
                while (::read(gate[0], &byte, 1) < 0) {
                }  // every child starts when the gate closes
                ::_exit(RecordPlot(MakeRecord(plots * 1000 + c)) == kS_OK ? 0 : 1);
            }
            children.push_back(child);
        }
        ::close(gate[0]);
        ::close(gate[1]);

        std::size_t seen = 0;
        int failedLoads = 0;
        std::size_t running = children.size();
        std::vector<int> statuses;
        while (running > 0) {
            PlotLog reader;
            if (reader.Load() == kS_OK) {
                EXPECT_GE(reader.GetRecords().size(), seen);
                seen = std::max(seen, reader.GetRecords().size());
            } else if (!reader.NoFileYet()) {
                ++failedLoads;
            }
            // A reader as a user runs it, not a spin: back to back locks would starve the
            // plots of the exclusive lock they wait for.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            int status = 0;
            const pid_t done = ::waitpid(-1, &status, WNOHANG);
            if (done > 0) {
                --running;
                statuses.push_back(status);
            }
        }
        ::unsetenv("XOM_PLOT_LOG_WAIT_MS");
        EXPECT_EQ(failedLoads, 0);
        for (int status : statuses) EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

        PlotLog log;
        ASSERT_EQ(log.Load(), kS_OK);
        std::vector<std::wstring> names = Drawings(log);
        ASSERT_EQ(names.size(), 10u);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(std::unique(names.begin(), names.end()), names.end()) << "a record twice";
        for (const std::wstring& name : names) {
            const int n = std::stoi(name.substr(name.find(L' ') + 1));
            EXPECT_TRUE(n >= plots * 1000 && n < plots * 1000 + plots) << n;
        }
    }
}

// Readers at once never fail each other: the log file opens for one reader at a time, so a reader
// that finds another one inside waits for it instead of reporting the busy file as an error.
TEST_F(PlotLogTest, ReadersAtOnceAllSucceed) {
    ASSERT_EQ(RecordPlot(MakeRecord(1)), kS_OK);
    constexpr int kLoads = 400;
    std::vector<int> failures(4, 0);
    std::vector<std::thread> readers;
    readers.reserve(failures.size());
    for (int& failed : failures) {
        readers.emplace_back([&failed] {
            for (int i = 0; i < kLoads; ++i) {
                PlotLog log;
                if (log.Load() != kS_OK || log.GetRecords().size() != 1) ++failed;
            }
        });
    }
    for (std::thread& t : readers) t.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

// A huge log is refused, not read: loading takes bounded time and memory whatever the file says.
TEST_F(PlotLogTest, LogLargerThanALogCanBeIsRefused) {
    std::string bytes = LogBytes({Numbered(1)}, 1);
    bytes.resize(kMaxPlotLogFileBytes + 1, '\0');
    WriteLog(bytes);
    PlotLog log;
    EXPECT_EQ(log.Load(), kE_FAIL);
    EXPECT_TRUE(log.GetRecords().empty());
    EXPECT_NE(log.GetErrorText().find(L"too large"), std::wstring::npos);
}

}  // namespace
}  // namespace JuxNetwork
