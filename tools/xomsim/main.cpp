// xomsim: a Q Series printer simulator for trying the driver without a printer. It takes jobs on
// port 9100 of the address it is given, stores each one and says what it received; fault modes
// make it refuse, stall or drop connections as a real printer can.
#include <signal.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/xomsim/JobSink.h"

namespace {

std::atomic<bool> g_stop{false};

void RequestStop(int) {
    g_stop.store(true);
}

}  // namespace

// Whatever escapes ends the run as a failure with its reason, never as an abort without a word.
int main(int argc, char** argv) try {
    CLI::App app{"xomsim: a Q Series printer simulator (job port 9100)"};
    xomsim::SinkOptions options;
    std::vector<std::string> faults;
    app.add_option("--address", options.address,
                   "The printer's IPv4 or IPv6 address to listen on (for example 127.0.0.2)")
        ->required();
    app.add_option("--jobs", options.jobsDir, "Folder that receives each job as job-NNNN.prn")
        ->required();
    app.add_option("--port", options.port, "Job port (default 9100; 0 picks a free one)");
    app.add_option("--fault", faults, "Misbehave: " + xomsim::FaultModesHelp());
    app.add_flag("--preview", options.preview, "Also render each job to job-NNNN.png");
    app.add_option("--max-jobs", options.maxJobs, "Stop after this many jobs (default: never)")
        ->check(CLI::NonNegativeNumber);
    CLI11_PARSE(app, argc, argv);

    for (const auto& f : faults) {
        std::string error;
        if (!xomsim::AddFault(options.faults, f, error)) {
            std::fprintf(stderr, "xomsim: %s\n", error.c_str());
            return 2;
        }
    }
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    xomsim::JobSink sink(options, stdout);
    std::string error;
    if (!sink.Open(error)) {
        std::fprintf(stderr, "xomsim: %s\n", error.c_str());
        return 1;
    }
    const bool v6 = options.address.find(':') != std::string::npos;
    std::printf("xomsim: %s on %s%s%s:%u, jobs in %s\n",
                options.faults.refuse ? "refusing connections" : "listening", v6 ? "[" : "",
                options.address.c_str(), v6 ? "]" : "", static_cast<unsigned>(sink.port()),
                options.jobsDir.c_str());
    std::fflush(stdout);
    const int jobs = sink.Run(g_stop);
    std::printf("xomsim: stopped after %d job(s)\n", jobs);
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "xomsim: %s\n", e.what());
    return 1;
} catch (...) {
    std::fprintf(stderr, "xomsim: unexpected failure\n");
    return 1;
}
