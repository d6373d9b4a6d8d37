#pragma once
// Writes a rendered page to a PNG file (8-bit RGB) band by band, so a page never has to be in
// memory whole.
#include <cstdio>
#include <memory>
#include <string>

#include "tools/jobrender/JobRenderer.h"

namespace jobrender {

class PngBandWriter : public BandSink {
  public:
    // Resolution is written into the file (pHYs) so viewers show the page at its real size.
    PngBandWriter(std::string path, double dpi);
    ~PngBandWriter() override;
    PngBandWriter(const PngBandWriter&) = delete;
    PngBandWriter& operator=(const PngBandWriter&) = delete;

    bool begin(int width, int height) override;
    bool band(int firstRow, int rows, const std::uint8_t* rgb) override;
    bool end() override;
    std::string error() const override { return m_error; }

  private:
    struct State;
    void close();
    std::string m_path;
    double m_dpi;
    std::string m_error;
    std::unique_ptr<State> m_state;
};

}  // namespace jobrender
