#include "tools/xomplot/PlotOutcome.h"

#include <gtest/gtest.h>
#include <signal.h>

#include "hdi/HT_Error.h"
#include "tools/xomplot/HostPlotMonitor.h"

namespace xomplot {
namespace {

PlotObservation Written(std::size_t bytes) {
    PlotObservation o;
    o.output_opened = true;
    o.bytes_written = bytes;
    return o;
}

TEST(PlotOutcome, DriverStatusDecidesAndIsWhatIsSaid) {
    PlotObservation seen = Written(100);
    seen.driver_status = L"Plot complete";
    EXPECT_EQ(DecideOutcome(seen).outcome, PlotOutcome::Complete);
    seen.driver_status = L"Plot canceled";
    EXPECT_EQ(DecideOutcome(seen).outcome, PlotOutcome::Cancelled);
    seen.driver_status = L"Plot is empty.";
    EXPECT_EQ(DecideOutcome(seen).outcome, PlotOutcome::Empty);

    // The driver records a failed close as its failure: that text is the outcome, as recorded.
    seen.driver_status = L"print command exited with status 4";
    seen.output_error = L"print command exited with status 4";
    EXPECT_EQ(DecideOutcome(seen).outcome, PlotOutcome::Failed);
    EXPECT_EQ(DecideOutcome(seen).status, L"print command exited with status 4");

    // A cancel that gave up a blocked write is still the user's cancel.
    PlotObservation cancelled = Written(10);
    cancelled.driver_status = L"Plot canceled";
    cancelled.write_failures = 1;
    cancelled.output_error = L"write to |sleep 9 given up: the plot was cancelled";
    EXPECT_EQ(DecideOutcome(cancelled).outcome, PlotOutcome::Cancelled);

    // A "complete" that the host knows to be false is overruled.
    seen.driver_status = L"Plot complete";
    EXPECT_EQ(DecideOutcome(seen).outcome, PlotOutcome::Failed);
}

// The outcome comes from the driver's string numbers as its resource library words them: a
// translated library gives the same outcomes, and the English words mean nothing there.
TEST(PlotOutcome, TranslatedStatusTextsGiveTheSameOutcomes) {
    PlotObservation seen = Written(100);
    seen.status_texts =
        StatusTexts{L"Trazado completo", L"Trazado cancelado", L"Trazado vac\u00edo"};
    seen.driver_status = L"Trazado completo";
    EXPECT_EQ(DecideOutcome(seen).outcome, PlotOutcome::Complete);
    EXPECT_EQ(DecideOutcome(seen).status, L"Trazado completo");
    seen.driver_status = L"Trazado cancelado";
    EXPECT_EQ(DecideOutcome(seen).outcome, PlotOutcome::Cancelled);
    seen.driver_status = L"Trazado vac\u00edo";
    EXPECT_EQ(DecideOutcome(seen).outcome, PlotOutcome::Empty);
    seen.driver_status = L"Plot complete";
    EXPECT_EQ(DecideOutcome(seen).outcome, PlotOutcome::Failed);
}

TEST(PlotOutcome, WhatTheHostCouldNotDrawIsNeverACompletePlot) {
    PlotObservation seen = Written(100);
    seen.reported_messages.push_back(HT_MSG_NOT_SUPPORTED);
    EXPECT_EQ(DecideOutcome(seen).outcome, PlotOutcome::Failed);
    seen.driver_status = L"Plot complete";
    EXPECT_EQ(DecideOutcome(seen).outcome, PlotOutcome::Failed);
    EXPECT_NE(DecideOutcome(seen).status, L"Plot complete");
}

TEST(PlotOutcome, FromWhatTheHostObserved) {
    EXPECT_EQ(DecideOutcome(Written(100)).outcome, PlotOutcome::Complete);
    EXPECT_EQ(DecideOutcome(Written(100)).status, L"Plot complete");

    PlotObservation empty = Written(0);
    empty.aborted = true;
    EXPECT_EQ(DecideOutcome(empty).outcome, PlotOutcome::Empty);
    EXPECT_EQ(DecideOutcome(empty).status, L"Plot is empty.");

    PlotObservation cancelled = Written(50);
    cancelled.cancelled = true;
    cancelled.aborted = true;
    EXPECT_EQ(DecideOutcome(cancelled).outcome, PlotOutcome::Cancelled);
    EXPECT_EQ(DecideOutcome(cancelled).status, L"Plot canceled");

    PlotObservation shortWrite = Written(10);
    shortWrite.write_failures = 1;
    shortWrite.output_error = L"write: No space left on device";
    EXPECT_EQ(DecideOutcome(shortWrite).outcome, PlotOutcome::Failed);
    EXPECT_NE(DecideOutcome(shortWrite).status.find(L"No space"), std::wstring::npos);

    PlotObservation refused = Written(0);
    refused.reported_messages = {HT_MSG_OUTPUT_CONNECTION_FAILED};
    EXPECT_EQ(DecideOutcome(refused).outcome, PlotOutcome::Failed);

    PlotObservation badClose = Written(10);
    badClose.output_error = L"print command exited with status 1";
    EXPECT_EQ(DecideOutcome(badClose).outcome, PlotOutcome::Failed);

    PlotObservation abortedWithBytes = Written(10);
    abortedWithBytes.aborted = true;
    abortedWithBytes.shown_messages = {L"Something went wrong"};
    EXPECT_EQ(DecideOutcome(abortedWithBytes).outcome, PlotOutcome::Failed);
    EXPECT_NE(DecideOutcome(abortedWithBytes).status.find(L"Something"), std::wstring::npos);

    PlotObservation hostError;
    hostError.host_errors = {"d.drw:3: bad point"};
    EXPECT_EQ(DecideOutcome(hostError).outcome, PlotOutcome::Failed);
    EXPECT_EQ(DecideOutcome(hostError).status, L"d.drw:3: bad point");
}

TEST(PlotOutcome, TheDriversOwnStatusDecidesWhenKnown) {
    PlotObservation o = Written(100);
    o.driver_status = L"Printer connection failed";
    EXPECT_EQ(DecideOutcome(o).outcome, PlotOutcome::Failed);
    EXPECT_EQ(DecideOutcome(o).status, L"Printer connection failed");
    o.driver_status = L"Plot canceled";
    EXPECT_EQ(DecideOutcome(o).outcome, PlotOutcome::Cancelled);
    o.driver_status = L"Plot is empty.";
    EXPECT_EQ(DecideOutcome(o).outcome, PlotOutcome::Empty);
}

// A direct plot writes nothing through the host's output: when the log cannot tell which new
// record is this plot's, the host's zero bytes must not turn it into an empty plot.
TEST(PlotOutcome, AnUnclearDriverRecordIsNeverEmptyOrComplete) {
    for (std::size_t bytes : {std::size_t{0}, std::size_t{100}}) {
        PlotObservation o = Written(bytes);
        o.driver_status_ambiguous = true;
        EXPECT_EQ(DecideOutcome(o).outcome, PlotOutcome::Failed) << bytes;
        EXPECT_NE(DecideOutcome(o).status.find(L"unknown"), std::wstring::npos);
    }
    PlotObservation cancelled = Written(0);
    cancelled.driver_status_ambiguous = true;
    cancelled.cancelled = true;
    EXPECT_EQ(DecideOutcome(cancelled).outcome, PlotOutcome::Cancelled);
}

TEST(HostPlotMonitor, CtrlCTermAndHangUpBecomeACancelOnTheNextPoll) {
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sig);
        SPMP<HostPlotMonitor> m(new HostPlotMonitor(nullptr, false));
        ClearInterrupt();
        InstallInterruptHandler();
        EXPECT_EQ(m->request(HT_MONITOR_POLL_CANCEL), 0);
        raise(sig);
        EXPECT_TRUE(InterruptRequested());
        EXPECT_NE(m->request(HT_MONITOR_POLL_CANCEL), 0);
        EXPECT_TRUE(m->cancelled());
        RestoreInterruptHandler();
        ClearInterrupt();
    }
}

TEST(HostPlotMonitor, MeterAndDrawingProgressAreShown) {
    char* buf = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&buf, &size);
    {
        SPMP<HostPlotMonitor> m(new HostPlotMonitor(out, false));
        EXPECT_TRUE(m->meter_start());
        m->meter_show(40);
        m->meter_show(40);  // unchanged: not shown again
        m->meter_show(100);
        m->meter_end();
        for (std::size_t i = 0; i <= 20; ++i) m->show_drawing_progress(i, 20);
    }
    std::fclose(out);
    const std::string text(buf, size);
    free(buf);
    EXPECT_NE(text.find("Progress: 0%\nProgress: 40%\nProgress: 100%\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Drawing: 0/20\n"), std::string::npos);
    EXPECT_NE(text.find("Drawing: 20/20\n"), std::string::npos);
    EXPECT_LE(std::count(text.begin(), text.end(), '\n'), 3 + 11);  // a line per tenth at most
}

}  // namespace
}  // namespace xomplot
