#pragma once
// MAC address texts of the settings: "00-1A-2B-3C-4D-5E".
#include <cstdint>
#include <string>
#include <vector>

// Tokens split at ".", " ", "+" and "-" (empty ones skipped), each read as hexadecimal; a token
// that is no number is skipped; the absolute value is clamped to 255. "1-2-300" gives 01 02 FF.
std::vector<std::uint8_t> ParseMacAddress(const std::wstring& text);
// Upper-case hex pairs joined by "-"; no bytes give an empty text.
std::wstring FormatMacAddress(const std::vector<std::uint8_t>& bytes);
