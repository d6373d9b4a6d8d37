#include "platform/ErrorText.h"

#include <cstring>

#include "platform/Utf8.h"

namespace xomplatform {
namespace {

struct KeptError {
    unsigned code;
    const wchar_t* text;
};

// The error numbers of the original platform that the driver's code reports as they are. 160,
// 4306 and 4313 lie above every errno value; 122 is also EDQUOT, which no socket operation gives,
// so where the driver reports 122 it means "no buffer".
constexpr KeptError kKeptErrors[] = {
    {122, L"The data area passed to a system call is too small."},
    {160, L"One or more arguments are not correct."},
    {4306, L"The operation identifier is not valid: there is nothing to send."},
    {4313, L"The send buffer recorded a failed write."},
};

}  // namespace

std::wstring SystemErrorText(unsigned code) {
    for (const auto& kept : kKeptErrors)
        if (kept.code == code) return kept.text;
    char buffer[256];
    // The GNU strerror_r returns the text (in buffer or a static one).
    const char* text = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    return FromUtf8(text != nullptr ? text : "Unknown error " + std::to_string(code)) + L".";
}

}  // namespace xomplatform
