#include "Common/XomJob/PjlHeader.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace {

constexpr std::size_t kMaxUserNameBytes = 299;

// In the current locale, with room for four bytes per wide character (a wide character here is a
// whole code point, which UTF-8 may spell in four bytes); a failed or empty conversion gives an
// empty text.
std::string ToMultibyte(const std::wstring& text, std::size_t capacity) {
    if (text.empty()) return {};
    std::vector<char> buffer(capacity + 1, '\0');
    const wchar_t* source = text.c_str();
    std::mbstate_t state{};
    const std::size_t n = std::wcsrtombs(buffer.data(), &source, capacity, &state);
    // A source left unconverted (no room) or an unencodable character: no value at all.
    if (n == static_cast<std::size_t>(-1) || source != nullptr) return {};
    return std::string(buffer.data(), n);
}

// A control byte inside a comment value would end the line or start an escape sequence.
std::string Sanitised(std::string value) {
    for (char& c : value) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) c = '?';
    }
    return value;
}

std::wstring WithoutControls(std::wstring value) {
    for (wchar_t& c : value) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029) c = L'?';
    }
    return value;
}

std::string Comment(const std::wstring& value) {
    return Sanitised(ToMultibyte(WithoutControls(value), value.size() * 4));
}

JobUserNameSource& UserNameSource() {
    static JobUserNameSource source;
    return source;
}

}  // namespace

JobUserNameSource SetJobUserNameSource(JobUserNameSource source) {
    JobUserNameSource previous = std::move(UserNameSource());
    UserNameSource() = std::move(source);
    return previous;
}

std::optional<std::string> JobUserNameFromEnvironment() {
    if (UserNameSource()) return UserNameSource()();
    const char* value = std::getenv("USERNAME");
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

void WritePjlHeader(const PjlHeaderInputs& in, std::string& text) {
    text += "\x1B%-12345X";
    text += "@PJL COMMENT Source=AutoCAD\r\n";
    std::string user = in.userName.value_or(std::string());
    if (user.size() > kMaxUserNameBytes) user.resize(kMaxUserNameBytes);
    if (user.empty()) user = "AutoCAD user";
    text += "@PJL COMMENT ComputerUserName=" + Sanitised(user) + "\r\n";
    text += "@PJL COMMENT Drawing=" + Comment(in.drawingName) + "\r\n";
    text += "@PJL COMMENT SourceProductName=" + Comment(in.productName) + "\r\n";
    if (in.targetDevice) text += "@PJL COMMENT TargetDevice=" + Comment(*in.targetDevice) + "\r\n";

    char dateText[32] = {}, timeText[32] = {};
    std::strftime(dateText, sizeof dateText, "%Y-%m-%d", &in.localTime);
    std::strftime(timeText, sizeof timeText, "%H:%M:%S", &in.localTime);
    text += std::string("@PJL COMMENT Time=") + dateText + " " + timeText + "\r\n";
    text += "@PJL COMMENT DriverVersion:" + in.driverTag + " " +
            Sanitised(ToMultibyte(in.driverVersion, 29)) +
            "  HDI:" + Sanitised(ToMultibyte(in.hdiVersion, 23)) + "\r\n";
    text += "@PJL SET RESOLUTION = " + std::to_string(in.resolutionDpi) + "\r\n";
    text += "@PJL ENTER LANGUAGE = HPGL2\r\n";
}
