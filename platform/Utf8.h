#pragma once
// UTF-8 <-> wide text for console output, file names and messages, independent of the C locale.
// Invalid input never fails: unencodable characters and malformed sequences become U+FFFD.
#include <string>

namespace xomplatform {

std::string ToUtf8(const std::wstring& text);
// Malformed sequences (bad lead or continuation bytes, overlong forms, surrogates, values above
// U+10FFFF, a sequence cut by the end) become one U+FFFD per offending lead byte.
std::wstring FromUtf8(const std::string& text);

// File names are bytes: any byte that is not part of valid UTF-8 is kept as U+DC80..U+DCFF, which
// PathToBytes turns back into the same byte, so every name, in any locale, survives the trip
// through wide text.
std::wstring PathFromBytes(const std::string& bytes);
std::string PathToBytes(const std::wstring& path);

}  // namespace xomplatform
