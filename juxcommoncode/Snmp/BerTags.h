#pragma once
// BER tag octets of the SNMP version 1 subset the driver speaks, and their display names. Only the
// low-tag-number form exists here: a tag is always one octet.
#include <cstdint>
#include <string>

#include "juxcommoncode/JuxSerialize/ResultCodes.h"

namespace JuxNetwork {

inline constexpr std::uint8_t kBerTagInteger32 = 0x02;
inline constexpr std::uint8_t kBerTagOctetString = 0x04;
inline constexpr std::uint8_t kBerTagNull = 0x05;
inline constexpr std::uint8_t kBerTagObjId = 0x06;
inline constexpr std::uint8_t kBerTagSequence = 0x30;
inline constexpr std::uint8_t kBerTagIpAddress = 0x40;
inline constexpr std::uint8_t kBerTagCounter32 = 0x41;
inline constexpr std::uint8_t kBerTagGauge32 = 0x42;
inline constexpr std::uint8_t kBerTagTimeTicks = 0x43;
inline constexpr std::uint8_t kBerTagUInteger32 = 0x47;
inline constexpr std::uint8_t kBerTagGetRequestPdu = 0xA0;
inline constexpr std::uint8_t kBerTagGetNextRequestPdu = 0xA1;
inline constexpr std::uint8_t kBerTagGetResponsePdu = 0xA2;
inline constexpr std::uint8_t kBerTagSetRequestPdu = 0xA3;

// E_INVALIDARG: the code of every structural decode error (wrong tag, impossible length).
inline constexpr HRESULT kBerErrorInvalidArg = static_cast<HRESULT>(0x80070057U);

// Content octets of one element are limited to this many; a longer length cannot come from a
// well-formed SNMP datagram and is refused on reading.
inline constexpr std::uint32_t kBerMaxContentLength = 65535;

// "Integer32", "OctetString", ..., or "Type x%02x (not recognized)" for any other tag.
std::wstring BerTypeName(std::uint8_t tag);

}  // namespace JuxNetwork
