#pragma once
// Text fields of serialized content: a 16-bit little-endian byte count n, then n bytes of the text
// in the multibyte encoding of the current locale (see MultibyteText.h), with no terminator. When
// read, the text ends at the first zero byte among the n bytes.
#include <cstddef>
#include <string>
#include <string_view>

#include "juxcommoncode/JuxSerialize/JuxSerializer.h"

namespace JuxNetwork {

// The most converted bytes a text field can hold. A longer text is stored cut before the first
// character that would not fit whole, never with a wrapped count.
inline constexpr std::size_t kMaxTextFieldBytes = 0xFFFF;

HRESULT WriteTextField(CJuxSerializer& ar, std::wstring_view text);
// On failure text is left as it was.
HRESULT ReadTextField(CJuxSerializer& ar, std::wstring& text);
// Writes when ar is storing, reads otherwise.
HRESULT SerializeText(CJuxSerializer& ar, std::wstring& text);

}  // namespace JuxNetwork
