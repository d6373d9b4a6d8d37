#pragma once
// Integer fields of serialized content: the value's raw little-endian bytes at its own width
// (2 bytes for a 16-bit length, 4 for a 32-bit count, 8 for a 64-bit field). One routine writes or
// reads, chosen by the serializer's storing flag.
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "juxcommoncode/JuxSerialize/JuxSerializer.h"

namespace JuxNetwork {

template <typename UInt>
HRESULT SerializeLittleEndian(CJuxSerializer& ar, UInt& value) {
    static_assert(std::is_unsigned_v<UInt>);
    unsigned char bytes[sizeof(UInt)];
    if (ar.IsStoring()) {
        for (std::size_t i = 0; i < sizeof(UInt); ++i) {
            bytes[i] = static_cast<unsigned char>(value >> (8 * i));
        }
        return ar.WriteBytes(bytes, sizeof bytes);
    }
    const HRESULT hr = ar.ReadBytes(bytes, sizeof bytes);
    if (Failed(hr)) return hr;
    UInt result = 0;
    for (std::size_t i = 0; i < sizeof(UInt); ++i)
        result |= static_cast<UInt>(UInt{bytes[i]} << (8 * i));
    value = result;
    return hr;
}

inline HRESULT SerializeUInt16(CJuxSerializer& ar, std::uint16_t& value) {
    return SerializeLittleEndian(ar, value);
}
inline HRESULT SerializeUInt32(CJuxSerializer& ar, std::uint32_t& value) {
    return SerializeLittleEndian(ar, value);
}
inline HRESULT SerializeUInt64(CJuxSerializer& ar, std::uint64_t& value) {
    return SerializeLittleEndian(ar, value);
}

}  // namespace JuxNetwork
