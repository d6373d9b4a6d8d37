#include "tools/xomplot/DxfFont.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <cstdint>
#include <map>

namespace xomplot::dxf {

struct FontOutliner::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    double cap = 1;  // the capitals' height in font units
    // Glyph outlines in font units by code point, made once.
    struct Glyph {
        std::vector<std::vector<Point>> contours;
        double advance = 0;
    };
    std::map<std::uint32_t, Glyph> cache;
    ~Face() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

FontOutliner::FontOutliner() = default;
FontOutliner::~FontOutliner() = default;

namespace {

std::string MatchFont(const std::string& pattern) {
    std::string file;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return file;
    FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(pattern.c_str()));
    if (pat) {
        FcConfigSubstitute(config, pat, FcMatchPattern);
        FcDefaultSubstitute(pat);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(config, pat, &result)) {
            FcChar8* path = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
                file = reinterpret_cast<const char*>(path);
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pat);
    }
    FcConfigDestroy(config);
    return file;
}

// Collects a glyph's outline as polygons; curves are split into a few chords (enough at plot
// sizes of text, and bounded per glyph).
struct Decomposer {
    std::vector<std::vector<Point>>* out;
    Point last;
    static Point P(const FT_Vector* v) { return {double(v->x), double(v->y)}; }
    static int Move(const FT_Vector* to, void* self) {
        auto* d = static_cast<Decomposer*>(self);
        d->out->emplace_back();
        d->last = P(to);
        d->out->back().push_back(d->last);
        return 0;
    }
    static int Line(const FT_Vector* to, void* self) {
        auto* d = static_cast<Decomposer*>(self);
        if (d->out->empty()) d->out->emplace_back();
        d->last = P(to);
        d->out->back().push_back(d->last);
        return 0;
    }
    static int Conic(const FT_Vector* c, const FT_Vector* to, void* self) {
        auto* d = static_cast<Decomposer*>(self);
        if (d->out->empty()) d->out->emplace_back();
        const Point a = d->last, b = P(c), e = P(to);
        for (int i = 1; i <= 6; ++i) {
            const double t = i / 6.0, u = 1 - t;
            d->out->back().push_back({u * u * a.x + 2 * u * t * b.x + t * t * e.x,
                                      u * u * a.y + 2 * u * t * b.y + t * t * e.y});
        }
        d->last = e;
        return 0;
    }
    static int Cubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* self) {
        auto* d = static_cast<Decomposer*>(self);
        if (d->out->empty()) d->out->emplace_back();
        const Point a = d->last, b = P(c1), c = P(c2), e = P(to);
        for (int i = 1; i <= 8; ++i) {
            const double t = i / 8.0, u = 1 - t;
            d->out->back().push_back(
                {u * u * u * a.x + 3 * u * u * t * b.x + 3 * u * t * t * c.x + t * t * t * e.x,
                 u * u * u * a.y + 3 * u * u * t * b.y + 3 * u * t * t * c.y + t * t * t * e.y});
        }
        d->last = e;
        return 0;
    }
};

}  // namespace

bool FontOutliner::Open(const std::string& pattern, std::string& error) {
    m_file = MatchFont(pattern);
    if (m_file.empty()) {
        error = "no font matches '" + pattern + "' (install fonts-dejavu-core)";
        return false;
    }
    auto face = std::make_unique<Face>();
    if (FT_Init_FreeType(&face->library) != 0 ||
        FT_New_Face(face->library, m_file.c_str(), 0, &face->face) != 0 ||
        !FT_IS_SCALABLE(face->face)) {
        error = "cannot read the outlines of the font " + m_file;
        return false;
    }
    face->cap = 0.7 * face->face->units_per_EM;
    if (FT_Load_Char(face->face, 'H', FT_LOAD_NO_SCALE) == 0) {
        FT_BBox box;
        FT_Outline_Get_CBox(&face->face->glyph->outline, &box);
        if (box.yMax > 0) face->cap = static_cast<double>(box.yMax);
    }
    m_face = std::move(face);
    return true;
}

bool FontOutliner::Outline(const std::string& utf8, double width_factor,
                           std::vector<std::vector<Point>>& contours, double& width,
                           std::string& why) {
    if (!m_face) {
        why = "no font";
        return false;
    }
    if (!(width_factor > 0) || !std::isfinite(width_factor)) width_factor = 1;
    double pen = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        // The text was decoded to valid UTF-8 before; a stray byte is skipped.
        const auto b = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp = b;
        int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
        if (i + len > utf8.size()) len = 1;
        if (len > 1) {
            cp = b & (0xFF >> (len + 1));
            for (int k = 1; k < len; ++k)
                cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += len;
        auto it = m_face->cache.find(cp);
        if (it == m_face->cache.end()) {
            Face::Glyph g;
            if (FT_Load_Char(m_face->face, cp, FT_LOAD_NO_SCALE) == 0 &&
                m_face->face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
                Decomposer d{&g.contours, {}};
                FT_Outline_Funcs funcs{&Decomposer::Move,
                                       &Decomposer::Line,
                                       &Decomposer::Conic,
                                       &Decomposer::Cubic,
                                       0,
                                       0};
                FT_Outline_Decompose(&m_face->face->glyph->outline, &funcs, &d);
                g.advance = static_cast<double>(m_face->face->glyph->advance.x);
            }
            if (m_face->cache.size() >= 4096) m_face->cache.clear();
            it = m_face->cache.emplace(cp, std::move(g)).first;
        }
        const double k = 1.0 / m_face->cap;
        for (const auto& c : it->second.contours) {
            std::vector<Point> pts;
            pts.reserve(c.size());
            for (const Point& p : c) pts.push_back({(pen + p.x * k) * width_factor, p.y * k});
            contours.push_back(std::move(pts));
        }
        pen += it->second.advance * k;
    }
    width = pen * width_factor;
    return true;
}

TextOutliner FontOutliner::Function() {
    return
        [this](const std::string& utf8, double wf, std::vector<std::vector<Point>>& contours,
               double& width, std::string& why) { return Outline(utf8, wf, contours, width, why); };
}

}  // namespace xomplot::dxf
