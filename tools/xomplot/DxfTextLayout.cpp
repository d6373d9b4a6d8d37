#include "tools/xomplot/DxfTextLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace xomplot::dxf {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::size_t kMaxTextBytes = 1u << 16;

void PutUtf8(std::uint32_t cp, std::string& out) {
    if (cp < 0x20 || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF || cp == 0x7F) return;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// One code point from UTF-8 at i; a byte that does not start a valid sequence is Latin-1.
std::uint32_t NextCodePoint(const std::string& s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return b;
    }
    std::uint32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return b;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    const std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[len]) {
        ++i;
        return b;
    }
    i += len;
    return cp;
}

bool HexCodePoint(const std::string& s, std::size_t at, std::uint32_t& cp) {
    if (at + 4 > s.size()) return false;
    cp = 0;
    for (std::size_t k = at; k < at + 4; ++k) {
        const char c = s[k];
        const int v = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                             : -1;
        if (v < 0) return false;
        cp = cp * 16 + static_cast<std::uint32_t>(v);
    }
    return true;
}

}  // namespace

std::vector<std::string> DecodeText(const std::string& raw_in, bool mtext) {
    const std::string raw = raw_in.substr(0, kMaxTextBytes);
    std::vector<std::string> lines(1);
    std::size_t i = 0;
    while (i < raw.size()) {
        const char c = raw[i];
        if (c == '%' && i + 2 < raw.size() && raw[i + 1] == '%') {
            const char k = static_cast<char>(raw[i + 2] | 0x20);
            if (k == 'd')
                PutUtf8(0xB0, lines.back());
            else if (k == 'p')
                PutUtf8(0xB1, lines.back());
            else if (k == 'c')
                PutUtf8(0x2300, lines.back());
            else if (raw[i + 2] == '%')
                lines.back() += '%';
            i += 3;  // %%u and %%o (underline, overline) are not drawn
            continue;
        }
        if (c == '\\' && i + 1 < raw.size()) {
            const char k = raw[i + 1];
            std::uint32_t cp = 0;
            if ((k == 'U' || k == 'u') && i + 2 < raw.size() && raw[i + 2] == '+' &&
                HexCodePoint(raw, i + 3, cp)) {
                PutUtf8(cp, lines.back());
                i += 7;
                continue;
            }
            if (mtext) {
                if (k == 'P') {
                    lines.emplace_back();
                    i += 2;
                    continue;
                }
                if (k == '~') {
                    lines.back() += "\xC2\xA0";  // a no-break space: wrapping keeps its words
                    i += 2;
                    continue;
                }
                if (k == '\\' || k == '{' || k == '}') {
                    lines.back() += k;
                    i += 2;
                    continue;
                }
                if (k == 'L' || k == 'l' || k == 'O' || k == 'o' || k == 'K' || k == 'k' ||
                    k == 'N') {
                    i += 2;
                    continue;
                }
                if (k == 'S') {
                    // A stacked fraction: drawn as its parts with a slash.
                    const std::size_t end = raw.find(';', i);
                    std::string body =
                        raw.substr(i + 2, end == std::string::npos ? 0 : end - i - 2);
                    for (char& b : body)
                        if (b == '^' || b == '#') b = '/';
                    lines.back() += body;
                    i = end == std::string::npos ? raw.size() : end + 1;
                    continue;
                }
                // \A, \C, \f, \H, \Q, \T, \W and the like run to their ';'.
                const std::size_t end = raw.find(';', i);
                i = end == std::string::npos ? raw.size() : end + 1;
                continue;
            }
        }
        if (mtext && (c == '{' || c == '}')) {
            ++i;
            continue;
        }
        PutUtf8(NextCodePoint(raw, i), lines.back());
    }
    return lines;
}

bool WrapLines(std::vector<std::string>& lines, double limit, const TextOutliner& outline,
               std::string& why) {
    std::vector<std::vector<Point>> unused;
    auto width = [&](const std::string& text, double& w) {
        unused.clear();
        return outline(text, 1.0, unused, w, why);
    };
    // Words are measured once each; a line's width is theirs and the spaces' between them.
    double pair = 0, spaced = 0;
    if (!width("xx", pair) || !width("x x", spaced)) return false;
    const double space = std::max(0.0, spaced - pair);
    std::vector<std::string> out;
    for (const std::string& paragraph : lines) {
        std::string line;
        double used = 0;
        std::size_t at = 0;
        while (at <= paragraph.size()) {
            std::size_t end = paragraph.find(' ', at);
            if (end == std::string::npos) end = paragraph.size();
            const std::string word = paragraph.substr(at, end - at);
            at = end + 1;
            if (word.empty()) continue;
            double w = 0;
            if (!width(word, w)) return false;
            if (!line.empty() && used + space + w > limit) {
                out.push_back(std::move(line));
                line.clear();
                used = 0;
            }
            used += (line.empty() ? 0 : space) + w;
            line += (line.empty() ? "" : " ") + word;
        }
        out.push_back(std::move(line));
    }
    lines = std::move(out);
    return true;
}

bool LayOutText(const Entity& e, const TextOutliner& outline,
                std::vector<std::vector<Point>>& contours, std::string& why) {
    const TextData& t = e.text;
    const bool mtext = e.kind == EntityKind::MText;
    double h = t.height;
    if (!(h > 0) || !std::isfinite(h)) h = 1;
    std::vector<std::string> lines = DecodeText(t.text, mtext);
    // MTEXT's paragraphs wrap at its reference rectangle's width.
    if (mtext && t.box_width > 0 && std::isfinite(t.box_width) &&
        !WrapLines(lines, t.box_width / h, outline, why))
        return false;
    const Point ip = e.points[0].p;
    double angle = t.angle_deg * kPi / 180;
    double sx = h, sy = h;
    double dx = 0, dy = 0;  // text units
    std::vector<std::vector<std::vector<Point>>> lineContours;
    std::vector<double> widths;
    for (const auto& line : lines) {
        std::vector<std::vector<Point>> c;
        double w = 0;
        if (!outline(line, mtext ? 1.0 : t.width_factor, c, w, why)) return false;
        lineContours.push_back(std::move(c));
        widths.push_back(w);
    }
    Point anchor = ip;
    if (!mtext) {
        // Outlines come in text units with the width factor applied: scale by the height.
        const double w = widths.empty() ? 0 : widths[0];
        const int ha = t.halign, va = t.valign;
        if (ha == 3 || ha == 5) {
            // Aligned and fit: the text runs from the first point to the second.
            const double len = std::hypot(t.second.x - ip.x, t.second.y - ip.y);
            if (len > 0 && w > 0) {
                angle = std::atan2(t.second.y - ip.y, t.second.x - ip.x);
                sx = len / w;
                if (ha == 3) sy = sx;
            }
        } else if (ha != 0 || va != 0) {
            anchor = t.second;
            if (ha == 1 || ha == 4) dx = -w / 2;
            if (ha == 2) dx = -w;
        }
        if (ha == 4 || va == 2) dy = -0.5;
        if (va == 1) dy = 0.2;   // the descenders' depth
        if (va == 3) dy = -1.0;  // the capitals' top
    } else {
        const int row = (t.attachment - 1) / 3;
        const double pitch = 5.0 / 3.0 * t.line_spacing;
        const double block = 1.0 + pitch * static_cast<double>(lines.size() - 1);
        dy = row == 0 ? -1.0 : row == 1 ? -1.0 + block / 2 : -1.0 + block;
    }
    const double co = std::cos(angle), si = std::sin(angle);
    const double pitch = 5.0 / 3.0 * t.line_spacing;
    for (std::size_t k = 0; k < lineContours.size(); ++k) {
        double ox = dx;
        if (mtext) {
            const int col = (t.attachment - 1) % 3;
            ox = col == 1 ? -widths[k] / 2 : col == 2 ? -widths[k] : 0;
        }
        const double oy = dy - pitch * static_cast<double>(k) * (mtext ? 1 : 0);
        for (auto& c : lineContours[k]) {
            for (Point& p : c) {
                const double x = (p.x + ox) * sx, y = (p.y + oy) * sy;
                p = {anchor.x + x * co - y * si, anchor.y + x * si + y * co};
            }
            contours.push_back(std::move(c));
        }
    }
    return true;
}

}  // namespace xomplot::dxf
