#pragma once
// xomplot run as a user runs it, for the end-to-end tests: a separate process with its exit
// status and its output, in a folder of the test's own; and a simulated printer beside it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "juxcommoncode/PlotLog/PlotLog.h"
#include "tests/tools/xomplot/LinkedPrinter.h"

namespace xomtest {

namespace fs = std::filesystem;

// LeakSanitizer's scan of thread-local storage crashes its tracer now and then at the exit of a
// program that has unloaded a library with thread-local storage, as every xomplot run unloads its
// driver ("Tracer caught signal 11"); leaks are still found from the heap, stacks and globals.
// What glib keeps only in thread storage is suppressed for that reason (tests/lsan.supp).
constexpr const char* kLeakCheckEnvironment =
    "LSAN_OPTIONS=use_tls=0:suppressions=" XOM_LSAN_SUPPRESSIONS;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

class XomplotCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("xomplot_cli_" + std::to_string(getpid()));
        fs::create_directories(dir);
        // The plot log too is the test's own: tests running side by side that plot the same
        // drawing must not see each other's records (nor touch the user's).
        setenv("XDG_DATA_HOME", (dir / "data-home").c_str(), 1);
    }
    void TearDown() override {
        linked.reset();
        unsetenv("XDG_DATA_HOME");
        fs::remove_all(dir);
    }

    static std::string Quote(const std::string& s) {
        std::string q = "'";
        for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    }
    // prefix: shell text run first in the same shell (limits, environment), e.g. "ulimit -f 9;".
    // Clock and user pinned so job streams are reproducible; configurations kept in the test's own
    // folder. Under the sanitizers, the leak check skips thread storage (kLeakCheckEnvironment).
    // A plot that names no configuration plots with "linked" (LinkedPrinter.h), whose printer
    // starts with the first such plot.
    RunResult Xomplot(std::vector<std::string> args, const std::string& prefix = {}) {
        if (NeedsLinkedPrinter(args)) {
            LinkedAddress();
            if (!fs::exists(dir / "config" / "xomplot" / "printers" / "linked.conf"))
                linked->Link(dir / "config");
            args.insert(args.begin(), {"--config", "linked"});
        }
        // No display unless the test gives one: a run never waits for a dialog nobody sees.
        std::string cmd = prefix + " env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                          display + " " + kLeakCheckEnvironment +
                          " SOURCE_DATE_EPOCH=1733740800 USERNAME=tester XDG_CONFIG_HOME=" +
                          Quote((dir / "config").string()) + " " + Quote(XOM_TEST_XOMPLOT);
        for (const auto& a : args) cmd += " " + Quote(a);
        cmd += " >" + Quote((dir / "stdout").string()) + " 2>" + Quote((dir / "stderr").string()) +
               " </dev/null";
        RunResult r;
        const int raw = std::system(cmd.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = Read(dir / "stdout");
        r.err = Read(dir / "stderr");
        return r;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path Write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name) << text;
        return dir / name;
    }
    std::string Driver() const { return std::string(XOM_TEST_DRIVER_DIR) + "/xomq15.hdi"; }
    // The address of the printer of "linked", for configurations of a test's own.
    std::string LinkedAddress() {
        if (!linked) {
            fs::create_directories(dir / "linked");
            linked = std::make_unique<LinkedPrinter>(dir / "linked");
        }
        return linked->address;
    }
    static bool NeedsLinkedPrinter(const std::vector<std::string>& args) {
        bool plot = false;
        for (const auto& a : args) {
            if (a == "--config" || a == "config" || a == "log" || a == "preview" || a == "printers")
                return false;
            plot = plot || a == "-o" || a == "--port";
        }
        return plot;
    }
    fs::path dir;
    std::unique_ptr<LinkedPrinter> linked;
    // The runs' display, e.g. "QT_QPA_PLATFORM=offscreen" or "DISPLAY=:1"; none when empty.
    std::string display;
};

// A simulated printer (xomsim) on its own loopback address, port 9100, for a number of jobs.
struct SimulatedPrinter {
    pid_t pid = -1;
    fs::path jobs;
    fs::path out;
    SimulatedPrinter(const fs::path& dir, const std::string& address,
                     const std::vector<std::string>& faults = {}, int maxJobs = 1,
                     const std::string& printerFile = std::string(XOM_TEST_EXAMPLES) +
                                                      "/printer-q1.txt")
        : jobs(dir / ("jobs-" + address)), out(dir / ("xomsim-" + address + ".txt")) {
        const fs::path pidFile = dir / ("xomsim-" + address + ".pid");
        // It answers SNMP as well (port 161 of its address), as the driver reads a linked
        // printer's data before each plot.
        std::string cmd = std::string(XOM_TEST_XOMSIM) + " --address " + address + " --jobs '" +
                          jobs.string() + "' --max-jobs " + std::to_string(maxJobs) +
                          " --printer '" + printerFile + "'";
        for (const auto& f : faults) cmd += " --fault " + f;
        cmd += " >'" + out.string() + "' 2>&1 & echo $! >'" + pidFile.string() + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        std::ifstream(pidFile) >> pid;
        // Listening once it has said so (a sanitizer build on a loaded machine starts slowly).
        for (int i = 0; i < 1500 && Said().find("xomsim: ") != 0; ++i) usleep(20000);
    }
    ~SimulatedPrinter() {
        if (pid > 0) kill(pid, SIGTERM);
    }
    SimulatedPrinter(const SimulatedPrinter&) = delete;
    SimulatedPrinter& operator=(const SimulatedPrinter&) = delete;

    // Everything it printed so far: the listening line, then a summary line per job.
    std::string Said() const {
        std::ifstream in(out, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Its summary lines of jobs (one per connection that ended), waiting up to ten seconds for
    // the given number.
    std::vector<std::string> JobLines(std::size_t count) const {
        std::vector<std::string> lines;
        for (int i = 0; i < 500; ++i) {
            lines.clear();
            std::istringstream said(Said());
            for (std::string line; std::getline(said, line);)
                if (line.find("xomsim: job ") == 0) lines.push_back(line);
            if (lines.size() >= count) break;
            usleep(20000);
        }
        return lines;
    }
    // The bytes of job number n as stored (empty when there is none).
    std::string Job(int n) const {
        char name[32];
        std::snprintf(name, sizeof name, "job-%04d.prn", n);
        std::ifstream in(jobs / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

// Outcomes through the real program: what it says, its exit status and the record it leaves in
// the plot log always agree, whatever stopped the plot.
class XomplotOutcomeTest : public XomplotCliTest {
  protected:
    void SetUp() override {
        XomplotCliTest::SetUp();
        std::ofstream big(dir / "big.drw");
        big << "drawing Big sheet\n";
        for (int i = 0; i < 20000; ++i)
            big << "polyline weight=" << 1 + i % 5 << " : " << i % 4000 << ",0 " << i % 3000
                << ",4000 " << (i * 7) % 4000 << ",100\n";
    }
    std::vector<JuxNetwork::CPlotData> Records() {
        JuxNetwork::PlotLog log;
        log.Load();
        return log.GetRecords();
    }
    std::string Big() const { return (dir / "big.drw").string(); }
    // Files of the folder other than the given ones (leftover temporary files), the linked
    // printer's and the configurations aside.
    std::vector<std::string> Others(std::initializer_list<std::string> known) const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string name = e.path().filename().string();
            if (name == "linked" || name == "config") continue;
            if (std::find(known.begin(), known.end(), name) == known.end()) out.push_back(name);
        }
        return out;
    }
};

inline std::wstring W(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

}  // namespace xomtest
