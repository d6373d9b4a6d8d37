#pragma once
// The image row source of the general raster road: the host renders an image's region into a
// band buffer at the size, orientation and pixel format a driver asks for, and takes the band
// back when the driver is done with it. A driver that cannot hold the image whole asks for it at
// a reduced size, band after band, and enlarges it itself.
//
// Band formats (bytes per pixel in brackets):
// - HT_BAND_FORMAT_CLASS8 [1]: 0 background (nothing drawn), 1 white paper, 2 ink of the
//   image's foreground colour;
// - HT_BAND_FORMAT_GRAY8 [1]: a gray level, 0 black to 255 white;
// - HT_BAND_FORMAT_BGR24 [3]: blue, green, red over white paper; a background pixel of a
//   transparent request is the request's key colour; for a bitonal request ink is (255, 255, 255)
//   and paper (0, 0, 0);
// - HT_BAND_FORMAT_BGRA32 [4]: blue, green, red and alpha (0 where nothing is drawn).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "hdi/HT_Geometry.h"

inline constexpr int HT_BAND_FORMAT_CLASS8 = 0;
inline constexpr int HT_BAND_FORMAT_GRAY8 = 1;
inline constexpr int HT_BAND_FORMAT_BGR24 = 3;
inline constexpr int HT_BAND_FORMAT_BGRA32 = 4;

// Bytes per pixel of a band format; 0 for an unknown one.
int HT_Band_Format_Bytes(int format);

// Orientation codes: bit 0 mirrors each row (right to left), bit 1 the rows (bottom row first);
// 3 turns the image by half a turn.
inline constexpr int HT_ORIENTATION_AS_IS = 0;
inline constexpr int HT_ORIENTATION_HALF_TURN = 3;

struct HT_Image_Band_Request {
    int columns = 0;  // the image is rendered at columns x rows
    int rows = 0;
    int first_row = 0;  // the band: rows first_row .. first_row + row_count - 1 of the oriented
    int row_count = 0;  // image
    int orientation = HT_ORIENTATION_AS_IS;
    int format = HT_BAND_FORMAT_BGR24;
    bool bitonal = false;
    bool transparent = false;  // background pixels take the key colour (else white paper)
    // Background of a transparent BGR24 band: red 250, green 241, blue 255.
    HT_RGB key{255, 241, 250, 0};
};

inline constexpr int HT_BAND_OK = 0;
inline constexpr int HT_BAND_NO_MEMORY = 1;  // ask again for fewer rows
inline constexpr int HT_BAND_FAILED = 2;     // the image cannot be rendered

struct HT_Image_Band {
    int status = HT_BAND_FAILED;
    const std::uint8_t* data = nullptr;  // row_count rows of row_stride bytes, first row first
    std::size_t row_stride = 0;
    int row_count = 0;
    std::shared_ptr<void> host;  // the host's hold on the buffer until release
};

class HT_Image_Row_Source {
  public:
    virtual ~HT_Image_Row_Source() = default;
    virtual HT_Image_Band render_band(const HT_Image_Band_Request& request) = 0;
    virtual void release_band(HT_Image_Band& band) = 0;
};

// The host's row source over an 8-bit RGBA image (red, green, blue, alpha; rows top first),
// resampled to the nearest pixel. Pixels darker than the threshold (luminance) are ink in
// CLASS8 and bitonal bands; a pixel with alpha 0 is background.
class HT_RGBA_Row_Source : public HT_Image_Row_Source {
  public:
    // The pixels must outlive the source.
    HT_RGBA_Row_Source(int width, int height, const std::uint8_t* rgba, int threshold = 128);

    HT_Image_Band render_band(const HT_Image_Band_Request& request) override;
    void release_band(HT_Image_Band& band) override;

    // A band whose buffer would need more bytes than this fails for lack of memory (as a host
    // short of memory does); 0 lifts the limit.
    void set_band_memory_limit(std::size_t bytes) { m_bandLimit = bytes; }
    // Bands asked for and bands refused for lack of memory, for tests.
    int requests() const { return m_requests; }
    int refusals() const { return m_refusals; }
    int live_bands() const { return m_live; }

  private:
    int m_width;
    int m_height;
    const std::uint8_t* m_rgba;
    int m_threshold;
    std::size_t m_bandLimit = 0;
    int m_requests = 0;
    int m_refusals = 0;
    int m_live = 0;
};
