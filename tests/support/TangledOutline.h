#pragma once
// A seeded random outline that crosses itself, and an even-odd rasterisation of any outline
// written apart from the host's routines and the job renderer: the tests' reference shape.
#include <vector>

namespace xomtest {

struct OutlinePoint {
    double x;
    double y;
};

// n points, in whole dots, on a closed epicycle curve of random radii, turns and phases around
// (cx, cy), reaching at most `radius` from it. The curve loops over itself, so parts of its
// inside are wound twice (outside under the even-odd rule).
std::vector<OutlinePoint> TangledOutline(int n, unsigned seed, double cx, double cy, double radius);

// The unit cells [x0 + i, x0 + i + 1) x [y0 + j, y0 + j + 1) of a box, each classified by its
// centre: inside the outline (even-odd), its winding number, and whether an edge passes within
// `margin` of the centre.
class OutlineRaster {
  public:
    OutlineRaster(const std::vector<OutlinePoint>& outline, int x0, int y0, int width, int height,
                  double margin = 1.5);
    bool inside(int i, int j) const { return winding(i, j) % 2 != 0; }
    int winding(int i, int j) const { return m_winding[index(i, j)]; }
    bool near_edge(int i, int j) const { return m_near[index(i, j)] != 0; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int x0() const { return m_x0; }
    int y0() const { return m_y0; }

  private:
    std::size_t index(int i, int j) const {
        return static_cast<std::size_t>(j) * static_cast<std::size_t>(m_width) +
               static_cast<std::size_t>(i);
    }
    int m_x0, m_y0, m_width, m_height;
    std::vector<int> m_winding;
    std::vector<unsigned char> m_near;
};

}  // namespace xomtest
