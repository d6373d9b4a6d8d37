#pragma once
// The PCL commands that frame a raster image in the job stream: the configure-image-data block,
// palettes as one combined escape sequence, and the raster start.
#include <cstdint>
#include <string>
#include <vector>

#include "Common/XOM/PlotStreamState.h"

class XOM_Driver;

namespace xomimage {

inline constexpr int kEncodingIndexed = 1;  // indexed by pixel
inline constexpr int kEncodingDirect = 3;   // direct by pixel

// Sends "\e*v6W" and its 6 bytes (RGB, the encoding, the bits per index, 8 bits per primary)
// unless the block last sent in this job has the same encoding and bits: a 1-bit image after an
// 8-bit one needs its own block, or the printer would read its rows as 8 bits per index.
void ConfigureImageData(XOM_Driver& device, PlotStreamState& stream, int encoding,
                        int bitsPerIndex);

struct PaletteEntry {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    int index;
};
// "\e*v<r>a<g>b<b>c<i>i..." with "I" after the last entry; nothing for an empty palette.
std::string PaletteCommand(const std::vector<PaletteEntry>& entries);
void SendPalette(PlotStreamState& stream, const std::vector<PaletteEntry>& entries);

// "\e*t<resolution>R\e*r<height>t<width>S\e*r1A".
void StartRaster(PlotStreamState& stream, int resolution, std::int32_t width, std::int32_t height);

void SendRaw(PlotStreamState& stream, const char* text);

// The source named in the diagnostic line of an image stopped by an output error.
inline constexpr const char* kDiagnosticSource = "..\\..\\Common\\XomImage";

}  // namespace xomimage
