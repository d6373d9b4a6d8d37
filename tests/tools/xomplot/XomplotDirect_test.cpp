// xomplot plotting straight to a simulated printer, run as a user runs it: what it says, its exit
// status and the plot-log record agree with what the printer did, and no plot hangs.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/tools/xomplot/XomplotProcess.h"

namespace {

using namespace xomtest;

// Each test has printers of its own (loopback addresses 127.0.0.45 to .53, .81 and .82), so tests
// may run side by side.
class XomplotDirectTest : public XomplotOutcomeTest {
  protected:
    // A configuration "q" that plots directly to the given address.
    void PlotDirectlyTo(const std::string& address) {
        ASSERT_EQ(Xomplot({"--driver", Driver(), "config", "set", "q", "MachineIpAddress", address})
                      .status,
                  0);
        ASSERT_EQ(
            Xomplot({"--driver", Driver(), "config", "set", "q", "PlotDirectToIpAddress", "1"})
                .status,
            0);
    }
    RunResult PlotDirect(const std::string& drawing) {
        return Xomplot({"--driver", Driver(), "--config", "q", drawing});
    }
    // xomplot plotting directly in the background, for tests that stop it from outside.
    pid_t StartPlotDirect(const std::string& drawing) {
        const pid_t pid = fork();
        if (pid == 0) {
            std::freopen((dir / "stderr").c_str(), "w", stderr);
            std::freopen((dir / "stdout").c_str(), "w", stdout);
            putenv(const_cast<char*>(kLeakCheckEnvironment));
            setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
            execl(XOM_TEST_XOMPLOT, "xomplot", "--driver", Driver().c_str(), "--config", "q",
                  drawing.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid;
    }
    // Waits up to the given time for the program to end; its exit status, -1 when it did not end
    // (it is killed then) or ended by a signal.
    static int Wait(pid_t pid, std::chrono::seconds limit) {
        const auto start = std::chrono::steady_clock::now();
        int status = 0;
        pid_t done = 0;
        while ((done = waitpid(pid, &status, WNOHANG)) == 0 &&
               std::chrono::steady_clock::now() - start < limit)
            usleep(10000);
        if (done == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Waits up to twenty seconds for the text on stderr.
    bool StderrShows(const std::string& text) {
        for (int i = 0; i < 2000; ++i) {
            if (Read(dir / "stderr").find(text) != std::string::npos) return true;
            usleep(10000);
        }
        return false;
    }
};

TEST_F(XomplotDirectTest, APrinterThatEndsTheConnectionEarlyFailsThePlotAndTheRecordSaysSo) {
    int n = 0;
    for (const std::string fault : {"close-after=20000", "reset-after=20000", "refuse"}) {
        SCOPED_TRACE(fault);
        const std::string address = "127.0.0." + std::to_string(45 + n);
        SimulatedPrinter printer(dir, address, {fault});
        PlotDirectlyTo(address);
        const RunResult r = PlotDirect(Big());
        EXPECT_EQ(r.status, 1) << r.out << r.err << printer.Said();
        EXPECT_EQ(r.out, "Printer connection failed\n") << r.err;
        ++n;
        const auto records = Records();
        ASSERT_EQ(records.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(records.back().m_status, L"Printer connection failed");
        EXPECT_EQ(records.back().m_destination.substr(records.back().m_destination.size() -
                                                      address.size() - 3),
                  L"   " + W(address));
        if (fault == "refuse") {
            EXPECT_NE(r.err.find("Cannot connect to printer."), std::string::npos) << r.err;
            EXPECT_EQ(records.back().m_byteCount, 0u);
            continue;
        }
        const std::vector<std::string> jobs = printer.JobLines(1);
        ASSERT_EQ(jobs.size(), 1u) << printer.Said();
        EXPECT_NE(jobs[0].find("by the printer after 20000 bytes"), std::string::npos) << jobs[0];
        EXPECT_EQ(printer.Job(1).size(), 20000u);
        EXPECT_GT(records.back().m_byteCount, 20000u) << "what the plot sent, not what arrived";
    }
}

TEST_F(XomplotDirectTest, ASlowPrinterGetsTheWholeJobWhileTheMeterRuns) {
    SimulatedPrinter printer(dir, "127.0.0.48", {"rate=400000"});
    PlotDirectlyTo("127.0.0.48");
    const RunResult r = PlotDirect(Big());
    EXPECT_EQ(r.status, 0) << r.out << r.err << printer.Said();
    EXPECT_EQ(r.out, "Plot complete\n");
    EXPECT_NE(r.err.find("Progress: 0%"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Progress: 100%"), std::string::npos) << r.err;
    ASSERT_EQ(printer.JobLines(1).size(), 1u) << printer.Said();
    const std::string job = printer.Job(1);
    EXPECT_EQ(Records().back().m_byteCount, job.size());
    EXPECT_EQ(Records().back().m_status, L"Plot complete");
    EXPECT_NE(printer.JobLines(1)[0].find("HP-GL/2 closes yes, ended by the host"),
              std::string::npos)
        << printer.Said();
}

// A printer that stalls keeps the plot waiting (with its meter) until the user gives up: Ctrl-C
// ends it cancelled, and the printer sees the connection go.
TEST_F(XomplotDirectTest, CtrlCWhileAStalledPrinterHoldsThePlotCancelsIt) {
    int n = 0;
    for (const std::string fault : {"stop-reading-after=30000", "never-read"}) {
        SCOPED_TRACE(fault);
        const std::string address = "127.0.0." + std::to_string(49 + n);
        SimulatedPrinter printer(dir, address, {fault});
        PlotDirectlyTo(address);
        const pid_t pid = StartPlotDirect(Big());
        ASSERT_GT(pid, 0);
        const bool waiting = StderrShows("Progress: 0%");
        usleep(600000);  // a few steps of the wait
        kill(pid, SIGINT);
        const int status = Wait(pid, std::chrono::seconds(20));
        ASSERT_TRUE(waiting) << Read(dir / "stderr");
        EXPECT_EQ(status, 3) << Read(dir / "stdout") << Read(dir / "stderr");
        EXPECT_EQ(Read(dir / "stdout"), "Plot canceled\n");
        ++n;
        const auto records = Records();
        ASSERT_EQ(records.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(records.back().m_status, L"Plot canceled");
        const std::vector<std::string> jobs = printer.JobLines(1);
        ASSERT_EQ(jobs.size(), 1u) << printer.Said();
        EXPECT_NE(jobs[0].find("host went away while the printer stalled"), std::string::npos)
            << jobs[0];
        EXPECT_NE(jobs[0].find("HP-GL/2 closes no"), std::string::npos) << jobs[0];
    }
}

TEST_F(XomplotDirectTest, TwoPlotsInARowAreTwoWholeJobsOneAfterTheOther) {
    SimulatedPrinter printer(dir, "127.0.0.51", {}, 2);
    PlotDirectlyTo("127.0.0.51");
    for (int i = 0; i < 2; ++i) {
        const RunResult r = PlotDirect(XOM_TEST_EXAMPLE_DRAWING);
        EXPECT_EQ(r.status, 0) << r.out << r.err << printer.Said();
    }
    const std::vector<std::string> jobs = printer.JobLines(2);
    ASSERT_EQ(jobs.size(), 2u) << printer.Said();
    for (const std::string& line : jobs) {
        EXPECT_NE(line.find("HP-GL/2 closes yes, ended by the host, PJL"), std::string::npos)
            << line;
    }
    EXPECT_EQ(printer.Job(1), printer.Job(2)) << "the clock is pinned: the same plot twice";
    EXPECT_EQ(Records().size(), 2u);
    // The second connection came only after the first had ended: the printer saw none waiting.
    EXPECT_EQ(printer.Said().find("another connection came"), std::string::npos) << printer.Said();
    std::size_t stored = 0;
    for (const auto& e : fs::directory_iterator(printer.jobs))
        stored += e.path().extension() == ".prn" ? 1 : 0;
    EXPECT_EQ(stored, 2u);
}

// A printer that takes the connection and hangs up before reading anything: the plot fails
// wherever the host notices it (the connection, a send or the wait), never complete, never hung.
TEST_F(XomplotDirectTest, APrinterThatHangsUpAtOnceFailsThePlot) {
    int n = 0;
    for (const std::string fault : {"close-after=0", "reset-after=0"}) {
        SCOPED_TRACE(fault);
        const std::string address = "127.0.0." + std::to_string(81 + n);
        SimulatedPrinter printer(dir, address, {fault});
        PlotDirectlyTo(address);
        const RunResult r = PlotDirect(Big());
        EXPECT_EQ(r.status, 1) << r.out << r.err << printer.Said();
        ++n;
        const auto records = Records();
        ASSERT_EQ(records.size(), static_cast<std::size_t>(n));
        // Seen at the wait, or already by the hand-over of the last buffer (the system's text
        // with its fixed line then): both say so on stdout as in the record.
        const std::wstring& status = records.back().m_status;
        EXPECT_TRUE(status == L"Printer connection failed" ||
                    status.find(L"XOM_Driver::end_picture::1661") != std::wstring::npos)
            << r.out;
        EXPECT_EQ(W(r.out.substr(0, r.out.find('\n'))),
                  status.substr(0, status.find_first_of(L"\r\n")));
        EXPECT_EQ(records.back().m_destination, L"xomq15   " + W(address));
        const std::vector<std::string> jobs = printer.JobLines(1);
        ASSERT_EQ(jobs.size(), 1u) << printer.Said();
        EXPECT_NE(jobs[0].find(": 0 bytes"), std::string::npos) << jobs[0];
        EXPECT_TRUE(printer.Job(1).empty());
    }
}

}  // namespace

namespace {

// The example printer with users and accounting: the plot carries a ticket whose tokens the
// printer finds valid; a wrong password is refused before anything is sent; a user without
// colour rights gets a gray plot after the switch message.
TEST_F(XomplotDirectTest, ThePrintersUsersAndAccountingDecideAndTheTokensPass) {
    const std::string address = "127.0.0.52";
    SimulatedPrinter printer(dir, address, {}, 2,
                             std::string(XOM_TEST_EXAMPLES) + "/printer-q-series.txt");
    PlotDirectlyTo(address);
    auto set = [&](const std::string& key, const std::string& value) {
        ASSERT_EQ(Xomplot({"--driver", Driver(), "config", "set", "q", key, value}).status, 0);
    };
    set("UserName", "alice");
    set("UserValidPassword", "plotter1");
    set("AcctInfo0Name", "P-1001");
    set("AcctInfo0ValidPassword", "alpha");
    set("AcctInfo1Name", "CC-100");
    RunResult r = PlotDirect(XOM_TEST_EXAMPLE_DRAWING);
    EXPECT_EQ(r.status, 0) << r.out << r.err << printer.Said();
    std::vector<std::string> jobs = printer.JobLines(1);
    ASSERT_EQ(jobs.size(), 1u) << printer.Said();
    EXPECT_NE(jobs[0].find("ticket yes, tokens: user alice valid, AccountingInfo 1 P-1001 valid"),
              std::string::npos)
        << jobs[0];
    const std::string job = printer.Job(1);
    EXPECT_NE(job.find("<MediaType>"), std::string::npos);
    EXPECT_NE(job.find("<ColorMode>Color</ColorMode>"), std::string::npos);

    // A wrong password: cancelled, nothing reaches the printer.
    set("UserValidPassword", "guess");
    r = PlotDirect(XOM_TEST_EXAMPLE_DRAWING);
    EXPECT_EQ(r.status, 3) << r.out << r.err;
    EXPECT_NE(r.err.find("User name Invalid"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("--password"), std::string::npos) << "says how to give it: " << r.err;
    EXPECT_EQ(printer.JobLines(2).size(), 1u) << "a refused plot sends nothing";

    // Bob may plot only in monochrome: the colour plot becomes gray.
    set("UserName", "bob");
    set("UserValidPassword", "bob's secret");
    r = PlotDirect(XOM_TEST_EXAMPLE_DRAWING);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.err.find("Switching from color to monochrome plot"), std::string::npos) << r.err;
    jobs = printer.JobLines(2);
    ASSERT_EQ(jobs.size(), 2u) << printer.Said();
    EXPECT_NE(jobs[1].find("user bob valid"), std::string::npos) << jobs[1];
    EXPECT_NE(printer.Job(2).find("<ColorMode>BlackWhite</ColorMode>"), std::string::npos);
}

// What a terminal shows: read from the pseudo-terminal's master side until text appears, the
// program ends or the time is up.
class TerminalSession {
  public:
    explicit TerminalSession(int master) : m_master(master) {}
    bool Until(const std::string& text, std::chrono::seconds limit = std::chrono::seconds(60)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (seen.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > end) return false;
            pollfd p{m_master, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char buf[512];
            const ssize_t n = read(m_master, buf, sizeof buf);
            if (n <= 0) return false;  // the program has ended
            seen.append(buf, static_cast<std::size_t>(n));
        }
        return true;
    }
    void Type(const std::string& line) {
        ASSERT_EQ(write(m_master, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    }
    std::string seen;

  private:
    int m_master;
};

// Without a display, a plot whose password does not pass asks for the user and the password on
// the terminal (the password not echoed) and goes on with them; the stored one stays as it was.
TEST_F(XomplotDirectTest, WithoutADisplayTheTerminalAsksForWhatIsMissing) {
    const std::string address = "127.0.0.53";
    SimulatedPrinter printer(dir, address, {}, 2,
                             std::string(XOM_TEST_EXAMPLES) + "/printer-q-series.txt");
    PlotDirectlyTo(address);
    for (const auto& [key, value] :
         std::vector<std::pair<std::string, std::string>>{{"UserName", "alice"},
                                                          {"UserValidPassword", "guess"},
                                                          {"AcctInfo0Name", "P-1001"},
                                                          {"AcctInfo0ValidPassword", "alpha"},
                                                          {"AcctInfo1Name", "CC-100"}})
        ASSERT_EQ(Xomplot({"--driver", Driver(), "config", "set", "q", key, value}).status, 0);
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) unsetenv(name);
        putenv(const_cast<char*>(kLeakCheckEnvironment));
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        execl(XOM_TEST_XOMPLOT, "xomplot", "--driver", Driver().c_str(), "--config", "q",
              XOM_TEST_EXAMPLE_DRAWING, static_cast<char*>(nullptr));
        _exit(127);
    }
    TerminalSession terminal(master);
    const bool asked = terminal.Until("User name: ");
    if (asked) terminal.Type("1\n");  // alice, by her number in the list
    const bool askedPassword = asked && terminal.Until("User name password: ");
    if (askedPassword) terminal.Type("plotter1\n");
    terminal.Until("\x04");  // to the end of the program's output
    if (!askedPassword) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(master);
    ASSERT_TRUE(askedPassword) << terminal.seen;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << terminal.seen;
    EXPECT_NE(terminal.seen.find("1. alice"), std::string::npos) << terminal.seen;
    EXPECT_EQ(terminal.seen.find("plotter1"), std::string::npos) << "echoed: " << terminal.seen;
    EXPECT_NE(terminal.seen.find("Plot complete"), std::string::npos) << terminal.seen;
    const std::vector<std::string> jobs = printer.JobLines(1);
    ASSERT_EQ(jobs.size(), 1u) << printer.Said();
    EXPECT_NE(jobs[0].find("tokens: user alice valid"), std::string::npos) << jobs[0];
    // The typed password was this plot's only: without a terminal the next plot is refused.
    const RunResult next = PlotDirect(XOM_TEST_EXAMPLE_DRAWING);
    EXPECT_EQ(next.status, 3) << next.out << next.err;
    EXPECT_NE(next.err.find("User name Invalid"), std::string::npos) << next.err;
}

}  // namespace
