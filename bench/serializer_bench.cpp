// Throughput of the chunked serializing buffer (8192-byte blocks, as the print connection uses)
// beside plain memcpy into one contiguous buffer, for small and block-sized pieces.
// The benchmark loops' unused "_" is the library's idiom, hence the NOLINTs on them.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"

namespace {

constexpr std::size_t kMessageBytes = 4 << 20;  // one 4 MiB job per iteration

void ConfigureBlocks(JuxNetwork::CJuxSerializingBuffer& buffer) {
    buffer.SetFirstBlockSize(8192);
    buffer.SetNextBlockSize(8192);
}

void BM_BufferWrite(benchmark::State& state) {
    const auto piece = static_cast<std::size_t>(state.range(0));
    std::vector<char> source(piece, 'x');
    JuxNetwork::CJuxSerializingBuffer buffer;
    ConfigureBlocks(buffer);
    for (auto _ : state) {      // NOLINT(clang-analyzer-deadcode.DeadStores)
        buffer.StartWriteTo();  // blocks from the first round are reused, as in a connection
        for (std::size_t done = 0; done < kMessageBytes; done += piece) {
            buffer.WriteBytes(source.data(), piece);
        }
        benchmark::DoNotOptimize(buffer.GetBlockList());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kMessageBytes));
}

void BM_BufferRead(benchmark::State& state) {
    const auto piece = static_cast<std::size_t>(state.range(0));
    std::vector<char> bytes(piece, 'x');
    JuxNetwork::CJuxSerializingBuffer buffer;
    ConfigureBlocks(buffer);
    buffer.StartWriteTo();
    for (std::size_t done = 0; done < kMessageBytes; done += piece)
        buffer.WriteBytes(bytes.data(), piece);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        buffer.StartReadFrom();
        for (std::size_t done = 0; done < kMessageBytes; done += piece) {
            buffer.ReadBytes(bytes.data(), piece);
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kMessageBytes));
}

void BM_Memcpy(benchmark::State& state) {
    const auto piece = static_cast<std::size_t>(state.range(0));
    std::vector<char> source(piece, 'x');
    std::vector<char> target(kMessageBytes);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        char* to = target.data();
        for (std::size_t done = 0; done < kMessageBytes; done += piece, to += piece) {
            std::memcpy(to, source.data(), piece);
        }
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kMessageBytes));
}

BENCHMARK(BM_BufferWrite)->Arg(16)->Arg(256)->Arg(8192);
BENCHMARK(BM_BufferRead)->Arg(16)->Arg(256)->Arg(8192);
BENCHMARK(BM_Memcpy)->Arg(16)->Arg(256)->Arg(8192);

}  // namespace

BENCHMARK_MAIN();
