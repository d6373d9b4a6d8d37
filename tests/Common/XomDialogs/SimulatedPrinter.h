#pragma once
// A simulated printer for the dialogs: xomsim with a printer description on a loopback address of
// this test process's own (SNMP on port 161 as a real printer, its job port 9100, Wake-on-LAN on a
// free port), and the driver's printer network pointed at it through an Ethernet adapter that
// stands for that one address: its network is the address alone, so the wake-up "broadcast" of
// the adapter reaches this printer and no other test's.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Common/xomOutput/PrinterNetwork.h"
#include "tests/support/LoopbackAdapter.h"
#include "tests/tools/xomplot/LinkedPrinter.h"

// The printer network of this process from now on: through the adapter of address, with short
// waits (three tries of 150 ms), wake-up packets to wakePort.
inline void UseOwnAddressNetwork(const std::string& address, int wakePort = 7) {
    ShutdownPrinterNetwork();
    JuxNetwork::NetIpIoManagerOptions net;
    net.adapterSource = std::make_shared<xomtest::LoopbackAdapterSource>(
        std::vector<std::uint8_t>{}, std::wstring(address.begin(), address.end()), 32);
    JuxNetwork::SnmpManagerOptions snmp;
    snmp.responseTimeout = std::chrono::milliseconds(150);
    snmp.tries = 3;
    snmp.wakePort = static_cast<std::uint16_t>(wakePort);
    SetPrinterNetworkOptions(net, snmp);
}

class SimulatedPrinter : public xomtest::LinkedPrinter {
  public:
    // extraOptions: further xomsim options ("--sleep --wake-packets 1").
    SimulatedPrinter(const std::filesystem::path& work, const std::string& printerFile,
                     const std::string& extraOptions = {})
        : LinkedPrinter(work, printerFile, "--port 9100 --wol-port 0 " + extraOptions),
          jobs(work / "linked-jobs") {
        EXPECT_NE(WakePort(), 0) << Said();
        UseOwnAddressNetwork(address, WakePort());
    }
    ~SimulatedPrinter() { ShutdownPrinterNetwork(); }
    SimulatedPrinter(const SimulatedPrinter&) = delete;
    SimulatedPrinter& operator=(const SimulatedPrinter&) = delete;

    const std::filesystem::path jobs;
};
