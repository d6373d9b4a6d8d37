#include "Common/XOM/ThreadLocale.h"

#include <array>
#include <utility>

namespace {

struct LanguageLocale {
    std::uint16_t languageId;
    const char* name;
};

// Full identifiers first; a language whose sublanguage is not listed takes the entry of its
// primary language (the first entry with the same low 10 bits).
constexpr std::array<LanguageLocale, 27> kLocales{{
    {0x0409, "en_US"}, {0x0809, "en_GB"}, {0x0407, "de_DE"}, {0x0807, "de_CH"}, {0x0C07, "de_AT"},
    {0x040C, "fr_FR"}, {0x0C0C, "fr_CA"}, {0x0410, "it_IT"}, {0x0C0A, "es_ES"}, {0x040A, "es_ES"},
    {0x0416, "pt_BR"}, {0x0816, "pt_PT"}, {0x0413, "nl_NL"}, {0x041D, "sv_SE"}, {0x0406, "da_DK"},
    {0x0414, "nb_NO"}, {0x040B, "fi_FI"}, {0x0415, "pl_PL"}, {0x0405, "cs_CZ"}, {0x040E, "hu_HU"},
    {0x0419, "ru_RU"}, {0x041F, "tr_TR"}, {0x0408, "el_GR"}, {0x0411, "ja_JP"}, {0x0412, "ko_KR"},
    {0x0804, "zh_CN"}, {0x0404, "zh_TW"},
}};

}  // namespace

std::string LocaleNameForLanguage(std::uint16_t languageId) {
    for (const auto& l : kLocales) {
        if (l.languageId == languageId) return l.name;
    }
    const std::uint16_t primary = languageId & 0x3FF;
    if (primary == 0) return {};
    for (const auto& l : kLocales) {
        if ((l.languageId & 0x3FF) == primary) return l.name;
    }
    return {};
}

CScopedThreadLocale::CScopedThreadLocale(std::uint16_t languageId) {
    const std::string base = LocaleNameForLanguage(languageId);
    std::array<std::string, 3> candidates{base.empty() ? std::string() : base + ".UTF-8", base,
                                          std::string("C.UTF-8")};
    for (auto& candidate : candidates) {
        if (candidate.empty()) continue;
        locale_t l = newlocale(LC_ALL_MASK, candidate.c_str(), locale_t{});
        if (l == locale_t{}) continue;
        m_locale = l;
        m_name = std::move(candidate);
        break;
    }
    if (m_locale == locale_t{}) return;
    m_previous = uselocale(m_locale);
    if (m_previous == locale_t{}) {  // the switch itself failed: nothing to restore
        freelocale(m_locale);
        m_locale = locale_t{};
        m_name.clear();
    }
}

CScopedThreadLocale::~CScopedThreadLocale() {
    if (m_locale == locale_t{}) return;
    uselocale(m_previous);
    freelocale(m_locale);
}
