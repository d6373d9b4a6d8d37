#include "platform/Utf8.h"

namespace xomplatform {

std::string ToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto c = static_cast<char32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {

// Surrogate escapes: a byte that is not part of valid UTF-8 becomes U+DC00 + byte.
constexpr char32_t kEscapeBase = 0xDC00;

std::wstring Decode(const std::string& text, bool escapeBytes) {
    // Malformed sequences become U+FFFD (or the escape of the offending lead byte).
    std::wstring out;
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char b = s[i];
        size_t extra;
        char32_t c;
        if (b < 0x80) {
            out += static_cast<wchar_t>(b);
            ++i;
            continue;
        }
        if ((b >> 5) == 6) {
            extra = 1;
            c = b & 0x1F;
        } else if ((b >> 4) == 14) {
            extra = 2;
            c = b & 0x0F;
        } else if ((b >> 3) == 30) {
            extra = 3;
            c = b & 0x07;
        } else {
            out += escapeBytes ? static_cast<wchar_t>(kEscapeBase + b) : L'\uFFFD';
            ++i;
            continue;
        }
        bool ok = i + extra < n;
        for (size_t k = 1; ok && k <= extra; ++k) {
            const unsigned char cb = s[i + k];
            if ((cb & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (cb & 0x3F);
        }
        const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        if (!ok || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out += escapeBytes ? static_cast<wchar_t>(kEscapeBase + b) : L'\uFFFD';
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(c);
        i += extra + 1;
    }
    return out;
}

}  // namespace

std::wstring FromUtf8(const std::string& text) {
    return Decode(text, false);
}

std::wstring PathFromBytes(const std::string& bytes) {
    return Decode(bytes, true);
}

std::string PathToBytes(const std::wstring& path) {
    std::string out;
    std::wstring run;
    for (wchar_t wc : path) {
        const auto c = static_cast<char32_t>(wc);
        if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            out += ToUtf8(run);
            run.clear();
            out += static_cast<char>(c - kEscapeBase);
        } else {
            run += wc;
        }
    }
    return out + ToUtf8(run);
}

}  // namespace xomplatform
