#pragma once
// The general raster road: an image that the host renders from its row source. The encoder asks
// the host for the image at a reduced size, band after band within a memory budget, enlarges
// every pixel f times across and every row f times down (an empty delta row per repeat), and
// writes it as one PCL raster of the destination's size in dots.
//
// The planning steps are exposed for tests; newhandleraster runs them.
#include <cstddef>
#include <cstdint>

#include "Common/XomImage/GrayTone.h"
#include "hdi/HT_Actions.h"

namespace xomimage {

// The settings the road reads, taken in one place (GeneralRoadSettingsNow).
struct GeneralRoadSettings {
    int qualityLevel = 100;         // RasterEnabled
    int qualityLevelBitonal = 100;  // RasterEnabledKind1
    double gamma = 1.0;             // RasterGamma
    int intensity = 100;            // RasterIntensity
};
GeneralRoadSettings GeneralRoadSettingsNow();

// The least replication factor a quality level allows: 20, 8, 4, 3, 2 for levels 1-5, else 1.
int QualityFloor(int level);

// f from the scales (destination over source dots), the device's resolution, whether the source
// is one pixel wide or high, and whether the image is transparent or clipped; then the floor of
// the quality level.
int ReplicationFactor(double sx, double sy, int resolution, bool thinSource, bool transparent,
                      int qualityLevel);

// Half the available physical memory, within 512000 to 10240000 bytes.
std::size_t BandBudget(std::uint64_t availableBytes);

struct BandPlan {
    int f = 1;
    std::int32_t columns = 0;  // destination width / f
    std::int32_t rows = 0;     // destination height / f
    std::uint64_t bands = 0;
    std::int32_t rowsPerBand = 0;
};
// Columns, rows, bands and rows per band for a factor; false when the reduced image is empty.
bool PlanBands(std::int32_t width, std::int32_t height, int f, int sourceBytesPerPixel,
               std::size_t budget, BandPlan& plan);
// PlanBands with the 1000-band rule: more than 1000 bands raise f to ceil(f * sqrt(n / 1000))
// and plan once more.
bool PlanBandsWithinLimit(std::int32_t width, std::int32_t height, int f, int sourceBytesPerPixel,
                          std::size_t budget, BandPlan& plan);

// The key colour (red 250, green 241, blue 255) with which the host paints the background of a
// transparent image: it prints as paper.
inline constexpr std::uint8_t kKeyRed = 250;
inline constexpr std::uint8_t kKeyGreen = 241;
inline constexpr std::uint8_t kKeyBlue = 255;

// Output modes 0-8: 0-4 write gray indices, 5-8 RGB.
int OutputMode(int pixelFormat, bool colour, bool bitonal, bool transparent, int bitDepth);
// Bytes per source pixel of a mode: 1 (modes 0, 1, 5), 3 (2, 3, 6, 7) or 4 (4, 8).
int SourceBytesPerPixel(int mode);
inline bool ColourMode(int mode) {
    return mode >= 5;
}

// What a row conversion needs besides the row.
struct PixelConversion {
    int mode = 0;
    ToneTable gray{};     // the general road's gray table (0 stored as 1)
    HT_RGB foreground{};  // the foreground of one-byte images
};
// One output pixel (1 byte in gray modes, red-green-blue in colour modes) from one source pixel.
void ConvertPixel(const PixelConversion& c, const std::uint8_t* source, std::uint8_t* out);
// A source row of `columns` pixels to an output row of `width` pixels: each pixel f times, the
// rest of the row padded with the last value.
void ConvertRow(const PixelConversion& c, const std::uint8_t* source, std::int32_t columns, int f,
                std::int32_t width, std::uint8_t* out);

}  // namespace xomimage

// The general road for one image: position is its top-left dot, the image's dest_width x
// dest_height its destination, its row source the pixels. device is the XOM_Driver.
void newhandleraster(HT_Renderer_Data* device, const HT_Rendition& r, const HT_DCI_Point& position,
                     const HT_Image& image);
