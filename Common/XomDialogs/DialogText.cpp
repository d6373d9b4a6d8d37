#include "Common/XomDialogs/DialogText.h"

#include <cwctype>

#include "Common/XOM/LocalizedString.h"

std::wstring Trimmed(const std::wstring& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::iswspace(static_cast<wint_t>(text[begin]))) ++begin;
    while (end > begin && std::iswspace(static_cast<wint_t>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

std::wstring LabelText(unsigned stringId) {
    return NormalisedLabel(LocalizedString(stringId));
}

std::wstring NormalisedLabel(const std::wstring& text) {
    std::wstring label = Trimmed(text);
    if (!label.empty() && (label.back() == L':' || label.back() == L'\xFF1A')) label.pop_back();
    return label + L":";
}

std::wstring FormatWith(const std::wstring& format, const std::wstring& value) {
    const std::size_t at = format.find(L"%s");
    if (at == std::wstring::npos) return format;
    std::wstring text = format;
    text.replace(at, 2, value);
    return text;
}
