#include "tools/xomplot/DxfFlatten.h"

#include <algorithm>
#include <cmath>

#include "tools/xomplot/DxfCurves.h"
#include "tools/xomplot/DxfHatch.h"
#include "tools/xomplot/DxfTaper.h"
#include "tools/xomplot/DxfTextLayout.h"

namespace xomplot::dxf {

namespace {

constexpr double kPi = 3.14159265358979323846;

// x' = a x + c y + e, y' = b x + d y + f
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    Point operator()(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    Affine operator*(const Affine& o) const {
        return {a * o.a + c * o.b, b * o.a + d * o.b,     a * o.c + c * o.d,
                b * o.c + d * o.d, a * o.e + c * o.f + e, b * o.e + d * o.f + f};
    }
    static Affine Move(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Affine Scale(double x, double y) { return {x, 0, 0, y, 0, 0}; }
    static Affine Turn(double rad) {
        const double co = std::cos(rad), si = std::sin(rad);
        return {co, si, -si, co, 0, 0};
    }
    double size() const { return std::sqrt(std::fabs(a * d - b * c)); }
};

// What an inserting block hands to its entities: by-block properties and layer 0's stand-in.
struct Context {
    Affine m;
    Style block_style;
    std::string block_linetype = "CONTINUOUS";
    std::string layer;  // the insert's layer; empty in model space
};

const Layer kDefaultLayer{};

class Flattener {
  public:
    Flattener(const Document& doc, double tolerance, const TextOutliner& text,
              const FlattenLimits& limits, Flattened& out)
        : m_doc(doc), m_tol(tolerance), m_text(text), m_limits(limits), m_out(out) {}

    bool Run(std::string& error) {
        Context root;
        if (!Entities(m_doc.entities, root)) {
            error = m_error;
            return false;
        }
        if (m_badText)
            m_out.warnings.push_back(std::to_string(m_badText) +
                                     " text(s) not drawn: " + m_textWhy);
        if (m_badGeometry)
            m_out.warnings.push_back(std::to_string(m_badGeometry) +
                                     " entities with coordinates out of range not drawn");
        if (m_denseFamilies)
            m_out.warnings.push_back(std::to_string(m_denseFamilies) +
                                     " hatch pattern line families too dense for the sheet not "
                                     "drawn");
        return true;
    }

  private:
    bool TooManyPoints() {
        m_error =
            "the drawing expands to more than " + std::to_string(m_limits.max_points) + " points";
        return false;
    }
    const Layer& LayerOf(const std::string& name, const Context& ctx) const {
        const std::string& n = (name == "0" && !ctx.layer.empty()) ? ctx.layer : name;
        auto it = m_doc.layers.find(n);
        return it == m_doc.layers.end() ? kDefaultLayer : it->second;
    }
    const std::string& LayerName(const std::string& name, const Context& ctx) const {
        return (name == "0" && !ctx.layer.empty()) ? ctx.layer : name;
    }

    Style Resolve(const Properties& p, const Context& ctx, const Layer& layer) const {
        Style s;
        if (p.aci == 0) {
            s.aci = ctx.block_style.aci;
            s.rgb = ctx.block_style.rgb;
        } else if (p.aci == 256 || p.aci < 0 || p.aci > 256) {
            s.aci = layer.aci;
            s.rgb = layer.rgb;
        } else {
            s.aci = p.aci;
        }
        if (p.rgb >= 0) s.rgb = p.rgb & 0xFFFFFF;
        const int w = p.weight == -1 ? layer.weight : p.weight;
        if (p.weight == -2)
            s.weight_mm = ctx.block_style.weight_mm;
        else
            s.weight_mm = w >= 0 ? std::min(w, 211) / 100.0 : 0.25;
        std::string lt = p.linetype;
        if (lt == "BYLAYER" || lt.empty()) lt = layer.linetype;
        if (lt == "BYBLOCK") lt = ctx.block_linetype;
        auto it = m_doc.linetypes.find(lt);
        if (it != m_doc.linetypes.end() && it->second.size() >= 2) {
            double scale = m_doc.ltscale * (p.linetype_scale > 0 ? p.linetype_scale : 1.0);
            if (!std::isfinite(scale)) scale = 1;
            for (double d : it->second) s.dashes.push_back(d * scale);
        }
        return s;
    }
    std::string LinetypeName(const Properties& p, const Context& ctx, const Layer& layer) const {
        if (p.linetype == "BYLAYER" || p.linetype.empty()) return layer.linetype;
        if (p.linetype == "BYBLOCK") return ctx.block_linetype;
        return p.linetype;
    }

    bool Emit(Primitive::Kind kind, std::vector<std::vector<Point>> contours, const Style& s,
              const Affine& m, double width = 0) {
        std::size_t n = 0;
        for (auto& c : contours) {
            for (Point& p : c) {
                p = m(p);
                if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::fabs(p.x) > 1e15 ||
                    std::fabs(p.y) > 1e15) {
                    ++m_badGeometry;
                    return true;
                }
            }
            n += c.size();
        }
        if (n == 0) return true;
        m_points += n;
        if (m_points > m_limits.max_points) return TooManyPoints();
        Primitive prim;
        prim.kind = kind;
        prim.contours = std::move(contours);
        prim.style = s;
        prim.width = width * m.size();
        m_out.primitives.push_back(std::move(prim));
        return true;
    }

    bool Entities(const std::vector<Entity>& list, const Context& ctx) {
        for (const Entity& e : list)
            if (!One(e, ctx)) return false;
        return true;
    }

    bool One(const Entity& e, const Context& ctx) {
        const Layer& layer = LayerOf(e.props.layer, ctx);
        // Defpoints holds the points dimensions are measured from: never plotted.
        if (layer.off || layer.frozen || LayerName(e.props.layer, ctx) == "DEFPOINTS") return true;
        const Style s = Resolve(e.props, ctx, layer);
        const Affine m = e.mirrored ? ctx.m * Affine::Scale(-1, 1) : ctx.m;
        // Tolerance in the entity's own units.
        const double scale = m.size();
        const double tol = scale > 0 ? m_tol / scale : m_tol;
        switch (e.kind) {
            case EntityKind::Line: {
                if (e.points.size() < 2) return true;
                return Emit(Primitive::Path, {{e.points[0].p, e.points[1].p}}, s, m);
            }
            case EntityKind::Point:
                if (e.points.empty()) return true;
                return Emit(Primitive::Dot, {{e.points[0].p}}, s, m);
            case EntityKind::Polyline: {
                if (e.points.empty()) return true;
                if (VaryingWidths(e)) return Tapered(e, s, m, tol);
                std::vector<Point> pts = BulgedOutline(e.points, e.closed, tol);
                return Emit(Primitive::Path, {std::move(pts)}, s, m, e.width);
            }
            case EntityKind::Circle:
            case EntityKind::Arc: {
                if (e.points.empty() || !(e.radius > 0)) return true;
                const double a0 = e.kind == EntityKind::Circle ? 0 : e.start * kPi / 180;
                double sweep = 2 * kPi;
                if (e.kind == EntityKind::Arc) {
                    sweep = std::fmod((e.end - e.start) * kPi / 180, 2 * kPi);
                    if (!std::isfinite(sweep)) return true;
                    if (sweep <= 0) sweep += 2 * kPi;
                }
                const Point c = e.points[0].p;
                std::vector<Point> pts{
                    {c.x + e.radius * std::cos(a0), c.y + e.radius * std::sin(a0)}};
                AppendArc(c, e.radius, a0, sweep, tol, pts);
                return Emit(Primitive::Path, {std::move(pts)}, s, m);
            }
            case EntityKind::Ellipse:
                if (e.points.empty()) return true;
                return Emit(Primitive::Path,
                            {EllipsePoints(e.points[0].p, e.axis, e.ratio, e.start, e.end, tol)}, s,
                            m);
            case EntityKind::Spline: {
                std::vector<Point> pts = SplinePoints(e, tol);
                if (e.closed && !pts.empty()) pts.push_back(pts.front());
                return Emit(Primitive::Path, {std::move(pts)}, s, m);
            }
            case EntityKind::Solid: {
                std::vector<Point> pts;
                for (const auto& v : e.points) pts.push_back(v.p);
                return Emit(Primitive::Fill, {std::move(pts)}, s, m);
            }
            case EntityKind::Face: {
                std::vector<Point> pts;
                for (const auto& v : e.points) pts.push_back(v.p);
                pts.push_back(pts.front());
                return Emit(Primitive::Path, {std::move(pts)}, s, m);
            }
            case EntityKind::Hatch: {
                std::vector<std::vector<Point>> loops;
                for (const auto& l : e.loops) {
                    if (l.vertices.size() < 2) continue;
                    loops.push_back(BulgedOutline(l.vertices, true, tol));
                }
                if (loops.empty()) return true;
                if (e.solid_fill) return Emit(Primitive::Fill, std::move(loops), s, m);
                Style lines = s;
                lines.dashes.clear();
                HatchShortfall shortfall;
                for (auto& piece :
                     HatchLines(loops, e.definition, e.pattern, e.pattern_angle, e.pattern_scale,
                                tol, m_points, m_limits.max_points, shortfall)) {
                    const auto kind = piece.size() == 1 ? Primitive::Dot : Primitive::Path;
                    if (!Emit(kind, {std::move(piece)}, lines, m)) return false;
                }
                m_denseFamilies += shortfall.dense_families;
                // A hatch cut short at the budget is refused as any drawing past it is.
                if (shortfall.out_of_points) return TooManyPoints();
                return true;
            }
            case EntityKind::Text:
            case EntityKind::MText:
                return Text(e, s, m);
            case EntityKind::Insert:
                return Insert(e, ctx, layer, s, m);
        }
        return true;
    }

    static bool VaryingWidths(const Entity& e) {
        for (const auto& [w0, w1] : e.widths)
            if (w0 != e.width || w1 != e.width) return true;
        return false;
    }

    // A polyline whose widths vary: each segment a filled outline that runs from its start width
    // to its end width, mitred to its neighbours; segments without width are lines.
    bool Tapered(const Entity& e, const Style& s, const Affine& m, double tol) {
        const std::vector<TaperedSegment> segments = TaperedSegments(e, tol);
        for (const TaperedSegment& seg : segments) {
            if (seg.centre.size() < 2) continue;
            if (seg.left.empty()) {
                if (!Emit(Primitive::Path, {seg.centre}, s, m)) return false;
                continue;
            }
            std::vector<Point> outline = seg.left;
            outline.insert(outline.end(), seg.right.rbegin(), seg.right.rend());
            outline.push_back(outline.front());
            if (!Emit(Primitive::Fill, {std::move(outline)}, s, m)) return false;
        }
        return true;
    }

    bool Text(const Entity& e, const Style& s, const Affine& m) {
        if (!m_text || e.points.empty()) return true;
        std::vector<std::vector<Point>> contours;
        std::string why;
        if (!LayOutText(e, m_text, contours, why)) {
            ++m_badText;
            m_textWhy = why;
            return true;
        }
        if (contours.empty()) return true;
        return Emit(Primitive::Fill, std::move(contours), s, m);
    }

    bool Insert(const Entity& e, const Context& ctx, const Layer& layer, const Style& s,
                const Affine& m) {
        auto it = m_doc.blocks.find(e.block);
        if (it == m_doc.blocks.end()) {
            m_out.warnings.push_back("INSERT of an undefined block '" + e.block + "' not drawn");
            return true;
        }
        if (std::find(m_stack.begin(), m_stack.end(), e.block) != m_stack.end()) {
            std::string chain;
            for (const auto& b : m_stack) chain += b + " -> ";
            m_error = "block '" + e.block + "' inserts itself (" + chain + e.block + ")";
            return false;
        }
        if (static_cast<int>(m_stack.size()) >= m_limits.max_depth) {
            m_error = "blocks nested deeper than " + std::to_string(m_limits.max_depth);
            return false;
        }
        const auto count = static_cast<std::size_t>(e.rows) * static_cast<std::size_t>(e.cols);
        if (count > m_limits.max_array) {
            m_error = "INSERT of '" + e.block + "' arrays " + std::to_string(count) +
                      " copies, more than " + std::to_string(m_limits.max_array);
            return false;
        }
        const Block& block = it->second;
        Context inner;
        inner.block_style = s;
        inner.block_linetype = LinetypeName(e.props, ctx, layer);
        inner.layer = LayerName(e.props.layer, ctx);
        const Point ip = e.points[0].p;
        const Affine place = m * Affine::Move(ip.x, ip.y) * Affine::Turn(e.angle * kPi / 180);
        const Affine own = Affine::Scale(e.sx, e.sy) * Affine::Move(-block.base.x, -block.base.y);
        m_stack.push_back(e.block);
        for (int r = 0; r < e.rows; ++r) {
            for (int c = 0; c < e.cols; ++c) {
                inner.m = place * Affine::Move(c * e.col_spacing, r * e.row_spacing) * own;
                if (!Entities(block.entities, inner)) return false;
            }
        }
        m_stack.pop_back();
        return true;
    }

    const Document& m_doc;
    double m_tol;
    const TextOutliner& m_text;
    FlattenLimits m_limits;
    Flattened& m_out;
    std::vector<std::string> m_stack;
    std::size_t m_points = 0, m_badText = 0, m_badGeometry = 0, m_denseFamilies = 0;
    std::string m_error, m_textWhy;
};

}  // namespace

bool Flatten(const Document& doc, double tolerance, const TextOutliner& text,
             const FlattenLimits& limits, Flattened& out, std::string& error) {
    out = Flattened{};
    Flattener f(doc, tolerance, text, limits, out);
    if (!f.Run(error)) {
        out = Flattened{};
        return false;
    }
    return true;
}

}  // namespace xomplot::dxf
