#pragma once
// The thread locale of the resource library's language, switched in for a stretch of work (the
// driver's initialisation, the plot-time preparation) and switched back afterwards.
#include <clocale>

#include <cstdint>
#include <string>

// The POSIX locale name ("de_DE") for a Windows language identifier (primary language in the
// low 10 bits, sublanguage above); empty for a language we have no name for.
std::string LocaleNameForLanguage(std::uint16_t languageId);

// Makes the calling thread use the language's locale until destruction, then restores the
// thread's previous locale. Tries "<name>.UTF-8", then "<name>", then "C.UTF-8"; when none is
// installed the thread keeps its locale (switched() is false). Not copyable.
class CScopedThreadLocale {
  public:
    explicit CScopedThreadLocale(std::uint16_t languageId);
    ~CScopedThreadLocale();
    CScopedThreadLocale(const CScopedThreadLocale&) = delete;
    CScopedThreadLocale& operator=(const CScopedThreadLocale&) = delete;

    bool switched() const { return m_locale != locale_t{}; }
    // The locale name that is in force, empty when nothing was switched.
    const std::string& name() const { return m_name; }

  private:
    locale_t m_locale{};
    locale_t m_previous{};
    std::string m_name;
};
