#pragma once
// Renders a print job stream (job ticket, PJL, HP-GL/2 with Polyline Encoded coordinates, PCL)
// into pixels, as the printer would put it on paper. It decodes the stream on its own, from the
// languages' rules, so that tests and previews see what a job holds rather than what the code that
// wrote it meant.
//
// The page is shown as the media lies on the printer's table: the media's width across, its
// length down, with HP-GL/2's quarter turn for media longer than wide undone (HP-GL/2 puts its X
// axis along the longer side). Pixel (0, 0) is the top left; media point (x, y) in plotter units
// from the lower left lies at column x * dpi / 1016, row (length - y) * dpi / 1016.
//
// Rendering is banded: the stream is interpreted once to find the page and any error, then once
// per band, so memory holds one band, whatever the page size. Pixels are set where their centre
// lies inside a shape (no anti-aliasing), so geometry can be compared pixel by pixel.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/jobrender/PclRasterHook.h"

namespace jobrender {

struct RenderOptions {
    double dpi = 100.0;
    Rgb paper{255, 255, 255};
    // Colours of pens the job never defines with "PC" (for example the printer's own pen table
    // in the virtual pens modes). Empty: HP-GL/2's defaults (0 white, 1 black, 2 red, 3 green,
    // 4 yellow, 5 blue, 6 magenta, 7 cyan, others black).
    std::vector<Rgb> undefinedPens;
    // Largest page accepted, in pixels per side; a bigger page is an error, not an allocation.
    std::int64_t maxPixelsPerSide = 200000;
    // Bytes of pixel memory one band may use (at least one row is always rendered).
    std::size_t bandBytes = 16u << 20;
    PclRasterHandler* raster = nullptr;  // not owned; null: raster commands are skipped
};

struct RenderWarnings {
    std::size_t unknownCommands = 0;            // HP-GL/2 commands the renderer does not draw
    std::size_t unsupportedPcl = 0;             // PCL escapes other than raster ones
    std::size_t unsupportedRaster = 0;          // raster escapes that no handler took
    std::size_t badParameters = 0;              // commands ignored for a value out of range
    std::size_t afterPageEnd = 0;               // drawing commands after the first page ended
    std::map<std::string, std::size_t> byName;  // the skipped mnemonics / escapes and how often
    std::size_t total() const {
        return unknownCommands + unsupportedPcl + unsupportedRaster + badParameters + afterPageEnd;
    }
};

struct RenderResult {
    bool ok = false;
    std::string error;       // empty when ok
    bool malformed = false;  // the error is in the stream, at errorOffset
    std::size_t errorOffset = 0;
    int width = 0;  // pixels
    int height = 0;
    double pageWidthPlu = 0;  // media width and length from "PS", plotter units
    double pageLengthPlu = 0;
    bool rotated = false;   // the job turned its coordinates a quarter (media longer than wide)
    std::size_t pages = 0;  // page ends seen ("PG", or a reset after drawing)
    RenderWarnings warnings;
};

// Receives the page band by band, top to bottom. rgb holds rows x width x 3 bytes.
class BandSink {
  public:
    virtual ~BandSink() = default;
    // False aborts the rendering with the sink's error.
    virtual bool begin(int width, int height) = 0;
    virtual bool band(int firstRow, int rows, const std::uint8_t* rgb) = 0;
    virtual bool end() = 0;
    virtual std::string error() const = 0;
};

// Renders the first page of the job. On a malformed stream nothing reaches the sink and the
// result says what and where.
RenderResult RenderJob(std::string_view job, const RenderOptions& options, BandSink& sink);

// The whole page in memory, for small pages (tests).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    Rgb at(int col, int row) const {
        const std::size_t i = (static_cast<std::size_t>(row) * width + col) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};
RenderResult RenderJobToImage(std::string_view job, const RenderOptions& options, Image& image);

}  // namespace jobrender
