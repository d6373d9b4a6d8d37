#pragma once
// The hook through which the renderer hands PCL raster graphics to a raster decoder.
//
// The renderer itself decodes HP-GL/2. When the stream is in PCL mode (after ESC "%1A" or
// ESC "%0A" from HP-GL/2, or before the first ESC "%0B"), every parameterized escape of the raster
// families is passed, one command at a time, to the installed `PclRasterHandler`:
//   ESC "*r" (start, width, height, end raster: "1A", "C", "t", "S"), ESC "*b" (compression
//   "M", row data "W" and "V", y offset "Y"), ESC "*v" (configure image data "W", palette entries
//   "a", "b", "c", "i"/"I", transparency "N"), ESC "*t" (raster resolution "R").
// A combined escape (ESC "*r1200t900S") arrives as one command per parameter character.
// Without a handler, or when the handler answers false, the command is skipped and counted as an
// "unsupported raster" warning in the render result.
//
// A job is rendered in bands: the whole stream is interpreted once per band, so a handler sees
// every command once per pass. `begin_pass` starts each pass; a handler keeps no state across
// passes other than what it rebuilds from the commands. Painting outside the current band is
// cheap to call and ignored, and `band_may_touch` lets a handler skip rows that cannot show.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace jobrender {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// One parameter of a parameterized PCL escape: ESC, `family` ('*'), `group` ('r'), the value
// text, and the parameter character in upper case ('A'). Data-bearing commands ("W", "V") carry
// their bytes in `data`; `offset` is the escape's position in the job.
struct PclCommand {
    char family = 0;
    char group = 0;
    char parameter = 0;
    double value = 0;
    bool hasValue = false;
    std::string_view data;
    std::size_t offset = 0;
};

// Where raster pixels go. Coordinates are HP-GL/2 printer plotter units (1/1016 inch) in the
// printer's frame: the frame of PE coordinates after scaling and "RO", before the page is turned
// for display. The canvas applies the page's quarter turn and the preview resolution.
class RasterCanvas {
  public:
    virtual ~RasterCanvas() = default;
    // Paints the rectangle [x0, x1) x [y0, y1). With `mergeWhite` false the colour replaces what
    // is there; with it true a white pixel leaves the page unchanged (transparency mode "TR1").
    virtual void fill_rect(double x0, double y0, double x1, double y1, Rgb colour,
                           bool mergeWhite) = 0;
    // False when nothing inside the rectangle can reach the band being rendered.
    virtual bool band_may_touch(double x0, double y0, double x1, double y1) const = 0;
    // The HP-GL/2 pen position when PCL mode was entered (the PCL cursor), printer plotter units.
    virtual double cursor_x() const = 0;
    virtual double cursor_y() const = 0;
    // The page's HP-GL/2 frame is turned a quarter (media longer than wide: X along the length).
    virtual bool page_turned() const { return false; }
};

class PclRasterHandler {
  public:
    virtual ~PclRasterHandler() = default;
    virtual void begin_pass() {}
    // True when the command was understood (and, where it draws, painted).
    virtual bool command(const PclCommand& command, RasterCanvas& canvas) = 0;
};

}  // namespace jobrender
