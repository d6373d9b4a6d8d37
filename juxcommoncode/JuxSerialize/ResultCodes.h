#pragma once
// Result codes returned by the shared code. They keep the numeric values of the Windows HRESULTs
// the stored files and callers were designed around; negative means failure.
#include <cstdint>

namespace JuxNetwork {

using HRESULT = std::int32_t;

inline constexpr HRESULT kS_OK = 0;
inline constexpr HRESULT kE_OUTOFMEMORY = static_cast<HRESULT>(0x8007000EU);
inline constexpr HRESULT kE_FAIL = static_cast<HRESULT>(0x80004005U);
inline constexpr HRESULT kE_ABORT = static_cast<HRESULT>(0x80004004U);

inline constexpr bool Failed(HRESULT hr) {
    return hr < 0;
}
inline constexpr bool Succeeded(HRESULT hr) {
    return hr >= 0;
}

}  // namespace JuxNetwork
