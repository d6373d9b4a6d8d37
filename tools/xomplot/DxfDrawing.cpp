#include "tools/xomplot/DxfDrawing.h"

#include <sys/stat.h>

#include <fstream>

#include "tools/xomplot/DxfFont.h"
#include "tools/xomplot/DxfReader.h"

namespace xomplot {

namespace {

bool HasText(const std::vector<dxf::Entity>& list) {
    for (const auto& e : list)
        if (e.kind == dxf::EntityKind::Text || e.kind == dxf::EntityKind::MText) return true;
    return false;
}

bool HasText(const dxf::Document& doc) {
    if (HasText(doc.entities)) return true;
    for (const auto& [name, block] : doc.blocks)
        if (HasText(block.entities)) return true;
    return false;
}

}  // namespace

bool IsDxfFile(const std::string& path) {
    // Only a regular file is looked into: opening a FIFO would wait for a writer, and the readers
    // give every other kind of file its own clear error.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return dxf::LooksLikeDxf(path, {});
    std::ifstream in(path, std::ios::binary);
    char head[64] = {};
    in.read(head, sizeof head);
    return dxf::LooksLikeDxf(path, std::string(head, static_cast<std::size_t>(in.gcount())));
}

bool PlaceDxf(const dxf::Document& doc, const DxfOptions& options, const dxf::PrintableArea& area,
              Drawing& out, std::vector<std::string>& warnings, std::string& error) {
    warnings = doc.warnings;
    if (!doc.not_drawn.empty()) {
        std::size_t total = 0;
        std::string list;
        for (const auto& [name, count] : doc.not_drawn) {
            total += count;
            list += (list.empty() ? "" : ", ") + name + " " + std::to_string(count);
        }
        warnings.push_back(std::to_string(total) + " entities not drawn: " + list);
    }
    dxf::FontOutliner font;
    dxf::TextOutliner text;
    if (HasText(doc)) {
        std::string why;
        if (font.Open(options.font, why))
            text = font.Function();
        else
            warnings.push_back("texts not drawn: " + why);
    }
    return dxf::PlaceDrawing(doc, options.placement, area, text, out, warnings, error);
}

}  // namespace xomplot
