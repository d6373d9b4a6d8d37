#include "tools/xomplot/DxfGroupCheck.h"

#include <charconv>
#include <cstdint>
#include <set>
#include <string_view>

namespace xomplot::dxf {

namespace {

std::string_view TrimView(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Group codes that dxflib takes as the number of items to allocate for, by entity.
bool IsCountCode(std::string_view entity, int code) {
    if (entity == "LWPOLYLINE") return code == 90;
    if (entity == "SPLINE") return code == 72 || code == 73 || code == 74;
    if (entity == "LEADER") return code == 76;
    if (entity == "HATCH") return code == 91 || code == 93 || code == 72 || code == 98;
    return false;
}

}  // namespace

bool CheckGroups(const std::string& text, std::string& version, std::string& error,
                 const GroupVisitor& group) {
    static constexpr std::string_view kBinary = "AutoCAD Binary DXF";
    if (std::string_view(text).substr(0, kBinary.size()) == kBinary) {
        error = "binary DXF is not supported: save the drawing as ASCII DXF";
        return false;
    }
    std::size_t pos = 0, line = 0, groups = 0;
    auto next = [&](std::string_view& out) {
        if (pos >= text.size()) return false;
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        out = std::string_view(text).substr(pos, end - pos);
        pos = end + 1;
        ++line;
        return true;
    };
    // Each count may at most name every group of the file.
    std::size_t lines = 1;
    for (char c : text) lines += c == '\n';
    std::string_view entity, codeText, value, last_value;
    int code = -1;
    bool wantVersion = false;
    while (next(codeText)) {
        codeText = TrimView(codeText);
        if (codeText.empty() && pos >= text.size()) break;
        auto [ptr, ec] = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
        if (ec != std::errc() || ptr != codeText.data() + codeText.size() || code < 0 ||
            code > 1071) {
            error = "line " + std::to_string(line) + ": expected a group code, got '" +
                    std::string(codeText.substr(0, 40)) + "'";
            return false;
        }
        if (!next(value)) {
            error = "the file is truncated: group code " + std::to_string(code) +
                    " on its last line has no value";
            return false;
        }
        value = TrimView(value);
        ++groups;
        if (group) group(code, value);
        if (code == 0) entity = value;
        if (code == 9) wantVersion = value == "$ACADVER";
        if (code == 1 && wantVersion) {
            version = std::string(value.substr(0, 16));
            wantVersion = false;
        }
        if (IsCountCode(entity, code)) {
            long long n = 0;
            auto [p2, e2] = std::from_chars(value.data(), value.data() + value.size(), n);
            if (e2 != std::errc() || n < 0 || static_cast<std::uint64_t>(n) > lines) {
                error = "line " + std::to_string(line) + ": " + std::string(entity) +
                        " declares a count of '" + std::string(value.substr(0, 24)) +
                        "' items, more than the file holds";
                return false;
            }
        }
        last_value = code == 0 ? value : std::string_view("");
    }
    if (groups == 0) {
        error = "the file is empty";
        return false;
    }
    if (last_value != "EOF") {
        error = "the file is truncated: it does not end with the EOF group";
        return false;
    }
    return true;
}

}  // namespace xomplot::dxf
