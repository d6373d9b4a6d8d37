#include "juxcommoncode/Snmp/BerTextTokens.h"

namespace JuxNetwork {
namespace {
bool IsSeparator(wchar_t ch) {
    return ch == L'.' || ch == L' ' || ch == L'+' || ch == L'-';
}
}  // namespace

std::vector<std::uint32_t> SplitBerNumberText(const std::wstring& text) {
    std::vector<std::uint32_t> numbers;
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsSeparator(text[i])) {
            ++i;
            continue;
        }
        std::uint64_t value = 0;
        bool inDigits = true;
        for (; i < text.size() && !IsSeparator(text[i]); ++i) {
            const wchar_t ch = text[i];
            if (inDigits && ch >= L'0' && ch <= L'9') {
                value = value * 10 + static_cast<std::uint64_t>(ch - L'0');
                if (value > UINT32_MAX) value = UINT32_MAX;
            } else {
                inDigits = false;  // the rest of the token is ignored
            }
        }
        numbers.push_back(static_cast<std::uint32_t>(value));
    }
    return numbers;
}

}  // namespace JuxNetwork
