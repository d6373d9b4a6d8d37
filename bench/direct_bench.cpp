// Delivery of a 200 MB job to the simulated printer reading as fast as it can: through the direct
// channel (the job in the connection's 8192-byte send buffers, sent by the network manager's
// threads, in the small pieces the HP-GL/2 writer hands over, or in whole blocks), beside a plain
// blocking socket copy of the same bytes to the same printer on the same loopback. Each round is
// timed from the connection to the printer's end of the job (manual time), so the printer storing
// the job afterwards is not counted. The unused "_" of the loops is the library's idiom.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Common/XOM/PlotLogRecord.h"
#include "Common/xomOutput/DirectChannel.h"
#include "Common/xomOutput/OutputChannel.h"
#include "Common/xomOutput/PrinterNetwork.h"
#include "juxcommoncode/JuxNetwork/SocketContext.h"
#include "tools/xomsim/JobSink.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kJobBytes = std::size_t{200} << 20;

// The job's bytes: HP-GL/2-like text, so that nothing about them is special.
const std::string& JobBytes() {
    static const std::string job = [] {
        std::string bytes;
        bytes.reserve(kJobBytes);
        const std::string piece = "PEW3;PU1200,3400;PD1300,3500,1400,3400,1500,3600;\n";
        while (bytes.size() + piece.size() <= kJobBytes) bytes += piece;
        bytes.resize(kJobBytes, ';');
        return bytes;
    }();
    return job;
}

// The simulated printer on a loopback port of its own, storing each job in a scratch folder.
class Printer {
  public:
    Printer() {
        m_dir = fs::temp_directory_path() / ("xom_direct_bench_" + std::to_string(getpid()));
        fs::remove_all(m_dir);
        m_out = std::fopen("/dev/null", "w");
        xomsim::SinkOptions o;
        o.address = "127.0.0.1";
        o.port = 0;
        o.jobsDir = m_dir.string();
        m_sink = std::make_unique<xomsim::JobSink>(o, m_out);
        std::string error;
        if (!m_sink->Open(error)) std::fprintf(stderr, "printer: %s\n", error.c_str());
        m_thread = std::thread([this] { m_sink->Run(m_stop); });
    }
    ~Printer() {
        m_stop = true;
        m_thread.join();
        std::fclose(m_out);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    std::uint16_t port() const { return m_sink->port(); }
    // Waits until the printer has stored its next job; its size (-1 when none came).
    std::int64_t TakeJob() {
        char name[32];
        std::snprintf(name, sizeof name, "job-%04d.prn", ++m_taken);
        const fs::path path = m_dir / name;
        for (int i = 0; i < 6000 && !fs::exists(path); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::error_code ec;
        const auto size = fs::file_size(path, ec);
        fs::remove(path, ec);
        return ec ? -1 : static_cast<std::int64_t>(size);
    }

  private:
    fs::path m_dir;
    std::FILE* m_out = nullptr;
    std::unique_ptr<xomsim::JobSink> m_sink;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    int m_taken = 0;
};

Printer& ThePrinter() {
    static Printer printer;
    return printer;
}

// The process's peak resident memory so far, in MB (the job buffered on its way shows here).
double PeakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void CheckDelivered(benchmark::State& state, std::int64_t stored) {
    if (stored != static_cast<std::int64_t>(kJobBytes))
        state.SkipWithError(("the printer stored " + std::to_string(stored) + " bytes").c_str());
}

// The job through the direct channel in pieces of range(0) bytes.
void BM_DirectChannel(benchmark::State& state) {
    Printer& printer = ThePrinter();
    JuxNetwork::NetIpIoManagerOptions options;
    options.printerPort = printer.port();
    ShutdownPrinterNetwork();
    SetPrinterNetworkOptions(options);
    JuxNetwork::JUX_IP_ADDRESS address;
    address.Set(L"127.0.0.1");
    const std::string& job = JobBytes();
    const auto piece = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        ResetOutputState();
        SelectDirectChannel();
        CurrentPlotLogEntry().Clear();
        const Clock::time_point start = Clock::now();
        if (!OpenDirectChannel(address)) {
            state.SkipWithError("cannot connect to the printer");
            break;
        }
        JuxNetwork::CSocketContext* connection = DirectConnection();
        for (std::size_t done = 0; done < job.size(); done += piece)
            XOMppsend(job.data() + done, std::min(piece, job.size() - done));
        if (OutputErrorState() != kOutputOk || FinishDirectChannel() != 0) {
            state.SkipWithError("the job could not be sent");
            break;
        }
        while (!connection->GetNoticeEvent().WaitFor(std::chrono::milliseconds(250))) {
        }
        const bool sent =
            connection->GetNoticeStatus() == JuxNetwork::CSocketContext::kNoticeJobSent;
        ForgetDirectChannel();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (!sent) {
            state.SkipWithError("the connection failed");
            break;
        }
        CheckDelivered(state, printer.TakeJob());
    }
    ShutdownPrinterNetwork();
    SetPrinterNetworkOptions({});
    state.counters["peak_rss_MB"] = PeakResidentMegabytes();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kJobBytes));
}

// The same bytes with blocking send() calls of 8192 bytes, then the host's end and the printer's.
void BM_PlainSocketCopy(benchmark::State& state) {
    Printer& printer = ThePrinter();
    const std::string& job = JobBytes();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        const Clock::time_point start = Clock::now();
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(printer.port());
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        for (std::size_t done = 0; ok && done < job.size();) {
            const ssize_t n = ::send(fd, job.data() + done,
                                     std::min<std::size_t>(8192, job.size() - done), MSG_NOSIGNAL);
            ok = n > 0;
            if (ok) done += static_cast<std::size_t>(n);
        }
        ::shutdown(fd, SHUT_WR);
        char byte = 0;
        ok = ok && ::recv(fd, &byte, 1, 0) == 0;
        ::close(fd);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (!ok) {
            state.SkipWithError("the plain copy failed");
            break;
        }
        CheckDelivered(state, printer.TakeJob());
    }
    state.counters["peak_rss_MB"] = PeakResidentMegabytes();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kJobBytes));
}

BENCHMARK(BM_PlainSocketCopy)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DirectChannel)
    ->Arg(40)
    ->Arg(8192)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
