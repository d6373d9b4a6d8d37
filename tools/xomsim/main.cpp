// xomsim: a Q Series printer simulator for trying the driver without a printer. It takes jobs on
// port 9100 of the address it is given, stores each one and says what it received; fault modes
// make it refuse, stall or drop connections as a real printer can. Given a printer description it
// also answers SNMP version 1 on UDP port 161 and can sleep until a Wake-on-LAN packet comes.
#include <signal.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tools/xomsim/JobSink.h"
#include "tools/xomsim/PrinterDescription.h"
#include "tools/xomsim/SnmpAgent.h"

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
    std::string printerFile;
    xomsim::AgentOptions agentOptions;
    app.add_option("--printer", printerFile,
                   "Printer description file (identity and MIB objects): answer SNMP v1 on UDP "
                   "port 161 of the address");
    app.add_option("--snmp-port", agentOptions.snmpPort,
                   "SNMP port (default 161; 0 picks a free one)");
    app.add_option("--wol-port", agentOptions.wolPort,
                   "Wake-on-LAN port (default 7; 0 picks a free one)");
    app.add_flag("--sleep", agentOptions.sleep,
                 "Start asleep: answer nothing on either port until a Wake-on-LAN magic packet "
                 "for the printer's MAC arrives");
    app.add_option("--wake-packets", agentOptions.wakePackets,
                   "With --sleep: wake at this many magic packets, not the first (a printer "
                   "that takes a while to wake)")
        ->check(CLI::Range(1, 1000));
    app.add_option("--snmp-delay", agentOptions.delayMs, "Send each SNMP answer this many ms late")
        ->check(CLI::Range(0, 600000));
    app.add_option("--snmp-drop", agentOptions.dropPercent,
                   "Drop this percentage of the SNMP answers")
        ->check(CLI::Range(0, 100));
    app.add_option("--seed", agentOptions.seed,
                   "Seed of the drop decisions and of the salts the description does not give "
                   "(default 1)");
    CLI11_PARSE(app, argc, argv);
    if (printerFile.empty() &&
        (agentOptions.sleep || agentOptions.delayMs > 0 || agentOptions.dropPercent > 0)) {
        std::fprintf(stderr,
                     "xomsim: --sleep, --snmp-delay and --snmp-drop need a --printer file\n");
        return 2;
    }

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

    std::string error;
    std::unique_ptr<xomsim::SnmpAgent> agent;
    xomsim::PrinterDescription printer;
    if (!printerFile.empty()) {
        if (!xomsim::LoadPrinterDescription(printerFile, printer, error, agentOptions.seed)) {
            std::fprintf(stderr, "xomsim: %s\n", error.c_str());
            return 2;
        }
        agentOptions.address = options.address;
        agent = std::make_unique<xomsim::SnmpAgent>(agentOptions, printer, stdout);
        if (!agent->Open(error)) {
            std::fprintf(stderr, "xomsim: %s\n", error.c_str());
            return 1;
        }
        options.asleep = &agent->asleep();
        options.printer = &printer;
        std::printf(
            "xomsim: printer %s answering SNMP on UDP port %u, Wake-on-LAN on UDP port "
            "%u%s%s%s\n",
            printer.name.c_str(), static_cast<unsigned>(agent->snmpPort()),
            static_cast<unsigned>(agent->wolPort()), agentOptions.sleep ? ", asleep" : "",
            agentOptions.delayMs > 0 ? ", answers late" : "",
            agentOptions.dropPercent > 0 ? ", drops answers" : "");
    }
    xomsim::JobSink sink(options, stdout);
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
    std::thread snmp;
    if (agent) snmp = std::thread([&agent] { agent->Run(g_stop); });
    const int jobs = sink.Run(g_stop);
    g_stop.store(true);
    if (snmp.joinable()) snmp.join();
    std::printf("xomsim: stopped after %d job(s)\n", jobs);
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "xomsim: %s\n", e.what());
    return 1;
} catch (...) {
    std::fprintf(stderr, "xomsim: unexpected failure\n");
    return 1;
}
