// SNMP message speed: encoding and decoding a GetResponse of 16 varbinds, each a 64-octet string
// (about the size of one row read from the printer's private tables).
// The benchmark loops' unused "_" is the library's idiom, hence the NOLINTs on them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"

namespace {

using JuxNetwork::CJuxSerializingBuffer;
using JuxNetwork::CSnmpMessage;

void BuildResponse(CSnmpMessage& message) {
    message.SetCommunity(L"public");
    message.SetPduType(JuxNetwork::kBerTagGetResponsePdu);
    message.SetRequestId(123456);
    std::vector<std::uint8_t> octets(64);
    for (std::size_t i = 0; i < octets.size(); ++i) octets[i] = static_cast<std::uint8_t>(i);
    for (int i = 0; i < 16; ++i) {
        message.AddVarbind(L"1.3.6.1.4.1.40713.1.1.3.1.2." + std::to_wstring(i + 1))
            ->Value()
            .SetOctetString(octets);
    }
}

void BM_EncodeGetResponse16x64(benchmark::State& state) {
    CSnmpMessage message;
    BuildResponse(message);
    CJuxSerializingBuffer buffer;  // reused per message, as the manager's I/O contexts do
    for (auto _ : state) {         // NOLINT(clang-analyzer-deadcode.DeadStores)
        buffer.StartWriteTo();
        if (message.Serialize(buffer) != 0) state.SkipWithError("encode failed");
        benchmark::DoNotOptimize(buffer.GetDataSize());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * message.GetEncodedLength());
}
BENCHMARK(BM_EncodeGetResponse16x64);

void BM_DecodeGetResponse16x64(benchmark::State& state) {
    CSnmpMessage source;
    BuildResponse(source);
    CJuxSerializingBuffer buffer;
    buffer.StartWriteTo();
    source.Serialize(buffer);
    const std::uint64_t size = buffer.GetDataSize();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        buffer.StartReadFrom();
        CSnmpMessage message;
        message.SetReadLimit(size);
        if (message.Serialize(buffer) != 0) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(message.Varbinds().GetCount());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}
BENCHMARK(BM_DecodeGetResponse16x64);

}  // namespace

BENCHMARK_MAIN();
