#pragma once
// One band of the page's pixels and the scan conversion that paints shapes into it. Shapes are
// sets of closed rings in page pixel coordinates (x to the right, y down, pixel (c, r) covering
// [c, c + 1) x [r, r + 1)); a pixel is painted when its centre lies inside.
#include <cstdint>
#include <vector>

#include "tools/jobrender/PclRasterHook.h"

namespace jobrender {

struct PointF {
    double x = 0;
    double y = 0;
};
using Ring = std::vector<PointF>;

enum class FillRule { EvenOdd, NonZero };

// Parallel lines across a fill: a pixel is inside when its centre lies within width / 2 of one of
// the lines through `origin` + k * spacing * normal.
struct HatchLines {
    PointF origin;
    PointF normal;  // unit length
    double spacing = 1;
    double width = 1;
    bool inside(double x, double y) const;
};

struct Paint {
    Paint() = default;
    explicit Paint(Rgb c) : colour(c) {}
    Rgb colour;
    // Raster operation of HP-GL/2 merge control ("MC1,rop"), with the pen colour as both source
    // and texture; 252 copies the colour.
    int rop = 252;
    std::vector<HatchLines> hatch;  // empty: solid; else the union of these line sets
};

class BandCanvas {
  public:
    BandCanvas(int width, int firstRow, int rows, Rgb paper);
    int width() const { return m_width; }
    int first_row() const { return m_first; }
    int rows() const { return m_rows; }
    const std::uint8_t* data() const { return m_pixels.data(); }

    // True when the box [x0, x1] x [y0, y1] can reach the band.
    bool touches(double x0, double y0, double x1, double y1) const;
    void fill(const std::vector<Ring>& rings, FillRule rule, const Paint& paint);
    // Paints the pixels whose centres lie in [x0, x1) x [y0, y1).
    void fill_rect(double x0, double y0, double x1, double y1, Rgb colour, bool mergeWhite);

  private:
    void put(int col, int row, const Paint& paint);
    int m_width;
    int m_first;
    int m_rows;
    std::vector<std::uint8_t> m_pixels;
    struct Edge {
        double y0, y1, x0, slope;
        int dir;
    };
    std::vector<Edge> m_edges;  // scratch, reused
    std::vector<const Edge*> m_active;
    std::vector<std::pair<double, int>> m_cross;
};

std::uint8_t ApplyRop(int rop, std::uint8_t source, std::uint8_t destination);

}  // namespace jobrender
