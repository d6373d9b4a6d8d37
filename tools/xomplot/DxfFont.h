#pragma once
// Text outlines from a real font: fontconfig finds the font (DejaVu Sans unless told), FreeType
// gives each glyph's outline, flattened to polygons in text units (1 = the capitals' height).
#include <memory>
#include <string>

#include "tools/xomplot/DxfFlatten.h"

namespace xomplot::dxf {

class FontOutliner {
  public:
    FontOutliner();
    ~FontOutliner();
    FontOutliner(const FontOutliner&) = delete;
    FontOutliner& operator=(const FontOutliner&) = delete;
    // Opens the font fontconfig matches for the pattern (for example "DejaVu Sans"); false with
    // the reason when there is none.
    bool Open(const std::string& pattern, std::string& error);
    const std::string& file() const { return m_file; }
    bool Outline(const std::string& utf8, double width_factor,
                 std::vector<std::vector<Point>>& contours, double& width, std::string& why);
    // A TextOutliner that uses this font.
    TextOutliner Function();

  private:
    struct Face;
    std::unique_ptr<Face> m_face;
    std::string m_file;
};

}  // namespace xomplot::dxf
