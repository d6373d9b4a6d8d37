// Loading the plot log: a log of ten ordinary records (what every plot loads), and the largest file
// the log accepts, filled with the smallest records (what a foreign or runaway file can cost), and
// a whole RecordPlot (lock, load, add, save with its fsyncs).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "juxcommoncode/PlotLog/PlotLog.h"

namespace {

namespace fs = std::filesystem;

std::string U32(std::uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
}

std::string U64(std::uint64_t v) {
    std::string s(8, '\0');
    for (int i = 0; i < 8; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
}

std::string Text(const std::string& t) {
    return std::string{static_cast<char>(t.size() & 0xFF), static_cast<char>(t.size() >> 8)} + t;
}

// A log file of count records of the given texts, written directly.
fs::path WriteLog(const fs::path& file, std::uint32_t count, const std::string& text) {
    std::string body = U32(count);
    const std::string record =
        Text(text) + U64(1234) + Text(text) + Text(text) + Text(text) + Text(text);
    for (std::uint32_t i = 0; i < count; ++i) body += record;
    const std::string header =
        U64(0x4A7544785D75A4E9ULL) + U64(18 + body.size()) + std::string(2, '\0');
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << header << body;
    return file;
}

fs::path BenchDir() {
    return fs::temp_directory_path() / ("plotlog_bench_" + std::to_string(::getpid()));
}

void BM_LoadTenRecords(benchmark::State& state) {
    const fs::path file = WriteLog(BenchDir() / "ten.dat", 10, "Plot complete, sheet A1");
    for (auto _ : state) {
        JuxNetwork::PlotLog log(file.wstring());
        benchmark::DoNotOptimize(log.Load());
    }
    fs::remove_all(BenchDir());
}

void BM_LoadLargestAcceptedLog(benchmark::State& state) {
    const std::uint32_t count =
        static_cast<std::uint32_t>((JuxNetwork::kMaxPlotLogFileBytes - 22) / 18);
    const fs::path file = WriteLog(BenchDir() / "largest.dat", count, "");
    for (auto _ : state) {
        JuxNetwork::PlotLog log(file.wstring());
        benchmark::DoNotOptimize(log.Load());
        if (log.GetRecords().size() != 10) state.SkipWithError("not cut to ten");
    }
    state.counters["records"] = count;
    fs::remove_all(BenchDir());
}

void BM_RecordPlot(benchmark::State& state) {
    setenv("XDG_DATA_HOME", BenchDir().c_str(), 1);
    JuxNetwork::CPlotData record;
    record.m_drawing = L"Sheet A1";
    record.m_status = L"Plot complete";
    for (auto _ : state) benchmark::DoNotOptimize(JuxNetwork::RecordPlot(record));
    unsetenv("XDG_DATA_HOME");
    fs::remove_all(BenchDir());
}

BENCHMARK(BM_LoadTenRecords)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadLargestAcceptedLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordPlot)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
