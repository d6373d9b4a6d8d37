#pragma once
// Conversion between wide text and the multibyte encoding of the process's current C-runtime
// locale (LC_CTYPE of the calling thread), used for texts stored in files and messages.
//
// When the current locale is the plain "C"/"POSIX" one, whose encoding is 7-bit ASCII, UTF-8 is
// used instead (a scoped C.UTF-8 locale), so non-ASCII text is never lost in a program that did not
// call setlocale.
#include <cstddef>
#include <string>
#include <string_view>

namespace JuxNetwork {

// Converts up to the first L'\0'. A character that the encoding cannot express becomes '?'. The
// result holds at most maxBytes bytes and is cut before the first character that would not fit
// whole.
std::string WideToMultibyte(std::wstring_view text, std::size_t maxBytes = std::string::npos);

// Converts up to the first zero byte. Each byte that does not start a valid character (or a
// sequence cut short at the end) becomes U+FFFD.
std::wstring MultibyteToWide(std::string_view bytes);

}  // namespace JuxNetwork
