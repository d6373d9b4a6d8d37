#pragma once
// UTF-8 helpers for SNMP octet strings: the validity test that decides whether a string is shown as
// text or as an octet dump, and the conversions between UTF-8 octets and wide text.
#include <cstddef>
#include <cstdint>
#include <string>

namespace JuxNetwork {

// True when the octets are well-formed UTF-8 (shortest forms only, no surrogates, nothing above
// U+10FFFF, no sequence cut short). A zero octet counts as valid only as the last octet or when
// another zero follows it, so a string with a zero in the middle of its text is not taken as text.
// An empty string is valid.
bool IsValidUtf8(const std::uint8_t* octets, std::size_t count);

// Decodes UTF-8 into wide text; each ill-formed sequence becomes one U+FFFD. Zero octets are kept.
std::wstring Utf8ToWide(const std::uint8_t* octets, std::size_t count);

// Encodes wide text as UTF-8; characters that are not Unicode scalar values become U+FFFD.
std::string WideToUtf8(const std::wstring& text);

// True when no character is a control character (C0, DEL, C1), a non-character or U+FFFD. Fixed
// rules, independent of the process locale, so traces read the same everywhere.
bool IsPrintableText(const std::wstring& text);

}  // namespace JuxNetwork
