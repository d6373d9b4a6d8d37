#include "tools/xomplot/DrawingParser.h"

#include <charconv>
#include <cmath>
#include <map>
#include <set>

#include "hdi/HT_Color_Index.h"
#include "platform/FileText.h"
#include "tools/xomplot/PngImage.h"

namespace xomplot {

namespace {
constexpr size_t kMaxPointsPerAction = 1000000;
constexpr size_t kMaxActions = 1000000;
constexpr size_t kMaxFileBytes = 256u << 20;
constexpr size_t kMaxNameLength = 256;
constexpr double kMaxCoordinate = 1e9;
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

struct Context {
    const std::string& source;
    int line;
    std::string& error;
    bool fail(const std::string& reason) {
        error = source + ":" + std::to_string(line) + ": " + reason;
        return false;
    }
};

std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

std::vector<std::string> SplitBlanks(const std::string& s) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        size_t j = i;
        while (j < s.size() && s[j] != ' ' && s[j] != '\t') ++j;
        if (j > i) out.push_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

template <class T>
bool Number(const std::string& t, T& out) {
    const char* end = t.data() + t.size();
    auto [ptr, ec] = std::from_chars(t.data(), end, out);
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(out)) return false;
    }
    return ec == std::errc() && ptr == end && !t.empty();
}

bool IntIn(const std::string& t, int lo, int hi, int& out) {
    return Number(t, out) && out >= lo && out <= hi;
}

bool Pair(const std::string& t, std::string& a, std::string& b) {
    const size_t comma = t.find(',');
    if (comma == std::string::npos || t.find(',', comma + 1) != std::string::npos) return false;
    a = t.substr(0, comma);
    b = t.substr(comma + 1);
    return true;
}

const std::map<std::string, int> kCaps = {{"butt", HT_CAP_BUTT},
                                          {"square", HT_CAP_SQUARE},
                                          {"round", HT_CAP_ROUND},
                                          {"triangle", HT_CAP_TRIANGLE}};
const std::map<std::string, int> kJoins = {{"miter", HT_JOIN_MITER},
                                           {"bevel", HT_JOIN_BEVEL},
                                           {"round", HT_JOIN_ROUND},
                                           {"diamond", HT_JOIN_DIAMOND}};
const std::map<std::string, ActionKind> kKinds = {
    {"polyline", ActionKind::DciPolyline},   {"dcpolyline", ActionKind::DcPolyline},
    {"polygon", ActionKind::DciPolygon},     {"dcpolygon", ActionKind::DcPolygon},
    {"tristrip", ActionKind::TriangleStrip}, {"dot", ActionKind::Dot},
    {"ellipse", ActionKind::Ellipse}};

bool ParseAttribute(Context& c, const std::string& kind, const std::string& attr, DrawingAction& a,
                    std::set<std::string>& seen) {
    const size_t eq = attr.find('=');
    if (eq == std::string::npos || eq == 0)
        return c.fail("expected attribute 'name=value', got '" + attr + "'");
    const std::string key = attr.substr(0, eq), value = attr.substr(eq + 1);
    if (!seen.insert(key).second) return c.fail("attribute '" + key + "' given twice");
    auto bad = [&](const std::string& what) {
        return c.fail("bad " + key + " '" + value + "': " + what);
    };
    if (key == "weight") {
        if (!IntIn(value, 0, 10000, a.line.weight)) return bad("a whole number of dots, 0-10000");
    } else if (key == "cap" || key == "startcap" || key == "endcap") {
        auto it = kCaps.find(value);
        if (it == kCaps.end()) return bad("one of butt, square, round, triangle");
        if (key != "endcap") a.line.start_cap = it->second;
        if (key != "startcap") a.line.end_cap = it->second;
    } else if (key == "join") {
        auto it = kJoins.find(value);
        if (it == kJoins.end()) return bad("one of miter, bevel, round, diamond");
        a.line.join = it->second;
    } else if (key == "pattern") {
        if (!IntIn(value, 0, 99, a.line.pattern))
            return bad("a line pattern number, 0-99 (0 solid)");
    } else if (key == "scale") {
        double v;
        if (!Number(value, v) || v <= 0 || v > 1000)
            return bad("a pattern scale above 0, at most 1000");
        a.line.pattern_scale = static_cast<float>(v);
    } else if (key == "color") {
        if (!IntIn(value, 0, 255, a.color.index)) return bad("a colour index, 0-255");
    } else if (key == "rgb") {
        unsigned v = 0;
        const char* end = value.data() + value.size();
        auto [ptr, ec] = std::from_chars(value.data(), end, v, 16);
        if (value.size() != 6 || ec != std::errc() || ptr != end)
            return bad("six hex digits RRGGBB");
        a.color.rgb = {static_cast<std::uint8_t>(v & 0xFF),
                       static_cast<std::uint8_t>((v >> 8) & 0xFF),
                       static_cast<std::uint8_t>((v >> 16) & 0xFF), 0};
        a.has_rgb = true;
    } else if (key == "face") {
        if (value == "solid")
            a.face.pattern = HT_FACE_PATTERN_SOLID;
        else if (value == "hatch")
            a.face.pattern = 1;
        else
            return bad("solid or hatch");
    } else if (key == "clip") {
        std::vector<int> v;
        size_t pos = 0;
        while (pos <= value.size() && v.size() < 5) {
            size_t comma = value.find(',', pos);
            if (comma == std::string::npos) comma = value.size();
            int n;
            if (!Number(value.substr(pos, comma - pos), n)) return bad("x0,y0,x1,y1 in whole dots");
            v.push_back(n);
            pos = comma + 1;
        }
        if (v.size() != 4 || v[0] >= v[2] || v[1] >= v[3])
            return bad("x0,y0,x1,y1 with x0 < x1 and y0 < y1");
        const float x0 = float(v[0]), y0 = float(v[1]), x1 = float(v[2]), y1 = float(v[3]);
        a.clip.contours = {{{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}}};
        a.has_clip = true;
    } else if ((key == "start" || key == "end") && kind == "ellipse") {
        double deg;
        if (!Number(value, deg) || std::fabs(deg) > 3600) return bad("an angle in degrees");
        (key == "start" ? a.start : a.end) = static_cast<float>(deg * kDegToRad);
        a.arc = true;
    } else {
        return c.fail("unknown attribute '" + key + "' for " + kind);
    }
    return true;
}

bool ParsePoints(Context& c, const std::string& text, bool integer, DrawingAction& a) {
    for (const std::string& token : SplitBlanks(text)) {
        if (a.dci.size() + a.dc.size() >= kMaxPointsPerAction)
            return c.fail("more than " + std::to_string(kMaxPointsPerAction) + " points");
        std::string xs, ys;
        if (!Pair(token, xs, ys)) return c.fail("expected a point 'x,y', got '" + token + "'");
        if (integer) {
            int x, y;
            if (!Number(xs, x) || !Number(ys, y) || std::abs(double(x)) > kMaxCoordinate ||
                std::abs(double(y)) > kMaxCoordinate)
                return c.fail("bad point '" + token + "': whole dots within +-1e9");
            a.dci.push_back({x, y, 0});
        } else {
            double x, y;
            if (!Number(xs, x) || !Number(ys, y) || std::fabs(x) > kMaxCoordinate ||
                std::fabs(y) > kMaxCoordinate)
                return c.fail("bad point '" + token + "': numbers within +-1e9");
            a.dc.push_back({static_cast<float>(x), static_cast<float>(y), 0.0f});
        }
    }
    return true;
}

bool CheckCount(Context& c, const std::string& kind, const DrawingAction& a) {
    const size_t n = a.dci.size() + a.dc.size();
    switch (a.kind) {
        case ActionKind::DciPolyline:
        case ActionKind::DcPolyline:
            if (n < 1) return c.fail(kind + " needs at least 1 point");
            break;
        case ActionKind::DciPolygon:
        case ActionKind::DcPolygon:
        case ActionKind::TriangleStrip:
            if (n < 3) return c.fail(kind + " needs at least 3 points");
            break;
        case ActionKind::Dot:
            if (n != 1) return c.fail("dot takes exactly 1 point");
            break;
        case ActionKind::Ellipse:
            if (n != 2) return c.fail("ellipse takes 2 points: centre and radii");
            if (a.dci[1].x < 0 || a.dci[1].y < 0 || (a.dci[1].x == 0 && a.dci[1].y == 0))
                return c.fail("ellipse radii must not be negative, and not both 0");
            break;
        case ActionKind::Image:
            break;  // checked by ParseImage
    }
    return true;
}

constexpr int kMaxImageDots = 1000000;
const std::map<std::string, ImageKind> kImageKinds = {{"rgb32", ImageKind::Rgb32},
                                                      {"index8", ImageKind::Index8},
                                                      {"bitonal", ImageKind::Bitonal},
                                                      {"general", ImageKind::General}};

// image kind=K at=X,Y size=W,H [threshold=N] : PATH
bool ParseImage(Context& c, const std::vector<std::string>& words, const std::string& line,
                size_t colon, Drawing& out) {
    if (colon == std::string::npos) return c.fail("expected ':' before the image's file");
    if (out.actions.size() >= kMaxActions) return c.fail("too many drawing actions");
    DrawingAction a;
    a.kind = ActionKind::Image;
    a.source_line = c.line;
    DrawingImage& im = a.image;
    std::set<std::string> seen;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& attr = words[i];
        const size_t eq = attr.find('=');
        if (eq == std::string::npos || eq == 0)
            return c.fail("expected attribute 'name=value', got '" + attr + "'");
        const std::string key = attr.substr(0, eq), value = attr.substr(eq + 1);
        if (!seen.insert(key).second) return c.fail("attribute '" + key + "' given twice");
        auto bad = [&](const std::string& what) {
            std::string message = "bad ";
            message.append(key).append(" '").append(value).append("': ").append(what);
            return c.fail(message);
        };
        std::string a1, a2;
        if (key == "kind") {
            auto it = kImageKinds.find(value);
            if (it == kImageKinds.end()) return bad("one of rgb32, index8, bitonal, general");
            im.kind = it->second;
        } else if (key == "at") {
            if (!Pair(value, a1, a2) || !Number(a1, im.x) || !Number(a2, im.y) ||
                std::abs(double(im.x)) > kMaxCoordinate || std::abs(double(im.y)) > kMaxCoordinate)
                return bad("the lower-left corner 'x,y' in whole dots within +-1e9");
        } else if (key == "size") {
            if (!Pair(value, a1, a2) || !IntIn(a1, 1, kMaxImageDots, im.width) ||
                !IntIn(a2, 1, kMaxImageDots, im.height))
                return bad("'width,height' in whole dots, 1-1000000 each");
        } else if (key == "threshold") {
            if (!IntIn(value, 0, 256, im.threshold)) return bad("a luminance 0-256");
        } else if (key == "color" || key == "rgb" || key == "clip") {
            std::set<std::string> once;  // `seen` already holds the key
            if (!ParseAttribute(c, "image", attr, a, once)) return false;
        } else {
            return c.fail("unknown attribute '" + key + "' for image");
        }
    }
    for (const char* required : {"kind", "at", "size"})
        if (!seen.count(required)) return c.fail(std::string("image needs ") + required + "=");
    im.path = Trim(line.substr(colon + 1));
    if (im.path.empty()) return c.fail("image needs the path of a PNG file after ':'");
    out.actions.push_back(std::move(a));
    return true;
}

bool ParseLine(Context& c, const std::string& raw, Drawing& out) {
    const std::string line = Trim(raw);
    if (line.compare(0, 7, "drawing") == 0 &&
        (line.size() == 7 || line[7] == ' ' || line[7] == '\t')) {
        const std::string name = Trim(line.substr(7));
        if (name.empty()) return c.fail("the drawing header needs a name");
        if (name.size() > kMaxNameLength) return c.fail("drawing name longer than 256 characters");
        if (!out.name.empty()) return c.fail("a second drawing header");
        if (!out.actions.empty())
            return c.fail("the drawing header must come before the first action");
        out.name = name;
        return true;
    }
    const size_t colon = line.find(':');
    std::vector<std::string> words = SplitBlanks(line.substr(0, colon));
    if (words.empty()) return c.fail("missing drawing action before ':'");
    const std::string& kind = words[0];
    if (kind == "image") return ParseImage(c, words, line, colon, out);
    auto k = kKinds.find(kind);
    if (k == kKinds.end()) return c.fail("unknown drawing action '" + kind + "'");
    if (colon == std::string::npos) return c.fail("expected ':' before the points of " + kind);
    if (out.actions.size() >= kMaxActions) return c.fail("too many drawing actions");

    DrawingAction a;
    a.kind = k->second;
    a.source_line = c.line;
    std::set<std::string> seen;
    for (size_t i = 1; i < words.size(); ++i)
        if (!ParseAttribute(c, kind, words[i], a, seen)) return false;
    const bool integer = a.kind != ActionKind::DcPolyline && a.kind != ActionKind::DcPolygon;
    if (!ParsePoints(c, line.substr(colon + 1), integer, a) || !CheckCount(c, kind, a))
        return false;
    out.actions.push_back(std::move(a));
    return true;
}
}  // namespace

HT_Rendition DrawingAction::rendition() const {
    HT_Rendition r;
    r.clip = has_clip ? &clip : nullptr;
    r.line = line;
    r.face = face;
    r.color = color;
    // A CAD host keeps the 24-bit colour of every rendition in step with its colour index; an
    // explicit colour stands on its own.
    if (!has_rgb) r.color.rgb = HT_Color_Index_To_RGB(color.index);
    return r;
}

bool ParseDrawing(const std::string& text, const std::string& source, Drawing& out,
                  std::string& error) {
    out = Drawing{};
    error.clear();
    Context c{source, 0, error};
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++c.line;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        bool ok = true;
        for (unsigned char ch : line)
            if ((ch < 0x20 && ch != '\t') || ch == 0x7F) ok = c.fail("control character in line");
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        if (ok && Trim(line).empty()) continue;
        if (!ok || !ParseLine(c, line, out)) {
            out = Drawing{};
            return false;
        }
    }
    return true;
}

bool LoadDrawing(const std::string& path, Drawing& out, std::string& error) {
    std::string text;
    // A drawing that cannot be read whole is refused: never a shorter plot.
    if (!xomplatform::ReadFileOrError(path, kMaxFileBytes, text, error)) return false;
    if (!ParseDrawing(text, path, out, error)) return false;
    if (!LoadDrawingImages(out, path, error)) {
        out = Drawing{};
        return false;
    }
    return true;
}

bool LoadDrawingImages(Drawing& drawing, const std::string& drawing_path, std::string& error) {
    const size_t slash = drawing_path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : drawing_path.substr(0, slash);
    for (DrawingAction& a : drawing.actions) {
        if (a.kind != ActionKind::Image) continue;
        DrawingImage& im = a.image;
        im.resolved_path = !im.path.empty() && im.path[0] == '/' ? im.path : folder + "/" + im.path;
        auto png = std::make_shared<RgbaImage>();
        std::string why;
        if (!ReadPng(im.resolved_path, *png, why)) {
            error = drawing_path;
            error.append(":").append(std::to_string(a.source_line)).append(": ").append(why);
            return false;
        }
        im.png = std::move(png);
    }
    return true;
}

}  // namespace xomplot
