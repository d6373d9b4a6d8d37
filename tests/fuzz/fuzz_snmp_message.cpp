// Fuzz target: a received datagram parsed into a CSnmpMessage, the way the SNMP manager's workers
// parse every datagram that arrives. A parsed message must also print its trace text and encode
// back to octets that parse again to the same encoding.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"

using JuxNetwork::CJuxSerializingBuffer;
using JuxNetwork::CSnmpMessage;

namespace {

std::vector<std::uint8_t> Encode(CSnmpMessage& message) {
    CJuxSerializingBuffer buffer;
    buffer.StartWriteTo();
    if (message.Serialize(buffer) != 0) __builtin_trap();
    std::vector<std::uint8_t> octets(static_cast<std::size_t>(buffer.GetDataSize()));
    buffer.StartReadFrom();
    if (!octets.empty() && buffer.ReadBytes(octets.data(), octets.size()) != 0) __builtin_trap();
    if (octets.size() != message.GetEncodedLength()) __builtin_trap();
    return octets;
}

// Fills the blocks as a scatter read does: reserve, copy, mark the delivered size.
bool Receive(CJuxSerializingBuffer& buffer, const std::uint8_t* data, std::size_t size) {
    if (buffer.ReserveForReceive(size) != 0) return false;
    std::size_t copied = 0;
    const auto* blocks = buffer.GetBlockList();
    for (std::size_t i = 0; i < buffer.GetBlockCount() && copied < size; ++i) {
        const std::size_t k = std::min<std::size_t>(blocks[i].len, size - copied);
        std::memcpy(blocks[i].buf, data + copied, k);
        copied += k;
    }
    return buffer.SetDataSize(size) && buffer.StartReadFrom() == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 65536) return 0;  // larger than any UDP datagram
    CJuxSerializingBuffer buffer;
    buffer.SetFirstBlockSize(64);  // small blocks: elements straddle block boundaries
    buffer.SetNextBlockSize(64);
    if (!Receive(buffer, data, size)) return 0;
    CSnmpMessage message;
    message.SetReadLimit(size);
    if (message.Serialize(buffer) != 0) return 0;
    if (buffer.GetPosition() > size) __builtin_trap();
    (void)message.ToText("fuzz");

    const std::vector<std::uint8_t> first = Encode(message);
    CJuxSerializingBuffer again;
    again.StartWriteTo();
    again.WriteBytes(first.data(), first.size());
    again.StartReadFrom();
    CSnmpMessage reparsed;
    reparsed.SetReadLimit(first.size());
    if (reparsed.Serialize(again) != 0) __builtin_trap();
    if (Encode(reparsed) != first) __builtin_trap();
    return 0;
}
