#include "juxcommoncode/PlotLog/PlotLog.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
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

TEST_F(PlotLogTest, UnusableFilesLoadEmptyAndAreReplacedByTheNextSave) {
    const std::string foreign = std::string(18, 'x') + U32(1) + RecordBytes(Numbered(1));
    const std::string unfinished = HeaderBytes(0) + U32(1) + RecordBytes(Numbered(1));
    for (const std::string& bytes : {foreign, unfinished, std::string("short")}) {
        WriteLog(bytes);
        PlotLog log;
        EXPECT_EQ(log.Load(), kE_FAIL);
        EXPECT_TRUE(log.GetRecords().empty());
        ASSERT_EQ(RecordPlot(MakeRecord(7)), kS_OK);
        EXPECT_EQ(ReadLog(), LogBytes({Numbered(7)}));
    }
    // No file at all is an empty log too, and saving nothing writes nothing.
    fs::remove(LogFile());
    PlotLog empty;
    EXPECT_TRUE(Failed(empty.Load()));
    EXPECT_EQ(empty.Save(), kS_OK);
    EXPECT_FALSE(fs::exists(LogFile()));
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

// Several processes plotting at once may lose each other's record (each loads, adds and saves),
// but the file is always a complete, readable log.
TEST_F(PlotLogTest, ConcurrentPlotsNeverCorruptTheFile) {
    std::vector<pid_t> children;
    for (int c = 0; c < 4; ++c) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int n = 0; n < 25; ++n) RecordPlot(MakeRecord(c * 100 + n));
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) ::waitpid(child, nullptr, 0);
    PlotLog log;
    ASSERT_EQ(log.Load(), kS_OK);
    EXPECT_GE(log.GetRecords().size(), 1u);
    EXPECT_LE(log.GetRecords().size(), 10u);
    for (const CPlotData& r : log.GetRecords()) EXPECT_EQ(r.m_drawing.rfind(L"drawing ", 0), 0u);
}

}  // namespace
}  // namespace JuxNetwork
