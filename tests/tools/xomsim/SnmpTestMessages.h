#pragma once
// Building SNMP requests and reading answers with the driver's own message classes, for the
// simulator's tests.
#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"

namespace xomsim::test {

inline std::vector<std::uint8_t> EncodeRequest(std::uint8_t pduType, std::int32_t id,
                                               const std::wstring& community,
                                               const std::vector<std::wstring>& oids) {
    JuxNetwork::CSnmpMessage message;
    message.SetPduType(pduType);
    message.SetRequestId(id);
    message.SetCommunity(community);
    for (const auto& oid : oids) message.AddVarbind(oid);
    JuxNetwork::CJuxSerializingBuffer buffer;
    buffer.StartWriteTo();
    message.Serialize(buffer);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(buffer.GetDataSize()));
    buffer.StartReadFrom();
    if (!out.empty()) buffer.ReadBytes(out.data(), out.size());
    return out;
}

// False when the octets are no whole SNMP message.
inline bool ParseAnswer(const std::vector<std::uint8_t>& octets,
                        JuxNetwork::CSnmpMessage& message) {
    JuxNetwork::CJuxSerializingBuffer buffer;
    buffer.StartWriteTo();
    if (!octets.empty()) buffer.WriteBytes(octets.data(), octets.size());
    buffer.StartReadFrom();
    message.SetReadLimit(octets.size());
    return message.Serialize(buffer) == 0 && buffer.GetPosition() == octets.size();
}

inline std::int32_t IntegerOf(const JuxNetwork::CBerTripleWithData& element) {
    std::int32_t value = -1;
    JuxNetwork::CSnmpMessage::GetIntegerValue(element, value);
    return value;
}

}  // namespace xomsim::test
