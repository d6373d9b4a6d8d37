#pragma once
// UTF-8 <-> wide text for console output, file names and messages, independent of the C locale.
// Invalid input never fails: unencodable characters and malformed sequences become U+FFFD.
#include <string>

namespace xomplatform {

std::string ToUtf8(const std::wstring& text);
// Malformed sequences (bad lead or continuation bytes, overlong forms, surrogates, values above
// U+10FFFF, a sequence cut by the end) become one U+FFFD per offending lead byte.
std::wstring FromUtf8(const std::string& text);

}  // namespace xomplatform
