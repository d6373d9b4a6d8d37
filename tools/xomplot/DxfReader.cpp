#include "tools/xomplot/DxfReader.h"

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <streambuf>

#include "platform/FileText.h"
#include "tools/xomplot/DxfCurves.h"
#include "tools/xomplot/DxfGroupCheck.h"

namespace xomplot::dxf {

namespace {

constexpr std::size_t kMaxFileBytes = 1024u << 20;
constexpr double kPi = 3.14159265358979323846;

// A group's real value; 0 for text that is not a number.
double Real(const std::string& text) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    return end == text.c_str() || !std::isfinite(v) ? 0.0 : v;
}

Point FiniteOrZero(double x, double y) {
    return std::isfinite(x) && std::isfinite(y) ? Point{x, y} : Point{};
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

const std::set<std::string> kKnownVersions = {"AC1006", "AC1009", "AC1012", "AC1014", "AC1015",
                                              "AC1018", "AC1021", "AC1024", "AC1027", "AC1032"};

// Entities the reader draws, and records that are parts of others or never drawn on paper.
const std::set<std::string> kDrawn = {
    "LINE",  "POINT", "LWPOLYLINE", "POLYLINE", "CIRCLE", "ARC",   "ELLIPSE", "SPLINE",
    "SOLID", "TRACE", "3DFACE",     "INSERT",   "TEXT",   "MTEXT", "HATCH",   "DIMENSION"};
const std::set<std::string> kParts = {"VERTEX", "SEQEND", "ATTRIB", "ATTDEF",
                                      "BLOCK",  "ENDBLK", "ENDSEC", "VIEWPORT"};

// Collects what dxflib reports into the document.
class Collector : public DL_CreationAdapter {
  public:
    explicit Collector(Document& doc) : m_doc(doc) {}

    // What dxflib does not report, from the file's groups (read before dxflib reads it): the
    // line types' dashes, polyline widths, hatch pattern lines and the entities not drawn.
    void Group(int code, std::string_view view) {
        const std::string value(view.substr(0, 64));
        if (m_entity == "LTYPE") LinetypeGroup(code, value);
        if (code == 0) {
            if (m_entity == "HATCH") m_hatchDefinitions.push_back(std::move(m_definition));
            if (m_entity == "LWPOLYLINE" || m_entity == "POLYLINE") {
                m_widths.push_back(std::move(m_width));
                m_vertices = 0;
            }
            if (m_entity == "DIMENSION" && m_dimensionType != 7)
                m_dimensionBlocks.push_back(std::move(m_dimensionBlock));
            m_dimensionBlock.clear();
            m_dimensionType = 0;
            if (value == "VERTEX" && !m_widths.empty()) ++m_vertices;
            m_definition.clear();
            m_entity = value;
            m_linetype.clear();
            if (m_section == "ENTITIES" || m_section == "BLOCKS") {
                if (!kDrawn.count(value) && !kParts.count(value) && value != "SECTION" &&
                    value != "EOF")
                    ++m_doc.not_drawn[value.substr(0, 32)];
            }
            m_width = PolylineWidths{};
        } else if (code == 2 && m_entity == "SECTION") {
            m_section = value;
        } else if (m_entity == "LWPOLYLINE" || m_entity == "POLYLINE" || m_entity == "VERTEX") {
            WidthGroup(code, value);
        } else if (m_entity == "DIMENSION") {
            if (code == 2) m_dimensionBlock = value;
            if (code == 70) m_dimensionType = static_cast<int>(Real(value)) & 7;
        } else if (m_entity == "HATCH") {
            PatternGroup(code, Real(value));
            // Spline edges (edge type 4) and whether each gives its end tangents (12, 13):
            // dxflib leaves tangents that are not given undefined.
            if (code == 72 && Real(value) == 4 && m_splineEdgeTangents.size() < kMaxVertices)
                m_splineEdgeTangents.push_back(0);
            if ((code == 12 || code == 13) && !m_splineEdgeTangents.empty())
                m_splineEdgeTangents.back() |= code == 12 ? kStartTangent : kEndTangent;
        }
    }

    // Widths of polylines: LWPOLYLINE's constant width (43) and each vertex's start and end
    // widths (40, 41 after its 10); POLYLINE's default widths (40, 41) and its VERTEXes' own.
    void WidthGroup(int code, const std::string& value) {
        double w = Real(value);
        if (!(w > 0) || !std::isfinite(w)) w = 0;
        if (m_entity == "LWPOLYLINE") {
            if (code == 43) m_width.start = m_width.end = w;
            if (code == 10) ++m_vertices;
            if ((code == 40 || code == 41) && m_vertices > 0) SetVertexWidth(m_width, code, w);
        } else if (m_entity == "POLYLINE") {
            if (code == 40) m_width.start = w;
            if (code == 41) m_width.end = w;
        } else if ((code == 40 || code == 41) && m_vertices > 0 && !m_widths.empty()) {
            SetVertexWidth(m_widths.back(), code, w);
        }
    }
    struct PolylineWidths {
        double start = 0, end = 0;  // the defaults of the vertices
        // Vertices' own widths as far as some were given; the others take the defaults.
        std::vector<std::pair<double, double>> vertices;
    };
    void SetVertexWidth(PolylineWidths& p, int code, double w) {
        if (m_vertices > kMaxVertices) return;
        p.vertices.resize(std::max(p.vertices.size(), m_vertices), {p.start, p.end});
        (code == 40 ? p.vertices[m_vertices - 1].first : p.vertices[m_vertices - 1].second) = w;
    }

    // Pairs each HATCH with the pattern definition lines its groups gave, in file order.
    void AttachHatchDefinitions() {
        for (std::size_t i = 0; i < m_hatches.size() && i < m_hatchDefinitions.size(); ++i) {
            auto [list, index] = m_hatches[i];
            if (list && index < list->size()) (*list)[index].definition = m_hatchDefinitions[i];
        }
    }

    void setVariableInt(const std::string& key, int value, int) override {
        if (key == "$INSUNITS") m_doc.insunits = value;
    }
    void setVariableDouble(const std::string& key, double value, int) override {
        if (key == "$LTSCALE" && std::isfinite(value) && value > 0) m_doc.ltscale = value;
    }

    void addLayer(const DL_LayerData& d) override {
        const DL_Attributes a = getAttributes();
        Layer l;
        l.aci = std::abs(a.getColor());
        if (l.aci < 1 || l.aci > 255) l.aci = 7;
        l.rgb = a.getColor24();
        l.off = d.off || a.getColor() < 0;
        l.frozen = (d.flags & 1) != 0;
        l.weight = a.getWidth() >= 0 ? a.getWidth() : -3;
        l.linetype = Upper(a.getLinetype());
        m_doc.layers[Upper(d.name)] = l;
    }
    // The LTYPE table's entries, read from their groups: name (2) and dash lengths (49).
    void LinetypeGroup(unsigned int code, const std::string& value) {
        if (code == 2) {
            m_linetype = Upper(value);
            m_doc.linetypes[m_linetype].clear();
        } else if (code == 49 && !m_linetype.empty()) {
            const double length = Real(value);
            auto& dashes = m_doc.linetypes[m_linetype];
            if (std::isfinite(length) && dashes.size() < 64) dashes.push_back(length);
        }
    }

    void addBlock(const DL_BlockData& d) override {
        const std::string name = Upper(d.name);
        // Paper space layouts are not part of the model.
        m_skipBlock = name.rfind("*PAPER_SPACE", 0) == 0 || name.rfind("*MODEL_SPACE", 0) == 0;
        Block& b = m_doc.blocks[name];
        b.base = {d.bpx, d.bpy};
        b.entities.clear();
        m_target = &b.entities;
    }
    void endBlock() override {
        m_target = &m_doc.entities;
        m_skipBlock = false;
    }

    void addPoint(const DL_PointData& d) override {
        if (Entity* e = Add(EntityKind::Point)) e->points = {{{d.x, d.y}}};
    }
    void addLine(const DL_LineData& d) override {
        if (Entity* e = Add(EntityKind::Line)) e->points = {{{d.x1, d.y1}}, {{d.x2, d.y2}}};
    }
    void addCircle(const DL_CircleData& d) override {
        if (Entity* e = Add(EntityKind::Circle, true)) {
            e->points = {{{d.cx, d.cy}}};
            e->radius = d.radius;
        }
    }
    void addArc(const DL_ArcData& d) override {
        if (Entity* e = Add(EntityKind::Arc, true)) {
            e->points = {{{d.cx, d.cy}}};
            e->radius = d.radius;
            e->start = d.angle1;
            e->end = d.angle2;
        }
    }
    void addEllipse(const DL_EllipseData& d) override {
        if (Entity* e = Add(EntityKind::Ellipse)) {
            e->points = {{{d.cx, d.cy}}};
            e->axis = {d.mx, d.my};
            e->ratio = d.ratio;
            e->start = d.angle1;
            e->end = d.angle2;
        }
    }
    void addPolyline(const DL_PolylineData& d) override {
        // Meshes and polyface meshes (16, 64) are not drawn; 3D polylines (8) are flattened.
        if (d.flags & (16 | 64)) {
            ++m_doc.not_drawn["POLYLINE (mesh)"];
            m_polyline = nullptr;
            ++m_polylines;
            return;
        }
        m_polyline = Add(EntityKind::Polyline, true);
        if (m_polyline) {
            m_polylineIndex = m_target->size() - 1;
            m_polyline->closed = (d.flags & 1) != 0;
            m_polylineWidths = m_polylines < m_widths.size() ? &m_widths[m_polylines] : nullptr;
            if (m_polylineWidths) m_polyline->width = m_polylineWidths->start;
        }
        ++m_polylines;
    }
    void addVertex(const DL_VertexData& d) override {
        Entity* e = CurrentPolyline();
        if (!e || e->points.size() >= kMaxVertices) return;
        // Widths per vertex only for a polyline whose widths vary.
        const PolylineWidths* w = m_polylineWidths;
        if (w && (w->start != w->end || !w->vertices.empty())) {
            const std::size_t i = e->points.size();
            e->widths.push_back(i < w->vertices.size() ? w->vertices[i]
                                                       : std::make_pair(w->start, w->end));
        }
        e->points.push_back({{d.x, d.y}, d.bulge});
    }
    void endSequence() override { m_polyline = nullptr; }

    void addSpline(const DL_SplineData& d) override {
        m_spline = Add(EntityKind::Spline);
        if (!m_spline) return;
        m_splineIndex = m_target->size() - 1;
        m_spline->degree = static_cast<int>(std::min(d.degree, 16u));
        m_spline->closed = (d.flags & 1) != 0;
        m_spline->start_tangent = FiniteOrZero(d.tangentStartX, d.tangentStartY);
        m_spline->end_tangent = FiniteOrZero(d.tangentEndX, d.tangentEndY);
    }
    void addControlPoint(const DL_ControlPointData& d) override {
        if (Entity* e = CurrentSpline(); e && e->points.size() < kMaxVertices) {
            e->points.push_back({{d.x, d.y}, 0});
            e->weights.push_back(d.w);
        }
    }
    void addKnot(const DL_KnotData& d) override {
        if (Entity* e = CurrentSpline(); e && e->knots.size() < kMaxVertices)
            e->knots.push_back(d.k);
    }
    void addFitPoint(const DL_FitPointData& d) override {
        if (Entity* e = CurrentSpline(); e && e->fit.size() < kMaxVertices)
            e->fit.push_back({d.x, d.y});
    }

    void addSolid(const DL_SolidData& d) override { Quad(EntityKind::Solid, d, true); }
    void addTrace(const DL_TraceData& d) override { Quad(EntityKind::Solid, d, true); }
    void add3dFace(const DL_3dFaceData& d) override { Quad(EntityKind::Face, d, false); }

    void addInsert(const DL_InsertData& d) override {
        if (Entity* e = Add(EntityKind::Insert, true)) {
            e->points = {{{d.ipx, d.ipy}}};
            e->block = Upper(d.name);
            e->sx = d.sx;
            e->sy = d.sy;
            e->angle = d.angle;
            e->cols = std::max(1, d.cols);
            e->rows = std::max(1, d.rows);
            e->col_spacing = d.colSp;
            e->row_spacing = d.rowSp;
        }
    }

    // A dimension is drawn as its block of lines, arrows and texts (named by its group 2, which
    // dxflib does not report); dxflib reports each kind of dimension but the arc length (7).
    void addDimAlign(const DL_DimensionData&, const DL_DimAlignedData&) override { Dimension(); }
    void addDimLinear(const DL_DimensionData&, const DL_DimLinearData&) override { Dimension(); }
    void addDimRadial(const DL_DimensionData&, const DL_DimRadialData&) override { Dimension(); }
    void addDimDiametric(const DL_DimensionData&, const DL_DimDiametricData&) override {
        Dimension();
    }
    void addDimAngular(const DL_DimensionData&, const DL_DimAngular2LData&) override {
        Dimension();
    }
    void addDimAngular3P(const DL_DimensionData&, const DL_DimAngular3PData&) override {
        Dimension();
    }
    void addDimOrdinate(const DL_DimensionData&, const DL_DimOrdinateData&) override {
        Dimension();
    }
    void Dimension() {
        const std::size_t i = m_dimensions++;
        if (i >= m_dimensionBlocks.size() || m_dimensionBlocks[i].empty()) return;
        if (Entity* e = Add(EntityKind::Insert)) {
            e->points = {{{0, 0}}};
            e->block = Upper(m_dimensionBlocks[i]);
        }
    }

    void addText(const DL_TextData& d) override { Text(d); }
    void addAttribute(const DL_AttributeData& d) override {
        // Invisible attributes (flag 1) are not drawn.
        if (!(d.textGenerationFlags & 0x100)) Text(d);
    }
    void addMText(const DL_MTextData& d) override {
        Entity* e = Add(EntityKind::MText);
        if (!e) return;
        e->points = {{{d.ipx, d.ipy}}};
        e->text.text = m_mtextChunks + d.text;
        m_mtextChunks.clear();
        e->text.height = d.height;
        e->text.attachment = d.attachmentPoint;
        e->text.box_width = d.width;
        e->text.line_spacing = d.lineSpacingFactor > 0 ? d.lineSpacingFactor : 1;
        e->text.angle_deg = (d.dirx != 0 || d.diry != 0) ? std::atan2(d.diry, d.dirx) * 180 / kPi
                                                         : d.angle * 180 / kPi;
    }
    void addMTextChunk(const std::string& text) override {
        if (m_mtextChunks.size() < (1u << 20)) m_mtextChunks += text;
    }

    void addHatch(const DL_HatchData& d) override {
        m_hatch = Add(EntityKind::Hatch);
        m_hatches.emplace_back(m_hatch ? m_target : nullptr, m_target->size() - 1);
        if (!m_hatch) return;
        m_hatchIndex = m_target->size() - 1;
        m_hatch->solid_fill = d.solid;
        m_hatch->pattern = Upper(d.pattern);
        m_hatch->pattern_angle = d.angle;
        m_hatch->pattern_scale = d.scale;
    }
    void addHatchLoop(const DL_HatchLoopData&) override {
        if (Entity* e = CurrentHatch(); e && e->loops.size() < kMaxVertices)
            e->loops.emplace_back();
    }
    void addHatchEdge(const DL_HatchEdgeData& d) override;

    Document& m_doc;

  private:
    static constexpr std::size_t kMaxVertices = 10000000;

    Entity* Add(EntityKind kind, bool ocs = false) {
        const DL_Attributes a = getAttributes();
        if (m_skipBlock || a.isInPaperSpace()) return nullptr;
        Entity e;
        e.kind = kind;
        e.props.layer = Upper(a.getLayer().empty() ? "0" : a.getLayer());
        e.props.aci = a.getColor();
        e.props.rgb = a.getColor24();
        e.props.weight = a.getWidth();
        e.props.linetype = Upper(a.getLinetype());
        e.props.linetype_scale = a.getLinetypeScale();
        // An object coordinate system looking from below (extrusion 0,0,-1) mirrors in x.
        if (ocs && getExtrusion() && getExtrusion()->getDirection()[2] < 0) e.mirrored = true;
        m_target->push_back(std::move(e));
        return &m_target->back();
    }
    Entity* CurrentPolyline() {
        return m_polyline && m_polylineIndex < m_target->size() ? &(*m_target)[m_polylineIndex]
                                                                : nullptr;
    }
    Entity* CurrentSpline() {
        return m_spline && m_splineIndex < m_target->size() ? &(*m_target)[m_splineIndex] : nullptr;
    }
    Entity* CurrentHatch() {
        return m_hatch && m_hatchIndex < m_target->size() ? &(*m_target)[m_hatchIndex] : nullptr;
    }
    template <class Q>
    void Quad(EntityKind kind, const Q& d, bool ocs) {
        Entity* e = Add(kind, ocs);
        if (!e) return;
        // SOLID and TRACE list their corners in Z order: 1, 2, 4, 3 runs round the outline.
        const int order[4] = {0, 1, 3, 2};
        for (int i = 0; i < 4; ++i) {
            const int k = kind == EntityKind::Face ? i : order[i];
            e->points.push_back({{d.x[k], d.y[k]}, 0});
        }
        e->closed = true;
    }
    void Text(const DL_TextData& d) {
        Entity* e = Add(EntityKind::Text, true);
        if (!e) return;
        e->points = {{{d.ipx, d.ipy}}};
        e->text.second = {d.apx, d.apy};
        e->text.text = d.text;
        e->text.height = d.height;
        e->text.width_factor = d.xScaleFactor > 0 ? d.xScaleFactor : 1;
        e->text.angle_deg = d.angle * 180 / kPi;  // dxflib gives radians
        e->text.halign = d.hJustification;
        e->text.valign = d.vJustification;
    }

    void PatternGroup(unsigned int code, double v) {
        if (!std::isfinite(v) || m_definition.size() > 64) return;
        if (code == 53) {
            m_definition.push_back({v, {}, {}, {}});
            return;
        }
        if (m_definition.empty()) return;
        HatchPatternLine& l = m_definition.back();
        if (code == 43) l.base.x = v;
        if (code == 44) l.base.y = v;
        if (code == 45) l.offset.x = v;
        if (code == 46) l.offset.y = v;
        if (code == 49 && l.dashes.size() < 64) l.dashes.push_back(v);
    }

    std::vector<HatchPatternLine> m_definition;
    std::vector<std::vector<HatchPatternLine>> m_hatchDefinitions;
    // Per spline edge of a hatch, in file order: which of its end tangents the file gives.
    static constexpr std::uint8_t kStartTangent = 1, kEndTangent = 2;
    std::vector<std::uint8_t> m_splineEdgeTangents;
    std::size_t m_splineEdges = 0;  // spline edges dxflib has reported
    std::vector<std::pair<std::vector<Entity>*, std::size_t>> m_hatches;
    std::vector<Entity>* m_target = &m_doc.entities;
    std::string m_section, m_entity, m_linetype, m_mtextChunks;
    bool m_skipBlock = false;
    std::string m_dimensionBlock;
    int m_dimensionType = 0;
    std::vector<std::string> m_dimensionBlocks;  // of each DIMENSION in file order
    std::size_t m_dimensions = 0;
    PolylineWidths m_width;
    std::vector<PolylineWidths> m_widths;  // of each LWPOLYLINE and POLYLINE in file order
    const PolylineWidths* m_polylineWidths = nullptr;
    std::size_t m_vertices = 0;  // of the current polyline in the groups
    std::size_t m_polylines = 0;
    Entity* m_polyline = nullptr;
    Entity* m_spline = nullptr;
    Entity* m_hatch = nullptr;
    std::size_t m_polylineIndex = 0, m_splineIndex = 0, m_hatchIndex = 0;
};

// The chord tolerance of a curved hatch edge: the reader does not know the drawing's scale on the
// sheet, so a ten-thousandth of the edge's size (0.1 mm on a 1 m curve), never below 1e-9.
double EdgeTolerance(const std::vector<Point>& points) {
    double lo_x = 0, lo_y = 0, hi_x = 0, hi_y = 0;
    bool first = true;
    for (const Point& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
        if (first) {
            lo_x = hi_x = p.x;
            lo_y = hi_y = p.y;
            first = false;
        }
        lo_x = std::min(lo_x, p.x);
        hi_x = std::max(hi_x, p.x);
        lo_y = std::min(lo_y, p.y);
        hi_y = std::max(hi_y, p.y);
    }
    return std::max(std::hypot(hi_x - lo_x, hi_y - lo_y) * 1e-4, 1e-9);
}

void Collector::addHatchEdge(const DL_HatchEdgeData& d) {
    Entity* e = CurrentHatch();
    if (!e || e->loops.empty()) return;
    auto& v = e->loops.back().vertices;
    if (v.size() >= kMaxVertices) return;
    switch (d.type) {
        case 0:  // a polyline loop
            for (const auto& p : d.vertices)
                if (p.size() >= 2) v.push_back({{p[0], p[1]}, p.size() >= 3 ? p[2] : 0});
            break;
        case 1:
            v.push_back({{d.x1, d.y1}, 0});
            break;
        case 2: {
            // An arc edge: its start point with the bulge of its sweep.
            // A clockwise edge gives the angles of its mirror image.
            double sweep = std::fmod(d.angle2 - d.angle1, 2 * kPi);
            if (!std::isfinite(sweep)) break;
            if (sweep <= 0) sweep += 2 * kPi;
            const double a1 = d.ccw ? d.angle1 : -d.angle1;
            const double b = std::tan(sweep / 4) * (d.ccw ? 1 : -1);
            v.push_back({{d.cx + d.radius * std::cos(a1), d.cy + d.radius * std::sin(a1)}, b});
            break;
        }
        case 3: {
            // An elliptical arc edge, its points as straight edges. A clockwise edge runs from
            // the parameter -start down to -end, as an arc edge does.
            const Point centre{d.cx, d.cy}, axis{d.mx, d.my};
            const double tolerance = EdgeTolerance({centre, {d.cx + d.mx, d.cy + d.my}});
            std::vector<Point> points =
                d.ccw ? EllipsePoints(centre, axis, d.ratio, d.angle1, d.angle2, tolerance)
                      : EllipsePoints(centre, axis, d.ratio, -d.angle2, -d.angle1, tolerance);
            if (!d.ccw) std::reverse(points.begin(), points.end());
            for (const Point& q : points) v.push_back({q, 0});
            break;
        }
        default: {
            // A spline edge, drawn as the curve (its control points, or the cubic through its fit
            // points), as straight edges to within a ten-thousandth of its size.
            Entity spline;
            spline.degree = static_cast<int>(std::min(d.degree, 16u));
            spline.knots = d.knots;
            spline.weights = d.weights;
            for (const auto& p : d.controlPoints)
                if (p.size() >= 2) spline.points.push_back({{p[0], p[1]}, 0});
            for (const auto& p : d.fitPoints)
                if (p.size() >= 2) spline.fit.push_back({p[0], p[1]});
            const std::size_t edge = m_splineEdges++;
            const int given = edge < m_splineEdgeTangents.size() ? m_splineEdgeTangents[edge] : 0;
            if ((given & kStartTangent) != 0)
                spline.start_tangent = FiniteOrZero(d.startTangentX, d.startTangentY);
            if ((given & kEndTangent) != 0)
                spline.end_tangent = FiniteOrZero(d.endTangentX, d.endTangentY);
            std::vector<Point> extent = spline.fit;
            for (const auto& q : spline.points) extent.push_back(q.p);
            for (const Point& q : SplinePoints(spline, EdgeTolerance(extent))) v.push_back({q, 0});
            break;
        }
    }
}

// Lets dxflib read the file's text in place, without a copy of a file that may be large.
class TextBuffer : public std::streambuf {
  public:
    explicit TextBuffer(const std::string& text) {
        char* begin = const_cast<char*>(text.data());  // read only: nothing is put back
        setg(begin, begin, begin + text.size());
    }
};

}  // namespace

bool LooksLikeDxf(const std::string& path, const std::string& head) {
    if (path.size() >= 4 && Upper(path.substr(path.size() - 4)) == ".DXF") return true;
    if (head.rfind("AutoCAD Binary DXF", 0) == 0) return true;
    std::istringstream in(head);
    std::string code, value;
    std::getline(in, code);
    std::getline(in, value);
    auto trim = [](std::string s) {
        s.erase(0, s.find_first_not_of(" \t\r"));
        s.erase(s.find_last_not_of(" \t\r") + 1);
        return s;
    };
    return trim(code) == "0" && trim(value) == "SECTION";
}

bool ReadDxfText(const std::string& text, const std::string& source, Document& out,
                 std::string& error) {
    out = Document{};
    std::string version;
    Collector collector(out);
    if (!CheckGroups(text, version, error,
                     [&](int code, std::string_view value) { collector.Group(code, value); })) {
        error = source + ": " + error;
        return false;
    }
    out.version = version;
    if (!version.empty() && !kKnownVersions.count(version))
        out.warnings.push_back("unknown DXF version '" + version +
                               "': read as the nearest known version");
    TextBuffer buffer(text);
    std::istream in(&buffer);
    try {
        DL_Dxf dxf;
        if (!dxf.in(in, &collector)) {
            error = source + ": not a DXF file dxflib can read";
            out = Document{};
            return false;
        }
        collector.AttachHatchDefinitions();
    } catch (const std::exception& e) {
        error = source + ": " + e.what();
        out = Document{};
        return false;
    }
    return true;
}

bool ReadDxfFile(const std::string& path, Document& out, std::string& error) {
    std::string text;
    if (!xomplatform::ReadFileOrError(path, kMaxFileBytes, text, error)) return false;
    return ReadDxfText(text, path, out, error);
}

}  // namespace xomplot::dxf
