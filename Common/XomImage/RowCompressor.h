#pragma once
// One image's row compressor: the row being built, the seed row it is compared with, and the
// method-2 and method-3 forms of each row, of which the shorter is sent. The two row buffers
// alternate, so the row just encoded is the seed of the next; both start zero-filled, as the
// printer's seed row does at a raster start.
//
// Rows leave through the stream's byte sender with "\e*b2M"/"\e*b3M" only when the method
// changes. The compressor lives for one image on the host's rendering thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "Common/XOM/PlotStreamState.h"

namespace xomimage {

class RowCompressor {
  public:
    // bytesPerPixel: 3 colour, 1 gray or index, 0 one bit per pixel. Null when the buffers
    // cannot be allocated or the width is not positive.
    static std::unique_ptr<RowCompressor> Create(std::string name, std::int32_t width,
                                                 int bytesPerPixel, PlotStreamState& stream);

    // The row to fill before Encode: RowBytes() bytes (plus 256 bytes of slack).
    std::uint8_t* Row() { return m_rows[m_current].get(); }
    std::size_t RowBytes() const { return m_rowBytes; }
    const std::string& Name() const { return m_name; }

    // Sends the row just built, then repeat - 1 empty delta rows that repeat it (repeat >= 2).
    // The row becomes the seed of the next.
    void Encode(int repeat = 1);
    // Sends `count` empty delta rows under method 3: the printer repeats the last row sent.
    void RepeatLastRow(int count);

    // At a raster start the printer has no method in force.
    void ForgetMethod() { m_currentMethod = -1; }
    int CurrentMethod() const { return m_currentMethod; }

    std::uint64_t InputBytes() const { return m_inputBytes; }
    std::uint64_t Method2Bytes() const { return m_method2Bytes; }
    std::uint64_t Method3Bytes() const { return m_method3Bytes; }
    std::uint64_t Rows() const { return m_rowCount; }

  private:
    RowCompressor(std::string name, std::size_t rowBytes, PlotStreamState& stream);
    void UseMethod(int method);
    void Send(const char* bytes, std::size_t length);

    std::string m_name;
    std::size_t m_rowBytes;
    PlotStreamState& m_stream;
    std::unique_ptr<std::uint8_t[]> m_rows[2];
    std::unique_ptr<std::uint8_t[]> m_method2;
    std::unique_ptr<std::uint8_t[]> m_method3;
    int m_current = 0;
    int m_currentMethod = -1;
    std::uint64_t m_inputBytes = 0;
    std::uint64_t m_method2Bytes = 0;
    std::uint64_t m_method3Bytes = 0;
    std::uint64_t m_rowCount = 0;
};

// Row bytes for a width and bytes per pixel (0: one bit per pixel, rows padded to whole bytes).
std::size_t RowBytesFor(std::int32_t width, int bytesPerPixel);

}  // namespace xomimage
