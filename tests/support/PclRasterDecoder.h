#pragma once
// Test-only reader of the PCL raster in a job stream: the row decoders of compression methods 2
// (PackBits) and 3 (delta row), and a reader that collects each raster image between "\e%1A" and
// "\e*rC" with its configure-image-data block, palette, size and decoded rows. Written from the
// PCL rules, independently of the driver's encoder; every malformed input is an error, never a
// guess.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace xomtest {

// Decodes one method-2 row into `row` (resized to rowBytes; bytes past the data are 0). False
// with a reason for truncated data or output past rowBytes.
bool DecodeMethod2(const std::uint8_t* data, std::size_t length, std::size_t rowBytes,
                   std::vector<std::uint8_t>& row, std::string& error);
// Applies one method-3 row to `seed` (which holds the previous row and becomes this one).
bool DecodeMethod3(const std::uint8_t* data, std::size_t length, std::vector<std::uint8_t>& seed,
                   std::string& error);

struct PclRasterImage {
    std::size_t startOffset = 0;  // offset of "\e%1A" in the stream
    std::string hpglBefore;       // HP-GL/2 between the previous raster (or the start) and this
    bool configured = false;      // a configure-image-data block came with this image
    std::array<std::uint8_t, 6> config{};                // the last block in force
    std::map<int, std::array<std::uint8_t, 3>> palette;  // palette in force
    int transparency = -1;                               // "\e*v#N", -1 when not sent
    int resolution = 0;
    int width = 0;   // "\e*r#S"
    int height = 0;  // "\e*r#t"
    std::vector<std::vector<std::uint8_t>> rows;
    int method2Rows = 0;
    int method3Rows = 0;
    int repeatedRows = 0;  // "\e*b0W" under method 3
    int methodCommands = 0;
    std::string after;  // what follows "\e*rC" up to the next raster or the end

    // Bits per pixel of the rows (from the block in force); 24 for direct colour.
    int BitsPerPixel() const;
    std::size_t RowBytes() const;
    // Pixel value at (x, y): an index (or gray level) for indexed images, 0xRRGGBB for direct.
    std::uint32_t Pixel(int x, int y) const;
    // The pixel's colour through the palette (indexed) or as sent (direct), 0xRRGGBB.
    std::uint32_t Colour(int x, int y) const;
};

// Every raster image of a job stream, in order. False with a reason at the first malformed
// sequence (error names the offset).
bool ReadPclRasters(const std::string& stream, std::vector<PclRasterImage>& images,
                    std::string& error);

}  // namespace xomtest
