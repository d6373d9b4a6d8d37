#pragma once
// A simulated printer for the dialogs: xomsim with a printer description on a loopback address of
// this test process's own (SNMP on port 161 as a real printer, its job port 9100, Wake-on-LAN on a
// free port), and the driver's printer network pointed at it through an Ethernet adapter that
// stands for that one address: its network is the address alone, so the wake-up "broadcast" of
// the adapter reaches this printer and no other test's.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "Common/xomOutput/PrinterNetwork.h"
#include "juxcommoncode/JuxNetwork/AdapterSource.h"
#include "tests/tools/xomplot/LinkedPrinter.h"

class OwnAddressAdapterSource : public JuxNetwork::IAdapterSource {
  public:
    explicit OwnAddressAdapterSource(std::string address) : m_address(std::move(address)) {}
    bool ListAddresses(std::vector<JuxNetwork::AdapterAddressRecord>& records) override {
        JuxNetwork::AdapterAddressRecord record;
        record.friendlyName = L"own-loopback-address";
        record.interfaceIndex = 1;
        record.interfaceType = 6;  // Ethernet
        record.up = true;
        record.address.Set(std::wstring(m_address.begin(), m_address.end()));
        record.prefixLength = 32;
        records.push_back(record);
        return true;
    }

  private:
    std::string m_address;
};

// The printer network of this process from now on: through the adapter of address, with short
// waits (three tries of 150 ms), wake-up packets to wakePort.
inline void UseOwnAddressNetwork(const std::string& address, int wakePort = 7) {
    ShutdownPrinterNetwork();
    JuxNetwork::NetIpIoManagerOptions net;
    net.adapterSource = std::make_shared<OwnAddressAdapterSource>(address);
    JuxNetwork::SnmpManagerOptions snmp;
    snmp.responseTimeout = std::chrono::milliseconds(150);
    snmp.tries = 3;
    snmp.wakePort = static_cast<std::uint16_t>(wakePort);
    SetPrinterNetworkOptions(net, snmp);
}

class SimulatedPrinter {
  public:
    // extraOptions: further xomsim options ("--sleep --wake-packets 1").
    SimulatedPrinter(const std::filesystem::path& work, const std::string& printerFile,
                     const std::string& extraOptions = {})
        : address(xomtest::OwnLoopbackAddress()), jobs(work / "jobs"), m_log(work / "xomsim.txt") {
        std::filesystem::create_directories(work);
        const std::filesystem::path pidFile = work / "xomsim.pid";
        const std::string cmd = std::string(XOM_TEST_XOMSIM) + " --address " + address +
                                " --port 9100 --wol-port 0 --jobs '" + jobs.string() +
                                "' --printer '" + printerFile + "' " + extraOptions + " >'" +
                                m_log.string() + "' 2>&1 & echo $! >'" + pidFile.string() + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        std::ifstream(pidFile) >> m_pid;
        for (int i = 0; i < 1500 && Said().find("xomsim: listening") == std::string::npos; ++i)
            usleep(20000);
        EXPECT_NE(Said().find("xomsim: listening"), std::string::npos) << Said();
        const std::string said = Said();
        const std::string mark = "Wake-on-LAN on UDP port ";
        const auto at = said.find(mark);
        EXPECT_NE(at, std::string::npos) << said;
        if (at != std::string::npos) wakePort = std::stoi(said.substr(at + mark.size()));

        UseOwnAddressNetwork(address, wakePort);
    }
    ~SimulatedPrinter() {
        ShutdownPrinterNetwork();
        SetPrinterNetworkOptions({}, {});
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        // Its ports are free for the next test of this process only once it is gone.
        for (int i = 0; i < 500 && kill(m_pid, 0) == 0; ++i) usleep(10000);
    }
    SimulatedPrinter(const SimulatedPrinter&) = delete;
    SimulatedPrinter& operator=(const SimulatedPrinter&) = delete;

    std::string Said() const {
        std::ifstream in(m_log, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    const std::string address;
    const std::filesystem::path jobs;
    int wakePort = 0;

  private:
    std::filesystem::path m_log;
    pid_t m_pid = -1;
};
