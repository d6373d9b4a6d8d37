#pragma once
// Saturating conversions from floating point to integers, for values that come from geometry or
// outside input. NaN becomes 0, values beyond the type's range become its nearest limit, and all
// others are truncated toward zero: never undefined behaviour.
#include <cstdint>
#include <limits>
#include <type_traits>

namespace xomplatform {

template <class Int>
constexpr Int SaturatingCast(double value) {
    static_assert(std::is_integral_v<Int>, "SaturatingCast converts to integer types");
    using Limits = std::numeric_limits<Int>;
    if (!(value == value)) return 0;
    // max + 1 is a power of two: exact in a double, and where max itself is not exact it rounds
    // up to that same power, to which adding one changes nothing.
    constexpr double kBeyondMax = static_cast<double>(Limits::max()) + 1.0;
    constexpr double kLowest = static_cast<double>(Limits::lowest());
    if (value >= kBeyondMax) return Limits::max();
    if (value <= kLowest) return Limits::lowest();
    return static_cast<Int>(value);
}

constexpr std::int32_t SaturateToInt32(double value) {
    return SaturatingCast<std::int32_t>(value);
}
constexpr std::int64_t SaturateToInt64(double value) {
    return SaturatingCast<std::int64_t>(value);
}

}  // namespace xomplatform
