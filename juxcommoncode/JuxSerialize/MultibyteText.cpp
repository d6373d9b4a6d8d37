#include "juxcommoncode/JuxSerialize/MultibyteText.h"

#include <langinfo.h>
#include <locale.h>

#include <climits>
#include <cstring>
#include <cwchar>

namespace JuxNetwork {

namespace {

// The UTF-8 locale used when the thread's current one is plain ASCII. Created once; freed when
// the library holding it ends (a driver is unloaded by its host, so the locale must not outlive
// it).
class Utf8LocaleHolder {
  public:
    Utf8LocaleHolder() {
        m_locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        if (m_locale == static_cast<locale_t>(nullptr)) {
            m_locale = newlocale(LC_CTYPE_MASK, "en_US.UTF-8", static_cast<locale_t>(nullptr));
        }
    }
    ~Utf8LocaleHolder() {
        if (m_locale != static_cast<locale_t>(nullptr)) freelocale(m_locale);
    }
    Utf8LocaleHolder(const Utf8LocaleHolder&) = delete;
    Utf8LocaleHolder& operator=(const Utf8LocaleHolder&) = delete;
    locale_t get() const { return m_locale; }

  private:
    locale_t m_locale;
};

locale_t Utf8Locale() {
    static const Utf8LocaleHolder utf8;
    return utf8.get();
}

bool CurrentLocaleIsPlainAscii() {
    const char* codeset = nl_langinfo(CODESET);
    return codeset == nullptr || std::strcmp(codeset, "ANSI_X3.4-1968") == 0 ||
           std::strcmp(codeset, "ASCII") == 0 || std::strcmp(codeset, "US-ASCII") == 0;
}

// Switches the calling thread to UTF-8 for the conversion when its locale is plain ASCII, and back
// on destruction. Other threads and the global locale are untouched.
class ScopedConversionLocale {
  public:
    ScopedConversionLocale() {
        if (CurrentLocaleIsPlainAscii()) {
            const locale_t utf8 = Utf8Locale();
            if (utf8 != static_cast<locale_t>(nullptr)) {
                m_previous = uselocale(utf8);
                m_switched = true;
            }
        }
    }
    ~ScopedConversionLocale() {
        if (m_switched) uselocale(m_previous);
    }
    ScopedConversionLocale(const ScopedConversionLocale&) = delete;
    ScopedConversionLocale& operator=(const ScopedConversionLocale&) = delete;

  private:
    locale_t m_previous = static_cast<locale_t>(nullptr);
    bool m_switched = false;
};

}  // namespace

std::string WideToMultibyte(std::wstring_view text, std::size_t maxBytes) {
    ScopedConversionLocale scoped;
    std::string out;
    out.reserve(text.size() < maxBytes ? text.size() : maxBytes);
    std::mbstate_t state{};
    char bytes[MB_LEN_MAX];
    for (wchar_t wc : text) {
        if (wc == L'\0') break;
        std::size_t n = std::wcrtomb(bytes, wc, &state);
        if (n == static_cast<std::size_t>(-1)) {
            state = std::mbstate_t{};
            bytes[0] = '?';
            n = 1;
        }
        if (n > maxBytes - out.size()) break;  // keep whole characters only
        out.append(bytes, n);
    }
    return out;
}

std::wstring MultibyteToWide(std::string_view bytes) {
    ScopedConversionLocale scoped;
    std::wstring out;
    out.reserve(bytes.size());
    std::mbstate_t state{};
    std::size_t i = 0;
    while (i < bytes.size()) {
        wchar_t wc = 0;
        const std::size_t n = std::mbrtowc(&wc, bytes.data() + i, bytes.size() - i, &state);
        if (n == 0) break;  // the text ends at its first zero byte
        if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2)) {
            state = std::mbstate_t{};
            out += L'\uFFFD';
            ++i;
            continue;
        }
        out += wc;
        i += n;
    }
    return out;
}

}  // namespace JuxNetwork
