#pragma once
// One object the simulated printer serves: its identifier and typed value.
#include <cstdint>
#include <map>
#include <vector>

namespace xomsim {

using ObjectId = std::vector<std::uint32_t>;

struct MibValue {
    enum class Kind { Integer, Octets, Gauge, UInteger32 };
    Kind kind = Kind::Octets;
    std::int64_t number = 0;  // Integer (32-bit signed), Gauge or UInteger32 (32-bit unsigned)
    std::vector<std::uint8_t> octets;
};

// Every object served, in identifier order (as GetNext walks them).
using MibObjects = std::map<ObjectId, MibValue>;

}  // namespace xomsim
