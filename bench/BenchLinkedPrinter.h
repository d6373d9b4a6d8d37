#pragma once
// The driver plots only to a linked printer, whose data it reads before each plot: the
// simulator's agent (printer-q1) on a loopback address of the benchmark's own serves it, and the
// plots use the configuration "bench" linked to it (kept under configHome, which becomes the
// XDG_CONFIG_HOME of the run). False (and the reason on stderr) when the agent cannot start.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "tools/xomsim/PrinterDescription.h"
#include "tools/xomsim/SnmpAgent.h"

namespace xombench {

struct BenchPrinter {
    std::FILE* log = std::fopen("/dev/null", "w");  // the agent's line per request
    std::unique_ptr<xomsim::SnmpAgent> agent;
    std::atomic<bool> stop{false};
    std::thread serving;
    ~BenchPrinter() {
        stop.store(true);
        if (serving.joinable()) serving.join();
        agent.reset();
        if (log != nullptr) std::fclose(log);
    }
};

inline bool StartLinkedPrinter(const std::filesystem::path& configHome, const std::string& address,
                               const char* program) {
    static BenchPrinter printer;
    if (printer.agent) return true;
    xomsim::PrinterDescription description;
    std::string error;
    if (!xomsim::LoadPrinterDescription(XOM_BENCH_EXAMPLES "/printer-q1.txt", description, error)) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        return false;
    }
    xomsim::AgentOptions options;
    options.address = address;
    options.wolPort = 0;
    auto agent = std::make_unique<xomsim::SnmpAgent>(options, description, printer.log);
    if (!agent->Open(error)) {
        std::fprintf(stderr, "%s: the linked printer's agent: %s\n", program, error.c_str());
        return false;
    }
    printer.agent = std::move(agent);
    printer.serving = std::thread([] { printer.agent->Run(printer.stop); });
    const std::filesystem::path printers = configHome / "xomplot" / "printers";
    std::filesystem::create_directories(printers);
    std::ofstream(printers / "bench.conf") << "MachineIpAddress = " << address << "\n";
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    return true;
}

}  // namespace xombench
