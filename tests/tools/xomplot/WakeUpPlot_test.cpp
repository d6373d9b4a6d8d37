// A plot to a printer that sleeps, end to end: xomplot in the client namespace of the private
// network (wake-up packets are broadcasts), the driver's reads and wake-up packets counted by the
// simulated printers' logs. Short SNMP waits keep the eight reads of a silent printer quick.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/tools/xomplot/NamespacePrinters.h"

namespace {

using xomtest::Shell;

constexpr std::size_t kTries = 3;

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The client addresses of the SNMP requests a printer saw, each once, in order of arrival.
std::vector<std::string> ReadsInOrder(const std::string& log) {
    std::vector<std::string> reads;
    const std::string mark = "xomsim: snmp from ";
    for (auto at = log.find(mark); at != std::string::npos; at = log.find(mark, at + 1)) {
        const auto start = at + mark.size();
        const std::string from = log.substr(start, log.find(':', log.find(':', start) + 1) - start);
        if (std::find(reads.begin(), reads.end(), from) == reads.end()) reads.push_back(from);
    }
    return reads;
}

// Printer q1 wakes at the second wake-up packet, so that the read after the first packet goes
// unanswered too; printer q2 never wakes in time. Each read is three tries of 150 ms: short, and
// yet long enough for an awake printer on a loaded machine.
TEST(XomplotWakeUp, ASleepingPrinterIsUsedOnTheThirdReadASilentOneCostsEightReads) {
    xomtest::NamespacePrinters network("xw");
    const auto up = network.Up(
        "XOMSIM_Q1_OPTIONS='--sleep --wake-packets 2' XOMSIM_Q2_OPTIONS='--sleep "
        "--wake-packets 100'");
    ASSERT_EQ(up.second, 0) << up.first;
    const std::filesystem::path home = network.state.string() + "-home";
    const std::string xomplot =
        network.InClient() + "env XDG_CONFIG_HOME=" + home.string() +
        "/config XDG_DATA_HOME=" + home.string() +
        "/data XOM_SNMP_TIMEOUT_MS=150 XOM_SNMP_TRIES=" + std::to_string(kTries) + " " +
        XOM_TEST_XOMPLOT + " --driver " + XOM_TEST_DRIVER_DIR + "/xomq15.hdi ";
    // Configurations as `xomplot config set` writes them (a sleeping printer cannot be linked).
    const std::filesystem::path printers = home / "config" / "xomplot" / "printers";
    std::filesystem::create_directories(printers);
    auto configure = [&](const std::string& name, const std::string& address,
                         const std::string& mac) {
        std::ofstream(printers / (name + ".conf"))
            << "MachineIpAddress = " << address << "\nPlotDirectToIpAddress = 1\n"
            << (mac.empty() ? "" : "MachineMacAddress = " + mac + "\n");
    };
    configure("sleepy", "10.200.0.11", "00-1A-2B-3C-4D-01");
    configure("silent", "10.200.0.12", "00-1A-2B-3C-4D-02");
    configure("nomac", "10.200.0.12", "");
    const std::string drawing = " " + std::string(XOM_TEST_EXAMPLE_DRAWING);

    const auto woken = Shell(xomplot + "--config sleepy" + drawing);
    const auto unknown = Shell(xomplot + "--config nomac" + drawing);
    const std::string q2BeforeSilent = network.Log("q2");
    const auto silent = Shell(xomplot + "--config silent" + drawing);
    std::filesystem::remove_all(home);

    EXPECT_EQ(woken.second, 0) << woken.first;
    EXPECT_NE(woken.first.find("Plot complete"), std::string::npos) << woken.first;
    std::string q1 = network.Log("q1");
    for (int i = 0; i < 100 && q1.find("xomsim: job ") == std::string::npos; ++i) {
        usleep(20000);
        q1 = network.Log("q1");
    }
    // A read is a socket of its own: the third one is answered, the first two are not. (The
    // printer may see the third read's first try before the packet that wakes it, so its tries
    // are not counted.)
    const std::vector<std::string> reads = ReadsInOrder(q1);
    ASSERT_EQ(reads.size(), 3u) << "three reads:\n" << q1;
    EXPECT_EQ(Count(q1, reads[0] + ": 131 octets: ignored (asleep)"), kTries) << q1;
    EXPECT_EQ(Count(q1, reads[1] + ": 131 octets: ignored (asleep)"), kTries) << q1;
    EXPECT_EQ(Count(q1, reads[0] + ": GetRequest") + Count(q1, reads[1] + ": GetRequest"), 0u)
        << "the first two reads unanswered:\n"
        << q1;
    EXPECT_EQ(Count(q1, ": magic packet"), 2u) << q1;
    EXPECT_NE(q1.find("magic packet, awake"), std::string::npos) << q1;
    EXPECT_NE(q1.find("xomsim: job "), std::string::npos) << "the job came after:\n" << q1;

    EXPECT_EQ(unknown.second, 3) << unknown.first;
    EXPECT_NE(unknown.first.find("Cannot connect to printer. 10.200.0.12"), std::string::npos)
        << unknown.first;
    EXPECT_EQ(Count(q2BeforeSilent, "ignored (asleep)"), kTries) << "one read:\n" << q2BeforeSilent;
    EXPECT_EQ(Count(q2BeforeSilent, ": magic packet"), 0u) << q2BeforeSilent;

    EXPECT_EQ(silent.second, 3) << silent.first;
    EXPECT_NE(silent.first.find("Cannot connect to printer. 10.200.0.12"), std::string::npos)
        << silent.first;
    const std::string q2 = network.Log("q2");
    EXPECT_EQ(Count(q2, "ignored (asleep)") - kTries, 8 * kTries) << "eight reads:\n" << q2;
    EXPECT_EQ(Count(q2, ": magic packet"), 7u) << "a packet before each read after the first";
    EXPECT_EQ(Count(q2, "xomsim: job "), 0u) << "nothing was sent";
}

}  // namespace
