#pragma once
// The driver plots only to a linked printer: it reads the printer's data before a picture sends a
// byte, and a configuration without a printer address cancels the plot. The end-to-end tests
// therefore plot with a configuration linked to a simulated printer that answers SNMP on a
// loopback address of the test process's own (its job port is any free one: these plots go to
// files and ports).
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace xomtest {

// 127.88.x.y from the process id: tests running side by side never share a printer.
inline std::string OwnLoopbackAddress() {
    const unsigned id = static_cast<unsigned>(getpid());
    return "127.88." + std::to_string((id >> 8) & 0xFF) + "." + std::to_string(id & 0xFF);
}

class LinkedPrinter {
  public:
    // Starts the printer of the description file with further xomsim options; work holds its
    // log, pid file and jobs (linked-jobs).
    explicit LinkedPrinter(const std::filesystem::path& work,
                           const std::string& printerFile = std::string(XOM_TEST_EXAMPLES) +
                                                            "/printer-q1.txt",
                           const std::string& options = "--port 0")
        : address(OwnLoopbackAddress()), m_log(work / "linked-printer.txt") {
        const std::filesystem::path pidFile = work / "linked-printer.pid";
        const std::string cmd = std::string(XOM_TEST_XOMSIM) + " --address " + address + " " +
                                options + " --jobs '" + (work / "linked-jobs").string() +
                                "' --printer '" + printerFile + "' >'" + m_log.string() +
                                "' 2>&1 & echo $! >'" + pidFile.string() + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        std::ifstream(pidFile) >> m_pid;
        // Serving once it has said where it listens (sanitizer builds start slowly).
        for (int i = 0; i < 1500 && Said().find("xomsim: listening") == std::string::npos; ++i)
            usleep(20000);
        EXPECT_NE(Said().find("xomsim: listening"), std::string::npos) << Said();
    }
    ~LinkedPrinter() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        // Its address and ports are free for the next printer of this process once it is gone.
        for (int i = 0; i < 500 && kill(m_pid, 0) == 0; ++i) usleep(10000);
    }
    LinkedPrinter(const LinkedPrinter&) = delete;
    LinkedPrinter& operator=(const LinkedPrinter&) = delete;

    // Writes the configuration `name`, linked to this printer, into configHome (what
    // XDG_CONFIG_HOME names).
    void Link(const std::filesystem::path& configHome, const std::string& name = "linked") const {
        const std::filesystem::path printers = configHome / "xomplot" / "printers";
        std::filesystem::create_directories(printers);
        std::ofstream(printers / (name + ".conf")) << "MachineIpAddress = " << address << "\n";
    }

    // The Wake-on-LAN port it said it listens on (0 when it did not say).
    int WakePort() const {
        const std::string said = Said(), mark = "Wake-on-LAN on UDP port ";
        const auto at = said.find(mark);
        return at == std::string::npos
                   ? 0
                   : static_cast<int>(std::strtol(said.c_str() + at + mark.size(), nullptr, 10));
    }

    std::string Said() const {
        std::ifstream in(m_log, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    const std::string address;

  private:
    std::filesystem::path m_log;
    pid_t m_pid = -1;
};

}  // namespace xomtest
