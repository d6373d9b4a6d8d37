#include "juxcommoncode/PlotLog/PlotLogView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace JuxNetwork {
namespace {

CPlotData Sample() {
    CPlotData d;
    d.m_drawing = L"Site plan.dwg";
    d.m_byteCount = 4294967296ULL + 1234;  // shown modulo 2^32
    d.m_dateTime = L"2024-02-29 23:59:58";
    d.m_printer = L"Q Series 42";
    d.m_destination = L"Q Series 42   10.0.0.7";
    d.m_status = L"";
    return d;
}

TEST(PlotData, DumpAppendsSixLabelledLinesInOrder) {
    std::wstring text = L"before";
    Sample().AppendDump(text);
    EXPECT_EQ(text,
              L"before"
              L"\n   Date and Time: 2024-02-29 23:59:58"
              L"\n   Drawing: Site plan.dwg"
              L"\n   Printer: Q Series 42"
              L"\n   Destination: Q Series 42   10.0.0.7"
              L"\n   Byte Count: 1234"
              L"\n   Status: ");
}

TEST(PlotData, DumpTakesLabelsFromTheGivenLoader) {
    std::wstring text;
    Sample().AppendDump(text, [](unsigned id) { return L"#" + std::to_wstring(id); });
    EXPECT_EQ(text,
              L"\n   #290: 2024-02-29 23:59:58\n   #288: Site plan.dwg\n   #240: Q Series 42"
              L"\n   #291: Q Series 42   10.0.0.7\n   #289: 1234\n   #292: ");
}

TEST(PlotData, DateTimeFormat) {
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 3;
    t.tm_sec = 9;
    EXPECT_EQ(FormatPlotDateTime(t), L"2024-01-05 07:03:09");
}

TEST(PlotLogView, ListTextSplitsAtLineBreaksAndContinuesTheLastLine) {
    std::vector<std::wstring> lines{L"Driver"};
    AppendListText(lines, L" 1.0\nHost\n\nend");
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"Driver 1.0", L"Host", L"", L"end"}));
    std::vector<std::wstring> none;
    AppendListText(none, L"\nx");
    EXPECT_EQ(none, (std::vector<std::wstring>{L"", L"x"}));
}

TEST(PlotLogView, ShowsNewestFirstNumberedFromOne) {
    PlotLog log;
    CPlotData older = Sample();
    older.m_drawing = L"old.dwg";
    CPlotData newer = Sample();
    newer.m_drawing = L"new.dwg";
    newer.m_status = L"Plot complete";
    log.AddEntry(older);
    log.AddEntry(newer);

    const std::vector<std::wstring> expected{
        L"",
        std::wstring(69, L'-'),
        L"",
        L"Recent Plot Log",
        L"1:",
        L"   Date and Time: 2024-02-29 23:59:58",
        L"   Drawing: new.dwg",
        L"   Printer: Q Series 42",
        L"   Destination: Q Series 42   10.0.0.7",
        L"   Byte Count: 1234",
        L"   Status: Plot complete",
        L"2:",
        L"   Date and Time: 2024-02-29 23:59:58",
        L"   Drawing: old.dwg",
        L"   Printer: Q Series 42",
        L"   Destination: Q Series 42   10.0.0.7",
        L"   Byte Count: 1234",
        L"   Status: ",
    };
    EXPECT_EQ(PlotLogViewLines(log), expected);

    // After the about box's own lines, the section starts on lines of its own.
    std::vector<std::wstring> lines{L"Driver 1.0"};
    AppendPlotLogView(lines, log, [](unsigned id) {
        return id == kIdsRecentPlotLog ? std::wstring(L"Journal") : DefaultPlotLogString(id);
    });
    ASSERT_EQ(lines.size(), expected.size() + 1);
    EXPECT_EQ(lines[0], L"Driver 1.0");
    EXPECT_EQ(lines[4], L"Journal");
}

TEST(PlotLogView, EmptyLogAddsNothing) {
    PlotLog log;
    EXPECT_TRUE(PlotLogViewLines(log).empty());
}

}  // namespace
}  // namespace JuxNetwork
