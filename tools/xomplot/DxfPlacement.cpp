#include "tools/xomplot/DxfPlacement.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "hdi/HT_Rendition.h"

namespace xomplot::dxf {

namespace {

constexpr double kMaxExtent = 1e12;
constexpr std::size_t kMaxPointsPerAction = 1000000;

bool Number(std::string_view t, double& v) {
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    return ec == std::errc() && p == t.data() + t.size() && !t.empty() && std::isfinite(v);
}

struct Box {
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    bool empty() const { return x0 > x1; }
    void add(Point p, double pad = 0) {
        x0 = std::min(x0, p.x - pad);
        y0 = std::min(y0, p.y - pad);
        x1 = std::max(x1, p.x + pad);
        y1 = std::max(y1, p.y + pad);
    }
};

Box Extents(const Flattened& f) {
    Box b;
    for (const auto& p : f.primitives)
        for (const auto& c : p.contours)
            for (const Point& q : c) b.add(q, p.width / 2);
    return b;
}

// The host's dash pattern closest to a line type's dashes, and the scale that gives it the same
// period: the host draws its own dash patterns.
void HostPattern(const std::vector<double>& dashes, double dotsPerUnit, HT_Line_Rendition& line) {
    double period = 0, longest = 0;
    int dots = 0, drawn = 0;
    for (double d : dashes) {
        period += std::fabs(d);
        if (d > 0) {
            ++drawn;
            longest = std::max(longest, d);
        }
        if (d == 0) ++dots;
    }
    if (!(period > 0) || drawn + dots == 0) return;
    const int marks = drawn + dots;
    int pattern = 1;
    if (drawn == 0)
        pattern = 2;  // dots only
    else if (marks == 1)
        pattern = longest >= 0.7 * period ? 4 : 1;
    else if (marks == 2)
        pattern = dots > 0 ? 3 : 6;
    else
        pattern = 5;
    float hostPeriod = 0;
    for (float d : HT_Line_Pattern_Dashes(pattern)) hostPeriod += d;
    const double scale = period * dotsPerUnit / hostPeriod;
    line.pattern = pattern;
    line.pattern_scale = static_cast<float>(std::clamp(scale, 0.01, 1000.0));
}

// One polygon for a set of outlines: each joins the first by a bridge that is drawn both ways,
// so that an even-odd fill leaves holes and islands as they are.
std::vector<HT_DCI_Point> Bridged(const std::vector<std::vector<HT_DCI_Point>>& contours) {
    std::vector<HT_DCI_Point> out;
    for (const auto& c : contours) {
        if (c.size() < 3) continue;
        const HT_DCI_Point anchor = out.empty() ? c[0] : out.front();
        out.insert(out.end(), c.begin(), c.end());
        out.push_back(c[0]);
        if (out.size() > c.size() + 1) out.push_back(anchor);
    }
    return out;
}

}  // namespace

bool ParseScale(const std::string& text, double& denominator, std::string& error) {
    const std::size_t colon = text.find(':');
    double a = 0, b = 0;
    if (colon == std::string::npos || !Number(std::string_view(text).substr(0, colon), a) ||
        !Number(std::string_view(text).substr(colon + 1), b) || !(a > 0) || !(b > 0) ||
        b / a > 1e9 || a / b > 1e9) {
        error = "bad scale '" + text + "': expected 1:N, for example 1:100";
        return false;
    }
    denominator = b / a;
    return true;
}

bool ParseWindow(const std::string& text, Placement& placement, std::string& error) {
    double v[4];
    std::size_t pos = 0;
    int n = 0;
    for (; n < 4 && pos <= text.size(); ++n) {
        std::size_t comma = text.find(',', pos);
        if (comma == std::string::npos) comma = text.size();
        if (!Number(std::string_view(text).substr(pos, comma - pos), v[n]) ||
            std::fabs(v[n]) > kMaxExtent)
            break;
        pos = comma + 1;
    }
    if (n != 4 || pos <= text.size() || !(v[2] > v[0]) || !(v[3] > v[1])) {
        error = "bad window '" + text + "': expected x0,y0,x1,y1 with x0 < x1 and y0 < y1";
        return false;
    }
    placement.has_window = true;
    std::copy(v, v + 4, placement.window);
    return true;
}

bool ParseRotate(const std::string& text, Rotate& rotate, std::string& error) {
    if (text == "auto")
        rotate = Rotate::Auto;
    else if (text == "0")
        rotate = Rotate::None;
    else if (text == "90")
        rotate = Rotate::Quarter;
    else {
        error = "bad rotation '" + text + "': auto, 0 or 90";
        return false;
    }
    return true;
}

double MillimetresPerUnit(int insunits) {
    switch (insunits) {
        case 1:
            return 25.4;  // inches
        case 2:
            return 304.8;  // feet
        case 3:
            return 1609344.0;  // miles
        case 5:
            return 10.0;  // centimetres
        case 6:
            return 1000.0;  // metres
        case 7:
            return 1e6;  // kilometres
        case 8:
            return 25.4e-6;  // microinches
        case 9:
            return 0.0254;  // mils
        case 10:
            return 914.4;  // yards
        case 13:
            return 1e-3;  // microns
        case 14:
            return 100.0;  // decimetres
        default:
            return 1.0;  // millimetres, and unitless drawings
    }
}

bool PlaceDrawing(const Document& doc, const Placement& pl, const PrintableArea& area,
                  const TextOutliner& text, Drawing& out, std::vector<std::string>& warnings,
                  std::string& error) {
    out = Drawing{};
    if (!(area.width > 0) || !(area.height > 0) || !(area.dpi > 0)) {
        error = "the media has no printable area";
        return false;
    }
    const FlattenLimits limits;
    const double dotsPerMm = area.dpi / 25.4;
    const double unitMm = MillimetresPerUnit(doc.insunits);
    Flattened flat;
    Box box;
    // The scale decides the curves' tolerance (half a dot); fitting the whole model needs its
    // extents first, measured on a coarse pass.
    double known = 0;  // dots per unit when known before flattening
    if (pl.scale_denominator > 0) known = unitMm / pl.scale_denominator * dotsPerMm;
    if (known == 0 && !pl.has_window) {
        if (!Flatten(doc, 1e300, text, limits, flat, error)) return false;
        box = Extents(flat);
        if (box.empty()) {
            error = "the drawing's model space holds nothing to plot";
            return false;
        }
    }
    if (pl.has_window) box = {pl.window[0], pl.window[1], pl.window[2], pl.window[3]};
    if (!box.empty() && (std::fabs(box.x0) > kMaxExtent || std::fabs(box.x1) > kMaxExtent ||
                         std::fabs(box.y0) > kMaxExtent || std::fabs(box.y1) > kMaxExtent)) {
        error = "the drawing's extents are absurd (beyond 1e12 drawing units)";
        return false;
    }
    const double w = std::max(box.x1 - box.x0, 1e-9), h = std::max(box.y1 - box.y0, 1e-9);
    bool turn = pl.rotate == Rotate::Quarter;
    double dpu = known;
    if (known == 0) {
        const double s0 = std::min(area.width / w, area.height / h);
        const double s90 = std::min(area.width / h, area.height / w);
        if (pl.rotate == Rotate::Auto) turn = s90 > s0 * 1.0001;
        dpu = turn ? s90 : s0;
    } else if (pl.rotate == Rotate::Auto && !box.empty()) {
        turn = (w > h) != (area.width > area.height) && std::fabs(w - h) > 1e-9 * (w + h);
    }
    if (!Flatten(doc, 0.5 / dpu, text, limits, flat, error)) return false;
    if (box.empty()) box = Extents(flat);
    if (box.empty()) {
        error = "the drawing's model space holds nothing to plot";
        return false;
    }
    if (known != 0 && pl.rotate == Rotate::Auto && !pl.has_window) {
        const double bw = box.x1 - box.x0, bh = box.y1 - box.y0;
        turn = (bw > bh) != (area.width > area.height) && std::fabs(bw - bh) > 1e-9 * (bw + bh);
    }
    warnings.insert(warnings.end(), flat.warnings.begin(), flat.warnings.end());
    const double cx = (box.x0 + box.x1) / 2, cy = (box.y0 + box.y1) / 2;
    auto toDots = [&](Point p) {
        double x = (p.x - cx) * dpu, y = (p.y - cy) * dpu;
        if (turn) {
            const double t = x;
            x = -y;
            y = t;
        }
        x = std::clamp(x + area.width / 2, -1e9, 1e9);
        y = std::clamp(y + area.height / 2, -1e9, 1e9);
        return HT_DCI_Point{static_cast<std::int32_t>(std::lround(x)),
                            static_cast<std::int32_t>(std::lround(y)), 0};
    };
    // A window clips the drawing at its edges, where the sheet has room beyond them.
    HT_Contour_Set_Data clip;
    if (pl.has_window) {
        const HT_DCI_Point a = toDots({box.x0, box.y0}), b = toDots({box.x1, box.y1});
        const float x0 = static_cast<float>(std::min(a.x, b.x));
        const float x1 = static_cast<float>(std::max(a.x, b.x));
        const float y0 = static_cast<float>(std::min(a.y, b.y));
        const float y1 = static_cast<float>(std::max(a.y, b.y));
        clip.contours = {{{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}}};
    }
    out.actions.reserve(flat.primitives.size());
    for (const Primitive& p : flat.primitives) {
        DrawingAction a;
        a.color.index = p.style.aci;
        if (p.style.rgb >= 0) {
            a.has_rgb = true;
            a.color.rgb = {static_cast<std::uint8_t>(p.style.rgb & 0xFF),
                           static_cast<std::uint8_t>((p.style.rgb >> 8) & 0xFF),
                           static_cast<std::uint8_t>((p.style.rgb >> 16) & 0xFF), 0};
        }
        a.line.weight = std::max(1, static_cast<int>(std::lround(p.style.weight_mm * dotsPerMm)));
        if (p.width > 0) {
            a.line.weight = std::max(a.line.weight, static_cast<int>(std::lround(p.width * dpu)));
            a.line.start_cap = a.line.end_cap = HT_CAP_BUTT;
        }
        a.line.weight = std::min(a.line.weight, 10000);
        if (!p.style.dashes.empty()) HostPattern(p.style.dashes, dpu, a.line);
        if (pl.has_window) {
            a.has_clip = true;
            a.clip = clip;
        }
        if (p.kind == Primitive::Fill) {
            std::vector<std::vector<HT_DCI_Point>> contours;
            for (const auto& c : p.contours) {
                contours.emplace_back();
                for (const Point& q : c) {
                    const HT_DCI_Point d = toDots(q);
                    if (contours.back().empty() || contours.back().back().x != d.x ||
                        contours.back().back().y != d.y)
                        contours.back().push_back(d);
                }
            }
            a.kind = ActionKind::DciPolygon;
            a.dci = Bridged(contours);
            if (a.dci.size() < 3 || a.dci.size() > kMaxPointsPerAction) continue;
            out.actions.push_back(std::move(a));
            continue;
        }
        if (p.kind == Primitive::Dot) {
            a.kind = ActionKind::Dot;
            a.dci = {toDots(p.contours[0][0])};
            out.actions.push_back(std::move(a));
            continue;
        }
        a.kind = ActionKind::DciPolyline;
        std::vector<HT_DCI_Point> pts;
        for (const Point& q : p.contours[0]) {
            const HT_DCI_Point d = toDots(q);
            if (pts.empty() || pts.back().x != d.x || pts.back().y != d.y) pts.push_back(d);
        }
        // A long path goes in parts that share their ends.
        for (std::size_t at = 0; at < pts.size();) {
            const std::size_t end = std::min(pts.size(), at + kMaxPointsPerAction);
            DrawingAction part = a;
            part.dci.assign(pts.begin() + static_cast<std::ptrdiff_t>(at),
                            pts.begin() + static_cast<std::ptrdiff_t>(end));
            out.actions.push_back(std::move(part));
            if (end == pts.size()) break;
            at = end - 1;
        }
    }
    return true;
}

}  // namespace xomplot::dxf
