#include "Common/XomSettings/MacAddressText.h"

#include <cwchar>

std::vector<std::uint8_t> ParseMacAddress(const std::wstring& text) {
    std::vector<std::uint8_t> bytes;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of(L". +-", pos);
        const std::wstring token =
            text.substr(pos, end == std::wstring::npos ? std::wstring::npos : end - pos);
        pos = end == std::wstring::npos ? text.size() : end + 1;
        if (token.empty()) continue;
        // Read as if "0x" stood in front: hex digits only, as many as there are.
        std::uint64_t value = 0;
        bool digits = false;
        for (wchar_t c : token) {
            int d;
            if (c >= L'0' && c <= L'9')
                d = c - L'0';
            else if (c >= L'a' && c <= L'f')
                d = c - L'a' + 10;
            else if (c >= L'A' && c <= L'F')
                d = c - L'A' + 10;
            else
                break;
            digits = true;
            value = value > 0xFFFFFFFFull ? value : value * 16 + static_cast<unsigned>(d);
        }
        if (!digits) continue;
        bytes.push_back(static_cast<std::uint8_t>(value > 255 ? 255 : value));
    }
    return bytes;
}

std::wstring FormatMacAddress(const std::vector<std::uint8_t>& bytes) {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        wchar_t pair[4];
        std::swprintf(pair, 4, L"%.2X", static_cast<unsigned>(bytes[i]));
        if (i != 0) text += L'-';
        text += pair;
    }
    return text;
}
