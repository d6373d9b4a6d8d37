#include "tools/jobrender/JobInterpreter.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "tools/jobrender/LineTypes.h"

namespace jobrender {
namespace {

constexpr char kEsc = '\x1b';
constexpr double kPi = 3.14159265358979323846;
// Plotter units of ISO A4 landscape, the page assumed when a job draws before any "PS".
constexpr double kA4Length = 210.0 / 25.4 * 1016.0;
constexpr double kA4Width = 297.0 / 25.4 * 1016.0;
constexpr double kMaxPagePlu = 1016.0 * 12.0 * 1000.0;  // 1000 ft of roll
constexpr double kMaxCoordinate = 1e15;
constexpr int kMaxPens = 32768;
constexpr std::size_t kMaxPolygonPoints = 8u << 20;
constexpr std::size_t kMaxPathPoints = 1u << 20;
constexpr std::size_t kMaxParameters = 4096;
// A line whose type would cut it into more pieces than this is drawn solid and counted.
constexpr std::size_t kMaxDashPieces = 1u << 20;

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
std::uint8_t Channel(double v) {
    if (!(v > 0)) return 0;
    if (v >= 255) return 255;
    return static_cast<std::uint8_t>(std::lround(v));
}

}  // namespace

// The raster hook's view of this pass: the page transform and the band (or nothing).
class PassRasterCanvas : public RasterCanvas {
  public:
    explicit PassRasterCanvas(JobInterpreter& j) : m_j(j) {}
    void fill_rect(double x0, double y0, double x1, double y1, Rgb colour,
                   bool mergeWhite) override {
        if (!m_j.m_band) return;
        const PointF a = m_j.printer_to_pixel({x0, y0});
        const PointF b = m_j.printer_to_pixel({x1, y1});
        m_j.m_band->fill_rect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                              std::max(a.y, b.y), colour, mergeWhite);
    }
    bool band_may_touch(double x0, double y0, double x1, double y1) const override {
        if (!m_j.m_band) return false;
        const PointF a = m_j.printer_to_pixel({x0, y0});
        const PointF b = m_j.printer_to_pixel({x1, y1});
        return m_j.m_band->touches(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                                   std::max(a.y, b.y));
    }
    double cursor_x() const override { return m_j.plu_to_printer(m_j.m_position).x; }
    double cursor_y() const override { return m_j.plu_to_printer(m_j.m_position).y; }
    bool page_turned() const override { return m_j.m_result.page.rotated(); }

  private:
    JobInterpreter& m_j;
};

JobInterpreter::JobInterpreter(std::string_view job, const RenderOptions& options,
                               const PageFrame* page, BandCanvas* band)
    : m_job(job), m_options(options), m_band(band) {
    if (page) {
        m_result.page = *page;
        m_pageFixed = true;
    } else {
        m_result.page = {kA4Length, kA4Width, false};
    }
    reset_hpgl();
}

void JobInterpreter::fail(std::string what, std::size_t at) {
    if (!m_result.ok) return;
    m_result.ok = false;
    m_result.error = std::move(what);
    m_result.errorOffset = at;
}

void JobInterpreter::warn(std::size_t& counter, const std::string& name) {
    ++counter;
    ++m_result.warnings.byName[name];
}

PassResult JobInterpreter::run() {
    if (m_options.raster) m_options.raster->begin_pass();
    while (!failed() && m_pos < m_job.size()) {
        if (m_inHpgl)
            hpgl();
        else
            pcl_text();
    }
    flush_path();
    if (m_drawn && !m_pageDone) ++m_result.pages;
    return m_result;
}

// ---- PCL level -------------------------------------------------------------------------------

void JobInterpreter::pcl_text() {
    // Text outside HP-GL/2 is the job ticket, PJL lines or printable PCL text: not drawn.
    const std::size_t esc = m_job.find(kEsc, m_pos);
    if (esc == std::string_view::npos) {
        m_pos = m_job.size();
        return;
    }
    m_pos = esc;
    escape();
}

void JobInterpreter::escape() {
    const std::size_t start = m_pos;
    if (m_pos + 1 >= m_job.size()) {
        fail("escape sequence cut short at the end of the job", start);
        return;
    }
    const char c = m_job[m_pos + 1];
    if (c == 'E') {  // printer reset: ends the page when something was drawn
        m_pos += 2;
        flush_path();
        if (m_drawn && !m_pageDone) {
            ++m_result.pages;
            m_pageDone = true;
        }
        m_inHpgl = false;
        reset_hpgl();
        return;
    }
    if (c >= 0x21 && c <= 0x2f) {
        parameterized_escape(start);
        return;
    }
    // Two-character escapes (ESC "9", ESC "=", ...): nothing a page shows.
    m_pos += 2;
    warn(m_result.warnings.unsupportedPcl, std::string("ESC ") + c);
}

void JobInterpreter::parameterized_escape(std::size_t start) {
    const char family = m_job[start + 1];
    m_pos = start + 2;
    char group = 0;
    if (m_pos < m_job.size() && m_job[m_pos] >= 0x60 && m_job[m_pos] <= 0x7e)
        group = m_job[m_pos++];
    for (;;) {
        // Value field: [+|-]digits[.digits]
        const std::size_t valueStart = m_pos;
        while (m_pos < m_job.size() && m_pos - valueStart <= 32 &&
               (std::isdigit(static_cast<unsigned char>(m_job[m_pos])) || m_job[m_pos] == '.' ||
                ((m_job[m_pos] == '+' || m_job[m_pos] == '-') && m_pos == valueStart)))
            ++m_pos;
        if (m_pos - valueStart > 32) {
            fail("escape value longer than 32 characters", start);
            return;
        }
        if (m_pos >= m_job.size()) {
            fail("escape sequence cut short at the end of the job", start);
            return;
        }
        const std::string_view valueText = m_job.substr(valueStart, m_pos - valueStart);
        const char p = m_job[m_pos++];
        const bool final = p >= 0x40 && p <= 0x5e;
        if (!final && !(p >= 0x60 && p <= 0x7e)) {
            fail("bad character in an escape sequence", m_pos - 1);
            return;
        }
        PclCommand cmd;
        cmd.family = family;
        cmd.group = group;
        cmd.parameter = Upper(p);
        cmd.offset = start;
        cmd.hasValue = !valueText.empty() && valueText != "+" && valueText != "-";
        if (cmd.hasValue) cmd.value = std::strtod(std::string(valueText).c_str(), nullptr);

        // Commands that carry binary data right after their parameter character.
        const bool data = (cmd.parameter == 'W') ||
                          (family == '*' && group == 'b' && cmd.parameter == 'V') ||
                          (family == '&' && group == 'p' && cmd.parameter == 'X');
        if (data) {
            const double n = cmd.hasValue ? cmd.value : 0;
            if (n < 0 || n > static_cast<double>(m_job.size() - m_pos)) {
                fail("PCL data runs past the end of the job", start);
                return;
            }
            cmd.data = m_job.substr(m_pos, static_cast<std::size_t>(n));
            m_pos += cmd.data.size();
        }

        if (family == '%' && (cmd.parameter == 'B' || cmd.parameter == 'A')) {
            // Enter HP-GL/2 / return to PCL. The PCL cursor is the pen position.
            flush_path();
            m_inHpgl = cmd.parameter == 'B';
            if (m_inHpgl) m_penDown = false;
        } else if (family == '%' && cmd.parameter == 'X') {
            // Universal exit language: PJL follows, as text.
        } else if (family == '*' &&
                   (group == 'r' || group == 'b' || group == 'v' || group == 't' || group == 'g')) {
            PassRasterCanvas canvas(*this);
            const bool handled =
                m_options.raster && !m_pageDone && m_options.raster->command(cmd, canvas);
            if (!handled)
                warn(m_result.warnings.unsupportedRaster,
                     std::string("ESC ") + family + group + cmd.parameter);
        } else {
            warn(m_result.warnings.unsupportedPcl, std::string("ESC ") + family +
                                                       (group ? std::string(1, group) : "") +
                                                       cmd.parameter);
        }
        if (final) return;
    }
}

// ---- HP-GL/2 level ---------------------------------------------------------------------------

void JobInterpreter::hpgl() {
    while (!failed() && m_inHpgl && m_pos < m_job.size()) {
        const char c = m_job[m_pos];
        if (c == kEsc) {
            flush_path();
            escape();
            return;
        }
        if (IsLetter(c)) {
            hpgl_command();
            continue;
        }
        ++m_pos;  // separators, terminators and stray bytes between commands
    }
}

std::vector<JobInterpreter::Number> JobInterpreter::parameters(std::string_view mnemonic) {
    std::vector<Number> out;
    while (m_pos < m_job.size()) {
        const char c = m_job[m_pos];
        if (c == ';') {
            ++m_pos;
            break;
        }
        if (c == kEsc || IsLetter(c)) break;
        if (c == '"') {  // quoted string (BP): skipped
            const std::size_t close = m_job.find('"', m_pos + 1);
            m_pos = close == std::string_view::npos ? m_job.size() : close + 1;
            continue;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.') {
            std::size_t end = m_pos + 1;
            while (end < m_job.size() && end - m_pos < 64 &&
                   (std::isdigit(static_cast<unsigned char>(m_job[end])) || m_job[end] == '.'))
                ++end;
            double v = 0;
            const char* first = m_job.data() + m_pos + (c == '+' ? 1 : 0);
            const auto r = std::from_chars(first, m_job.data() + end, v);
            Number n;
            n.present = r.ec == std::errc() && std::isfinite(v);
            n.value = n.present ? v : 0;
            if (!n.present || std::fabs(v) > kMaxCoordinate) {
                warn(m_result.warnings.badParameters, std::string(mnemonic));
                n.present = false;
            }
            if (out.size() < kMaxParameters) out.push_back(n);
            m_pos = end;
            continue;
        }
        ++m_pos;  // separators
    }
    return out;
}

void JobInterpreter::skip_label() {
    const std::size_t end = m_job.find(m_labelTerminator, m_pos);
    m_pos = end == std::string_view::npos ? m_job.size() : end + 1;
}

void JobInterpreter::hpgl_command() {
    const std::size_t start = m_pos;
    if (m_pos + 1 >= m_job.size() || !IsLetter(m_job[m_pos + 1])) {
        ++m_pos;
        warn(m_result.warnings.unknownCommands, std::string(1, Upper(m_job[start])));
        return;
    }
    const std::string name{Upper(m_job[m_pos]), Upper(m_job[m_pos + 1])};
    m_pos += 2;
    if (name == "PE") {
        polyline_encoded();
        return;
    }
    flush_path();
    if (name == "LB") {
        skip_label();
        warn(m_result.warnings.unknownCommands, name);
        return;
    }
    if (name == "DT") {  // label terminator: one character
        if (m_pos < m_job.size() && m_job[m_pos] != ';') m_labelTerminator = m_job[m_pos++];
        if (m_pos < m_job.size() && m_job[m_pos] == ';') ++m_pos;
        return;
    }
    const std::vector<Number> p = parameters(name);
    auto has = [&](std::size_t i) { return i < p.size() && p[i].present; };
    auto bad = [&]() { warn(m_result.warnings.badParameters, name); };

    if (name == "IN") {
        reset_hpgl();
    } else if (name == "DF") {
        const PointF pos = m_position;
        reset_hpgl();
        m_position = pos;
    } else if (name == "BP" || name == "CO") {
        // Begin plot (kind and value pairs) and comments change nothing on the page.
    } else if (name == "PS") {
        if (!has(0)) return bad();
        const double length = p[0].value;
        const double width = has(1) ? p[1].value : length;
        if (!(length > 0) || !(width > 0) || length > kMaxPagePlu || width > kMaxPagePlu)
            return bad();
        set_page(length, width);
    } else if (name == "RO") {
        const int angle = has(0) ? static_cast<int>(p[0].value) : 0;
        if (angle % 90 != 0) return bad();
        m_rotation = ((angle % 360) + 360) % 360;
    } else if (name == "IP") {
        const PageFrame& f = m_result.page;
        const double xe = std::max(f.length, f.width), ye = std::min(f.length, f.width);
        if (p.empty()) {
            m_p1 = {0, 0};
            m_p2 = {xe, ye};
        } else if (has(0) && has(1) && !has(2)) {
            const PointF d{m_p2.x - m_p1.x, m_p2.y - m_p1.y};
            m_p1 = {p[0].value, p[1].value};
            m_p2 = {m_p1.x + d.x, m_p1.y + d.y};
        } else if (has(0) && has(1) && has(2) && has(3)) {
            m_p1 = {p[0].value, p[1].value};
            m_p2 = {p[2].value, p[3].value};
        } else {
            return bad();
        }
    } else if (name == "SC") {
        if (p.empty()) {
            m_scaled = false;
        } else if (has(0) && has(1) && has(2) && has(3)) {
            const int type = has(4) ? static_cast<int>(p[4].value) : 0;
            if (type < 0 || type > 2) return bad();
            if (type == 2 && (p[1].value == 0 || p[3].value == 0)) return bad();
            if (type != 2 && (p[0].value == p[1].value || p[2].value == p[3].value)) return bad();
            m_scaled = true;
            m_scaleType = type;
            for (int i = 0; i < 4; ++i) m_sc[i] = p[static_cast<std::size_t>(i)].value;
        } else {
            return bad();
        }
    } else if (name == "CR") {
        if (p.empty()) {
            std::fill(std::begin(m_crBlack), std::end(m_crBlack), 0.0);
            std::fill(std::begin(m_crWhite), std::end(m_crWhite), 255.0);
        } else if (p.size() >= 6 && has(0) && has(1) && has(2) && has(3) && has(4) && has(5)) {
            for (std::size_t i = 0; i < 3; ++i) {
                const double b = p[2 * i].value;
                const double w = p[2 * i + 1].value;
                if (b == w) return bad();
                m_crBlack[i] = b;
                m_crWhite[i] = w;
            }
        } else {
            return bad();
        }
    } else if (name == "NP") {
        const int n = has(0) ? static_cast<int>(p[0].value) : 8;
        if (n < 2 || n > kMaxPens) return bad();
        m_pens.resize(static_cast<std::size_t>(n));
        default_pens();
        if (m_pen >= n) m_pen = 1;
    } else if (name == "PC") {
        if (p.empty()) return default_pens();
        if (!has(0) || p[0].value < 0 || p[0].value >= static_cast<double>(m_pens.size()))
            return bad();
        const int pen = static_cast<int>(p[0].value);
        if (p.size() == 1) {
            m_pens[static_cast<std::size_t>(pen)].colour = default_pen_colour(pen);
            return;
        }
        if (!has(1) || !has(2) || !has(3)) return bad();
        std::uint8_t c[3];
        for (std::size_t i = 0; i < 3; ++i)
            c[i] = Channel((p[i + 1].value - m_crBlack[i]) * 255.0 / (m_crWhite[i] - m_crBlack[i]));
        m_pens[static_cast<std::size_t>(pen)].colour = {c[0], c[1], c[2]};
    } else if (name == "SP") {
        int pen = has(0) ? static_cast<int>(p[0].value) : 0;
        if (pen < 0 || (has(0) && p[0].value > 1e9)) return bad();
        const int n = static_cast<int>(m_pens.size());
        if (pen >= n) pen = (pen - 1) % (n - 1) + 1;
        m_pen = pen;
    } else if (name == "PW") {
        const double w = has(0) ? p[0].value : 0.35;
        if (w < 0 || w > 1e6) return bad();
        double mm = w;
        if (m_widthRelative) {
            const double diag = std::hypot(m_p2.x - m_p1.x, m_p2.y - m_p1.y);
            mm = w / 100.0 * diag / 1016.0 * 25.4;
        }
        if (has(1)) {
            if (p[1].value < 0 || p[1].value >= static_cast<double>(m_pens.size())) return bad();
            m_pens[static_cast<std::size_t>(p[1].value)].widthMm = mm;
        } else {
            for (Pen& pen : m_pens) pen.widthMm = mm;
        }
    } else if (name == "WU") {
        m_widthRelative = has(0) && p[0].value != 0;
        for (Pen& pen : m_pens) pen.widthMm = m_widthRelative ? 0.1 : 0.35;
    } else if (name == "LA") {
        if (p.empty()) {
            m_style.end = LineEnd::Butt;
            m_style.join = LineJoin::Mitered;
            m_style.miterLimit = 5;
        }
        for (std::size_t i = 0; i + 1 < p.size(); i += 2) {
            if (!p[i].present || !p[i + 1].present) return bad();
            const int kind = static_cast<int>(p[i].value);
            const double v = p[i + 1].value;
            if (kind == 1 && v >= 1 && v <= 4) {
                m_style.end = static_cast<LineEnd>(static_cast<int>(v));
            } else if (kind == 2 && v >= 1 && v <= 6) {
                m_style.join = static_cast<LineJoin>(static_cast<int>(v));
            } else if (kind == 3 && v >= 1) {
                m_style.miterLimit = v;
            } else {
                bad();
            }
        }
    } else if (name == "LT") {
        m_lineResidue = 0;
        if (!has(0)) {
            if (!m_lineType.solid) m_previousLineType = m_lineType;
            m_lineType = LineType{};
            return;
        }
        if (p[0].value == 99) {  // back to the line type before the last solid one
            if (m_lineType.solid && !m_previousLineType.solid) m_lineType = m_previousLineType;
            return;
        }
        const double type = p[0].value;
        if (type != std::trunc(type) || type < -8 || type > 8) return bad();
        LineType t;
        t.solid = false;
        t.type = static_cast<int>(type);
        if (has(1)) {
            if (!(p[1].value > 0)) return bad();
            t.length = p[1].value;
        }
        if (has(2)) {
            if (p[2].value != 0 && p[2].value != 1) return bad();
            t.absolute = p[2].value == 1;
        }
        m_lineType = t;
    } else if (name == "FT") {
        const int type = has(0) ? static_cast<int>(p[0].value) : 1;
        if (type == 1 || type == 2) {
            m_fillType = type;
        } else if (type == 3 || type == 4) {
            m_fillType = type;
            if (has(1)) m_fillOption1 = std::fabs(p[1].value);
            if (has(2)) m_fillOption2 = p[2].value;
        } else if (type == 10) {
            m_fillType = type;
            m_fillOption1 = has(1) ? std::clamp(p[1].value, 0.0, 100.0) : 100.0;
        } else {
            warn(m_result.warnings.unknownCommands, "FT (pattern, drawn solid)");
            m_fillType = 1;
        }
    } else if (name == "AC") {
        m_anchor = has(0) && has(1) ? PointF{p[0].value, p[1].value} : PointF{0, 0};
    } else if (name == "TR") {
        m_transparent = !has(0) || p[0].value != 0;
    } else if (name == "MC") {
        const bool on = has(0) && p[0].value != 0;
        int rop = on ? 168 : 252;
        if (on && has(1)) {
            if (p[1].value < 0 || p[1].value > 255) return bad();
            rop = static_cast<int>(p[1].value);
        }
        m_rop = rop;
    } else if (name == "PA" || name == "PR") {
        m_relative = name == "PR";
        coordinates(p, m_penDown, m_relative);
    } else if (name == "PU" || name == "PD") {
        m_penDown = name == "PD";
        coordinates(p, m_penDown, m_relative);
    } else if (name == "PM") {
        const int mode = has(0) ? static_cast<int>(p[0].value) : 0;
        if (mode == 0) {
            m_polygonMode = true;
            m_polygon.clear();
            m_polygonPoints = 1;
            m_polygon.push_back({plu_to_pixel(m_position)});
            m_newSubpolygon = false;
        } else if (mode == 1) {
            if (m_polygonMode) m_newSubpolygon = true;
        } else if (mode == 2) {
            m_polygonMode = false;
        } else {
            bad();
        }
    } else if (name == "FP") {
        const int method = has(0) ? static_cast<int>(p[0].value) : 0;
        fill_polygon(method == 1 ? FillRule::NonZero : FillRule::EvenOdd);
    } else if (name == "EP") {
        edge_polygon();
    } else if (name == "PG") {
        if (m_drawn && !m_pageDone) {
            ++m_result.pages;
            m_pageDone = true;
        }
    } else {
        warn(m_result.warnings.unknownCommands, name);
    }
}

void JobInterpreter::coordinates(const std::vector<Number>& p, bool down, bool relative) {
    for (std::size_t i = 0; i + 1 < p.size(); i += 2) {
        if (!p[i].present || !p[i + 1].present) continue;
        PointF target;
        if (relative) {
            const PointF d = user_delta_to_plu(p[i].value, p[i + 1].value);
            target = {m_position.x + d.x, m_position.y + d.y};
        } else {
            target = user_to_plu(p[i].value, p[i + 1].value);
        }
        if (down)
            line_to(target);
        else
            move_to(target);
    }
}

// Polyline Encoded: flags '<' (pen up for the next pair), '=' (absolute next pair), '>' (fraction
// bits), '7' (7-bit form), ':' (select pen); base-64 (8-bit) or base-32 (7-bit) numbers, sign in
// the lowest bit. The command ends at ';' (or an escape).
void JobInterpreter::polyline_encoded() {
    bool sevenBit = false, up = false, absolute = false;
    double fraction = 1;
    double pair[2];
    int have = 0;
    while (!failed() && m_pos < m_job.size()) {
        const unsigned char c = static_cast<unsigned char>(m_job[m_pos]);
        if (c == ';' || c == kEsc) {
            if (have == 1) fail("PE coordinate pair cut short", m_pos);
            if (c == ';') ++m_pos;
            return;
        }
        if (have == 0 && (c == '<' || c == '=' || c == '>' || c == '7' || c == ':')) {
            ++m_pos;
            if (c == '<') up = true;
            if (c == '=') absolute = true;
            if (c == '7') sevenBit = true;
            if (c == '>' || c == ':') {
                double v = 0;
                if (!pe_number(sevenBit, v)) return;
                if (c == '>') {
                    if (v < 0 || v > 26) {
                        warn(m_result.warnings.badParameters, "PE");
                        v = 0;
                    }
                    fraction = std::ldexp(1.0, static_cast<int>(v));
                } else {
                    const int n = static_cast<int>(m_pens.size());
                    int pen = static_cast<int>(std::clamp(v, 0.0, 1e9));
                    if (pen >= n) pen = (pen - 1) % (n - 1) + 1;
                    flush_path();
                    m_pen = pen;
                }
            }
            continue;
        }
        const bool digit =
            sevenBit ? (c >= 63 && c <= 126) : ((c >= 63 && c <= 126) || (c >= 191 && c <= 254));
        if (!digit) {
            ++m_pos;  // not part of a number: ignored, as a printer does
            continue;
        }
        double v = 0;
        if (!pe_number(sevenBit, v)) return;
        pair[have++] = v / fraction;
        if (have < 2) continue;
        have = 0;
        PointF target;
        if (absolute) {
            target = user_to_plu(pair[0], pair[1]);
        } else {
            const PointF d = user_delta_to_plu(pair[0], pair[1]);
            target = {m_position.x + d.x, m_position.y + d.y};
        }
        if (up)
            move_to(target);
        else
            line_to(target);
        up = absolute = false;
    }
    if (have == 1) fail("PE coordinate pair cut short at the end of the job", m_pos);
}

bool JobInterpreter::pe_number(bool sevenBit, double& value) {
    const std::size_t start = m_pos;
    std::uint64_t v = 0;
    int shift = 0;
    const int bits = sevenBit ? 5 : 6;
    while (m_pos < m_job.size()) {
        const unsigned char c = static_cast<unsigned char>(m_job[m_pos]);
        if (c == ';' || c == kEsc) break;
        ++m_pos;
        int digit = -1;
        bool last = false;
        if (sevenBit) {
            if (c >= 63 && c <= 94) digit = c - 63;
            if (c >= 95 && c <= 126) digit = c - 95, last = true;
        } else {
            if (c >= 63 && c <= 126) digit = c - 63;
            if (c >= 191 && c <= 254) digit = c - 191, last = true;
        }
        if (digit < 0) continue;  // bytes inside a number that are no digits are ignored
        if (shift > 54) {
            fail("PE number longer than 54 bits", start);
            return false;
        }
        v |= static_cast<std::uint64_t>(digit) << shift;
        shift += bits;
        if (last) {
            const double magnitude = static_cast<double>(v >> 1);
            value = (v & 1) ? -magnitude : magnitude;
            return true;
        }
    }
    fail("PE number cut short", start);
    return false;
}

// ---- graphics state --------------------------------------------------------------------------

Rgb JobInterpreter::default_pen_colour(int pen) const {
    if (pen >= 0 && static_cast<std::size_t>(pen) < m_options.undefinedPens.size())
        return m_options.undefinedPens[static_cast<std::size_t>(pen)];
    static const Rgb kDefaults[8] = {{255, 255, 255}, {0, 0, 0},   {255, 0, 0},   {0, 255, 0},
                                     {255, 255, 0},   {0, 0, 255}, {255, 0, 255}, {0, 255, 255}};
    return pen >= 0 && pen < 8 ? kDefaults[pen] : Rgb{0, 0, 0};
}

void JobInterpreter::default_pens() {
    for (std::size_t i = 0; i < m_pens.size(); ++i)
        m_pens[i].colour = default_pen_colour(static_cast<int>(i));
}

void JobInterpreter::reset_hpgl() {
    m_pens.assign(256, Pen{});
    default_pens();
    m_pen = 1;
    std::fill(std::begin(m_crBlack), std::end(m_crBlack), 0.0);
    std::fill(std::begin(m_crWhite), std::end(m_crWhite), 255.0);
    m_widthRelative = false;
    m_style = StrokeStyle{};
    m_rotation = 0;
    const PageFrame& f = m_result.page;
    m_p1 = {0, 0};
    m_p2 = {std::max(f.length, f.width), std::min(f.length, f.width)};
    m_scaled = false;
    m_fillType = 1;
    m_fillOption1 = m_fillOption2 = 0;
    m_anchor = {0, 0};
    m_transparent = true;
    m_rop = 252;
    m_relative = false;
    m_penDown = false;
    m_position = {0, 0};
    m_labelTerminator = '\x03';
    m_lineType = m_previousLineType = LineType{};
    m_lineResidue = 0;
    m_path.clear();
    m_polygonMode = false;
    m_polygon.clear();
    m_polygonPoints = 0;
}

void JobInterpreter::set_page(double length, double width) {
    if (m_pageFixed || m_result.page.fromJob) {
        if (m_result.page.length != length || m_result.page.width != width)
            warn(m_result.warnings.badParameters, "PS (a second page size, ignored)");
        return;
    }
    if (m_drawn) {
        warn(m_result.warnings.badParameters, "PS (after drawing, ignored)");
        return;
    }
    m_result.page = {length, width, true};
    m_p1 = {0, 0};
    m_p2 = {std::max(length, width), std::min(length, width)};
}

PointF JobInterpreter::user_to_plu(double ux, double uy) const {
    if (!m_scaled) return {ux, uy};
    if (m_scaleType == 2)
        return {m_p1.x + (ux - m_sc[0]) * m_sc[1], m_p1.y + (uy - m_sc[2]) * m_sc[3]};
    double sx = (m_p2.x - m_p1.x) / (m_sc[1] - m_sc[0]);
    double sy = (m_p2.y - m_p1.y) / (m_sc[3] - m_sc[2]);
    if (m_scaleType == 1) {  // isotropic: the smaller scale both ways, centred
        const double s = std::min(std::fabs(sx), std::fabs(sy));
        const double ox = ((m_p2.x - m_p1.x) - s * (m_sc[1] - m_sc[0]) * (sx < 0 ? -1 : 1)) / 2;
        const double oy = ((m_p2.y - m_p1.y) - s * (m_sc[3] - m_sc[2]) * (sy < 0 ? -1 : 1)) / 2;
        sx = sx < 0 ? -s : s;
        sy = sy < 0 ? -s : s;
        return {m_p1.x + ox + (ux - m_sc[0]) * sx, m_p1.y + oy + (uy - m_sc[2]) * sy};
    }
    return {m_p1.x + (ux - m_sc[0]) * sx, m_p1.y + (uy - m_sc[2]) * sy};
}

PointF JobInterpreter::user_delta_to_plu(double dx, double dy) const {
    const PointF o = user_to_plu(0, 0);
    const PointF d = user_to_plu(dx, dy);
    return {d.x - o.x, d.y - o.y};
}

PointF JobInterpreter::plu_to_printer(PointF p) const {
    const PageFrame& f = m_result.page;
    const double xe = std::max(f.length, f.width), ye = std::min(f.length, f.width);
    switch (m_rotation) {
        case 90:
            return {xe - p.y, p.x};
        case 180:
            return {xe - p.x, ye - p.y};
        case 270:
            return {p.y, ye - p.x};
        default:
            return p;
    }
}

PointF JobInterpreter::printer_to_pixel(PointF p) const {
    const PageFrame& f = m_result.page;
    // HP-GL/2's X axis runs along the longer side: undo the quarter turn of media longer than
    // wide, so the page shows with its width across.
    const PointF media = f.rotated() ? PointF{p.y, f.length - p.x} : p;
    const double k = pixels_per_plu();
    return {media.x * k, (f.length - media.y) * k};
}

bool JobInterpreter::page_open() {
    if (!m_pageDone) return true;
    warn(m_result.warnings.afterPageEnd, "drawing after the page ended");
    return false;
}

// ---- drawing ---------------------------------------------------------------------------------

void JobInterpreter::move_to(PointF plu) {
    m_position = plu;
    if (m_polygonMode) {
        if (m_polygonPoints < kMaxPolygonPoints) {
            m_polygon.push_back({plu_to_pixel(plu)});
            ++m_polygonPoints;
        }
        m_newSubpolygon = false;
        return;
    }
    flush_path();
}

void JobInterpreter::line_to(PointF plu) {
    const PointF from = m_position;
    m_position = plu;
    if (m_polygonMode) {
        if (m_polygonPoints >= kMaxPolygonPoints) {
            warn(m_result.warnings.badParameters, "PM (polygon buffer full)");
            return;
        }
        if (m_newSubpolygon || m_polygon.empty()) {
            m_polygon.push_back({plu_to_pixel(from)});
            m_newSubpolygon = false;
        }
        m_polygon.back().push_back(plu_to_pixel(plu));
        ++m_polygonPoints;
        return;
    }
    if (m_path.empty()) m_path.push_back(plu_to_pixel(from));
    m_path.push_back(plu_to_pixel(plu));
    if (m_path.size() >= kMaxPathPoints) {
        flush_path();
        m_path.push_back(plu_to_pixel(plu));
    }
}

Paint JobInterpreter::pen_paint(bool forFill) const {
    Paint paint;
    paint.colour = m_pens[static_cast<std::size_t>(m_pen)].colour;
    paint.rop = m_rop;
    if (!forFill) return paint;
    if (m_fillType == 10) {
        const double level = m_fillOption1 / 100.0;
        auto shade = [&](std::uint8_t c) { return Channel(255.0 + (c - 255.0) * level); };
        paint.colour = {shade(paint.colour.r), shade(paint.colour.g), shade(paint.colour.b)};
    } else if (m_fillType == 3 || m_fillType == 4) {
        double spacing = m_fillOption1;
        if (spacing > 0 && m_scaled) spacing = std::fabs(user_delta_to_plu(spacing, 0).x);
        if (!(spacing > 0)) spacing = std::hypot(m_p2.x - m_p1.x, m_p2.y - m_p1.y) / 100.0;
        const double k = pixels_per_plu();
        const double width =
            std::max(1.0, m_pens[static_cast<std::size_t>(m_pen)].widthMm / 25.4 * m_options.dpi);
        const PointF origin = plu_to_pixel(m_anchor);
        for (int i = 0; i < (m_fillType == 4 ? 2 : 1); ++i) {
            const double a = (m_fillOption2 + 90.0 * i) * kPi / 180.0;
            const PointF tip = plu_to_pixel({m_anchor.x + std::cos(a), m_anchor.y + std::sin(a)});
            PointF dir{tip.x - origin.x, tip.y - origin.y};
            const double l = std::hypot(dir.x, dir.y);
            if (!(l > 0)) continue;
            HatchLines h;
            h.origin = origin;
            h.normal = {-dir.y / l, dir.x / l};
            h.spacing = std::max(spacing * k, 1.0);
            h.width = std::min(width, h.spacing);
            paint.hatch.push_back(h);
        }
    }
    return paint;
}

void JobInterpreter::flush_path() {
    if (m_path.empty()) return;
    std::vector<PointF> path;
    path.swap(m_path);
    if (!page_open()) return;
    m_drawn = true;
    if (!m_band) return;
    StrokeStyle s = m_style;
    s.width = m_pens[static_cast<std::size_t>(m_pen)].widthMm / 25.4 * m_options.dpi;
    if (!m_lineType.solid) {
        DashedPath dashed;
        if (DashPath(path, m_lineType.type, pattern_length_pixels(), m_lineResidue, kMaxDashPieces,
                     dashed)) {
            if (m_lineType.type > 0) m_lineResidue = dashed.phase;
            std::vector<Ring> rings;
            for (const auto& piece : dashed.pieces) {
                std::vector<Ring> r = StrokePath(piece, false, s);
                rings.insert(rings.end(), r.begin(), r.end());
            }
            m_band->fill(rings, FillRule::NonZero, pen_paint(false));
            return;
        }
        warn(m_result.warnings.badParameters, "LT (pattern too fine, drawn solid)");
    }
    const std::vector<Ring> rings = StrokePath(path, false, s);
    m_band->fill(rings, FillRule::NonZero, pen_paint(false));
}

double JobInterpreter::pattern_length_pixels() const {
    const double plu = m_lineType.absolute ? m_lineType.length * 1016.0 / 25.4
                                           : m_lineType.length / 100.0 *
                                                 std::hypot(m_p2.x - m_p1.x, m_p2.y - m_p1.y);
    return plu * pixels_per_plu();
}

void JobInterpreter::fill_polygon(FillRule rule) {
    if (m_polygon.empty() || !page_open()) return;
    m_drawn = true;
    if (!m_band) return;
    m_band->fill(m_polygon, rule, pen_paint(true));
}

void JobInterpreter::edge_polygon() {
    if (m_polygon.empty() || !page_open()) return;
    m_drawn = true;
    if (!m_band) return;
    StrokeStyle s = m_style;
    s.width = m_pens[static_cast<std::size_t>(m_pen)].widthMm / 25.4 * m_options.dpi;
    for (const Ring& ring : m_polygon)
        m_band->fill(StrokePath(ring, true, s), FillRule::NonZero, pen_paint(false));
}

}  // namespace jobrender
