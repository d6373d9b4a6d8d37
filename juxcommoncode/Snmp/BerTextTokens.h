#pragma once
// Splitting of object-identifier and IP-address texts into numbers. Tokens are separated by any of
// '.', ' ', '+', '-'; empty tokens are skipped, so "1.3.6.1", "1 3 6 1" and ".1.3.6.1" are alike.
#include <cstdint>
#include <string>
#include <vector>

namespace JuxNetwork {

// Each token as a decimal number: its leading digits, 0 when it starts with none ("x1" gives 0,
// "12ab" gives 12). Values beyond 32 bits are held at 4294967295.
std::vector<std::uint32_t> SplitBerNumberText(const std::wstring& text);

}  // namespace JuxNetwork
