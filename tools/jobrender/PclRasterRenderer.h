#pragma once
// Paints the PCL raster graphics of a job: configure image data, palettes, raster resolution,
// width and height, compression methods 0, 2 (PackBits) and 3 (delta row), empty delta rows
// that repeat the seed row, and source transparency. Written from the PCL rules, on its own.
//
// Placement: the raster starts at the PCL cursor (the HP-GL/2 pen when PCL mode was entered).
// The printer writes each row across the media's width and advances along its length: on a page
// whose HP-GL/2 frame is turned a quarter (media longer than wide) pixels run along +Y of the
// printer's frame and rows along +X, otherwise pixels run along -X and rows along +Y. A raster
// pixel is 1016 / resolution plotter units square.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/jobrender/PclRasterHook.h"

namespace jobrender {

class PclRasterRenderer : public PclRasterHandler {
  public:
    void begin_pass() override;
    bool command(const PclCommand& command, RasterCanvas& canvas) override;

    // Rows of the last pass that could not be decoded (bad data for their method).
    std::size_t bad_rows() const { return m_badRows; }

  private:
    bool configure(const PclCommand& c);
    bool row(const PclCommand& c, RasterCanvas& canvas);
    void paint(RasterCanvas& canvas);
    Rgb colour_at(std::size_t x) const;
    std::size_t row_bytes() const;
    int bits_per_pixel() const;

    std::array<std::uint8_t, 6> m_config{0, 1, 1, 8, 8, 8};  // PCL's default: 1-bit indexed
    std::map<int, Rgb> m_palette;
    std::array<double, 3> m_pending{0, 0, 0};
    int m_transparency = 1;
    double m_resolution = 75;
    long m_width = 0;
    long m_height = 0;
    int m_method = 0;
    bool m_started = false;
    bool m_turned = false;
    double m_originX = 0;
    double m_originY = 0;
    long m_rowIndex = 0;
    std::vector<std::uint8_t> m_seed;
    std::size_t m_badRows = 0;
};

}  // namespace jobrender
