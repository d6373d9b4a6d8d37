// Reading a whole printer data model of about 200 rows from the simulated printer on loopback,
// beside the time one request takes there: the read costs one exchange per row and should take
// little more than that many round trips ("ratio" = read time / (requests x one round trip)).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "juxcommoncode/JuxNetwork/SnmpManager.h"
#include "juxcommoncode/PrinterData/PrinterData.h"
#include "juxcommoncode/Snmp/BerTags.h"
#include "tests/support/LoopbackAdapter.h"
#include "tools/xomsim/PrinterDescription.h"
#include "tools/xomsim/SnmpAgent.h"

namespace {

// 40 media, 40 stamps, 30 of each preset kind, 10 trays, 10 users, 2 fields with 4 values each
// and 4 exit trays: 204 rows.
std::string LargePrinter() {
    std::string text =
        "description XOM Q Series bench printer\nname bench\nmac 00-1A-2B-3C-4D-09\n"
        "colorants count=4\nanonymous mono=1 color=1\nuser-accounting access=4 prompt=User\n";
    for (int i = 1; i <= 40; ++i) {
        text += "media name=\"Media " + std::to_string(i) + "\" id=" + std::to_string(1000 + i) +
                " type=1\n";
        text += "stamp id=" + std::to_string(i) + " name=\"Stamp " + std::to_string(i) + "\"\n";
    }
    for (int i = 1; i <= 30; ++i) {
        for (const char* kind : {"print-quality-preset", "hpgl-preset", "folder-preset"})
            text += std::string(kind) + " id=" + std::to_string(i) + " name=\"Preset " +
                    std::to_string(i) + "\"\n";
    }
    for (int i = 1; i <= 10; ++i) {
        text += "tray name=\"Roll " + std::to_string(i) +
                "\" type=6 units=4 cross-feed=914400 media=\"Media 1\"\n";
        text += "user name=user" + std::to_string(i) + " password=pw mono=1 color=1\n";
    }
    for (int field = 1; field <= 2; ++field) {
        text += "accounting-field access=3 prompt=Field" + std::to_string(field) +
                " type-id=" + std::to_string(field) + "\n";
        for (int v = 1; v <= 4; ++v)
            text += "accounting-value field=" + std::to_string(field) + " name=V" +
                    std::to_string(v) + "\n";
    }
    for (int i = 1; i <= 4; ++i) text += "exit-tray value=" + std::to_string(i) + "\n";
    return text;
}

struct Fixture {
    std::FILE* log = nullptr;
    std::unique_ptr<xomsim::SnmpAgent> agent;
    std::atomic<bool> stop{false};
    std::thread serving;
    std::unique_ptr<JuxNetwork::CSnmpManager> manager;
    JuxNetwork::CSocketContext* context = nullptr;

    bool Start(std::string& error) {
        xomsim::PrinterDescription printer;
        if (!xomsim::ParsePrinterDescription(LargePrinter(), "bench", printer, error)) return false;
        xomsim::AgentOptions options;
        options.address = "127.0.0.1";
        options.snmpPort = 0;
        options.wolPort = 0;
        // The agent logs every request: to nowhere here.
        log = std::fopen("/dev/null", "w");
        agent = std::make_unique<xomsim::SnmpAgent>(options, printer, log);
        if (!agent->Open(error)) return false;
        serving = std::thread([this] { agent->Run(stop); });
        JuxNetwork::NetIpIoManagerOptions net;
        net.adapterSource = std::make_shared<xomtest::LoopbackAdapterSource>();
        JuxNetwork::SnmpManagerOptions snmp;
        snmp.agentPort = agent->snmpPort();
        manager = std::make_unique<JuxNetwork::CSnmpManager>(net, snmp);
        manager->Start();
        JuxNetwork::JUX_IP_ADDRESS address;
        address.Set(L"127.0.0.1");
        context = manager->OpenAgentSocket(address);
        if (context == nullptr) error = "no agent socket";
        return context != nullptr;
    }
    ~Fixture() {
        if (manager) manager->Stop();
        stop = true;
        if (serving.joinable()) serving.join();
        agent.reset();
        if (log) std::fclose(log);
    }
};

void BM_ReadWholePrinterData(benchmark::State& state) {
    Fixture f;
    std::string error;
    if (!f.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    // One round trip: a request of one varbind, as each row costs one exchange.
    constexpr int kTrips = 300;
    const auto tripStart = std::chrono::steady_clock::now();
    for (int i = 0; i < kTrips; ++i) {
        JuxNetwork::CSnmpMessage request, response;
        request.SetPduType(JuxNetwork::kBerTagGetRequestPdu);
        request.AddVarbind(L"1.3.6.1.2.1.1.5.0");
        f.manager->SendRequest(*f.context, request, response);
    }
    const double trip =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - tripStart).count() /
        kTrips;
    std::size_t rows = 0;
    double readSeconds = 0;
    std::int64_t reads = 0;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        CXomPrinterData data;
        const auto start = std::chrono::steady_clock::now();
        if (data.ReadFromPrinter(*f.manager, *f.context) != 0) {
            state.SkipWithError("the read failed");
            return;
        }
        readSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++reads;
        rows = data.m_stamps.size() + data.m_media.size() + data.m_inputTrays.size() +
               data.m_users.size() + data.m_accountingInformation.size() +
               data.m_accountingChildren1.size() + data.m_accountingChildren2.size() +
               data.m_printQualityPresets.size() + data.m_folderPresets.size() +
               data.m_hpglPresets.size() + data.m_exitTrayLocations.size();
    }
    // The printer's values and the user data, then n + 1 exchanges for each of eleven tables.
    const double requests = 2.0 + static_cast<double>(rows) + 11.0;
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["requests"] = requests;
    state.counters["round_trip_us"] = trip * 1e6;
    state.counters["ratio"] = readSeconds / static_cast<double>(reads) / (requests * trip);
}

BENCHMARK(BM_ReadWholePrinterData)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
