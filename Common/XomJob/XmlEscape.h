#pragma once
// Escaping of the job ticket's texts over UTF-16 units. The result is pure ASCII: markup
// characters become entities, everything outside printable ASCII a character reference
// ("&#x00FC;", a surrogate pair one six-digit reference "&#x01F600;"). A character that XML 1.0
// cannot hold even as a reference (a control other than tab, LF and CR, a lone surrogate, U+FFFE
// or U+FFFF) is written as "&#xFFFD;", so the ticket always stays well-formed.
#include <cstddef>
#include <string>

// Writes at most capacity units of the escaped form to destination and returns the number of
// units the whole escaped form needs (so a caller can size its buffer).
std::size_t EscapeXmlText(const char16_t* source, std::size_t length, char16_t* destination,
                          std::size_t capacity);
std::u16string EscapeXmlText(const std::u16string& source);

// Wide text (UTF-32 here) as UTF-16 units; a value that is no Unicode scalar becomes U+FFFD,
// surrogate values stay single units.
std::u16string ToUtf16Units(const std::wstring& text);
