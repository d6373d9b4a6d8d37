#include "Common/XOM/LocalizedString.h"

#include <algorithm>
#include <cwchar>

#include "Common/XOM/DriverApp.h"

namespace {

constexpr XomResString kDriverStrings[] = {
#define XOM_STRING(id, text) {id, text},
#include "resources/StringTable.inc"
#undef XOM_STRING
};

// Linear: the resource library's table is outside input and need not be sorted as promised.
const wchar_t* Find(const XomResString* table, std::size_t count, unsigned id) {
    if (table == nullptr) return nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        // An empty text counts as missing, as it does for a Windows string resource.
        if (table[i].id == id && table[i].text != nullptr && table[i].text[0] != L'\0') {
            return table[i].text;
        }
    }
    return nullptr;
}

void Assign(std::wstring& text, const wchar_t* source) {
    text.assign(source, std::min(std::wcslen(source), kMaxLocalizedStringChars));
}

}  // namespace

std::span<const XomResString> DriverStringTable() {
    return kDriverStrings;
}

bool LoadLocalizedString(unsigned id, std::wstring& text) {
    text.clear();
    const CMfcdll1App& app = theApp();
    const wchar_t* own = Find(kDriverStrings, std::size(kDriverStrings), id);
    if (app.resourceModule() == nullptr) {
        if (own == nullptr) return false;
        Assign(text, own);
        return true;
    }
    if (const wchar_t* translated = Find(app.resourceStrings(), app.resourceStringCount(), id)) {
        Assign(text, translated);
        return true;
    }
    if (own == nullptr) return false;
    Assign(text, own);
    text += L'.';
    return true;
}

std::wstring LocalizedString(unsigned id) {
    std::wstring text;
    LoadLocalizedString(id, text);
    return text;
}
