#include "juxcommoncode/Snmp/Utf8Text.h"

#include "platform/Utf8.h"

namespace JuxNetwork {
namespace {

// Length of the well-formed sequence at octets[i] (1 to 4), or 0 when it is ill-formed.
// cp receives the code point of a well-formed sequence.
std::size_t SequenceAt(const std::uint8_t* octets, std::size_t count, std::size_t i,
                       std::uint32_t& cp) {
    const std::uint8_t lead = octets[i];
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (count - i < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const std::uint8_t next = octets[i + k];
        if ((next & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (next & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

bool IsValidUtf8(const std::uint8_t* octets, std::size_t count) {
    std::size_t i = 0;
    while (i < count) {
        if (octets[i] == 0) {
            if (i + 1 < count && octets[i + 1] != 0) return false;
            ++i;
            continue;
        }
        std::uint32_t cp = 0;
        const std::size_t length = SequenceAt(octets, count, i, cp);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::wstring Utf8ToWide(const std::uint8_t* octets, std::size_t count) {
    std::wstring text;
    text.reserve(count);
    std::size_t i = 0;
    while (i < count) {
        std::uint32_t cp = 0;
        const std::size_t length = SequenceAt(octets, count, i, cp);
        if (length == 0) {
            text.push_back(L'\xFFFD');
            // Skip the continuation octets that belonged to the broken sequence.
            ++i;
            while (i < count && (octets[i] & 0xC0) == 0x80) ++i;
            continue;
        }
        text.push_back(static_cast<wchar_t>(cp));
        i += length;
    }
    return text;
}

std::string WideToUtf8(const std::wstring& text) {
    return xomplatform::ToUtf8(text);
}

bool IsPrintableText(const std::wstring& text) {
    for (const wchar_t ch : text) {
        // A negative wchar_t turns into a value above U+10FFFF, which is refused below.
        const auto cp = static_cast<std::uint32_t>(ch);  // NOLINT(bugprone-signed-char-misuse)
        if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) return false;
        if (cp == 0xFFFD || (cp & 0xFFFE) == 0xFFFE || (cp >= 0xFDD0 && cp <= 0xFDEF)) return false;
        if (cp > 0x10FFFF) return false;
    }
    return true;
}

}  // namespace JuxNetwork
