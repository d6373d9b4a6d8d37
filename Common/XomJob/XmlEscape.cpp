#include "Common/XomJob/XmlEscape.h"

#include <cstdint>
#include <cstdio>

namespace {

bool IsHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Appends to the destination as far as it has room, counting every unit.
class Sink {
  public:
    Sink(char16_t* d, std::size_t c) : m_d(d), m_capacity(c) {}
    void put(const char* ascii) {
        for (; *ascii != '\0'; ++ascii) put(static_cast<char16_t>(*ascii));
    }
    void put(char16_t u) {
        if (m_d != nullptr && m_count < m_capacity) m_d[m_count] = u;
        ++m_count;
    }
    void reference(unsigned codePoint, int digits) {
        char text[16];
        std::snprintf(text, sizeof text, digits == 6 ? "&#x%06X;" : "&#x%04X;", codePoint);
        put(text);
    }
    std::size_t count() const { return m_count; }

  private:
    char16_t* m_d;
    std::size_t m_capacity;
    std::size_t m_count = 0;
};

// XML 1.0 can refer to this unit on its own.
bool Referable(char16_t u) {
    if (u < 0x20) return u == 0x09 || u == 0x0A || u == 0x0D;
    return !(IsHigh(u) || IsLow(u) || u == 0xFFFE || u == 0xFFFF);
}

constexpr unsigned kReplacement = 0xFFFD;

}  // namespace

std::size_t EscapeXmlText(const char16_t* source, std::size_t length, char16_t* destination,
                          std::size_t capacity) {
    Sink out(destination, capacity);
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t u = source[i];
        switch (u) {
            case u'&':
                out.put("&amp;");
                continue;
            case u'<':
                out.put("&lt;");
                continue;
            case u'>':
                out.put("&gt;");
                continue;
            case u'"':
                out.put("&quot;");
                continue;
            case u'\'':
                out.put("&apos;");
                continue;
            default:
                break;
        }
        if (IsHigh(u) && i + 1 < length && IsLow(source[i + 1])) {
            const unsigned cp = 0x10000u + (u - 0xD800u) * 1024u + (source[i + 1] - 0xDC00u);
            out.reference(cp, 6);
            ++i;
        } else if (u < 0x20 || u > 0x7E) {
            out.reference(Referable(u) ? u : kReplacement, 4);
        } else {
            out.put(u);
        }
    }
    return out.count();
}

std::u16string EscapeXmlText(const std::u16string& source) {
    std::u16string out(EscapeXmlText(source.data(), source.size(), nullptr, 0), u'\0');
    EscapeXmlText(source.data(), source.size(), out.data(), out.size());
    return out;
}

std::u16string ToUtf16Units(const std::wstring& text) {
    std::u16string out;
    out.reserve(text.size());
    for (const wchar_t wc : text) {
        // A negative wchar_t is no code point; it becomes the replacement character below.
        const std::uint32_t c = wc < 0 ? 0xFFFFFFFFU : static_cast<std::uint32_t>(wc);
        if (c <= 0xFFFF) {
            out += static_cast<char16_t>(c);
        } else if (c <= 0x10FFFF) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(0xFFFD);
        }
    }
    return out;
}
