#include "tools/jobrender/JobRenderer.h"

#include <algorithm>
#include <cmath>

#include "tools/jobrender/BandCanvas.h"
#include "tools/jobrender/JobInterpreter.h"

namespace jobrender {
namespace {

class ImageSink : public BandSink {
  public:
    explicit ImageSink(Image& image) : m_image(image) {}
    bool begin(int width, int height) override {
        m_image.width = width;
        m_image.height = height;
        m_image.rgb.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3,
                           0);
        return true;
    }
    bool band(int firstRow, int rows, const std::uint8_t* rgb) override {
        const std::size_t rowBytes = static_cast<std::size_t>(m_image.width) * 3;
        std::copy(rgb, rgb + rowBytes * static_cast<std::size_t>(rows),
                  m_image.rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * firstRow));
        return true;
    }
    bool end() override { return true; }
    std::string error() const override { return {}; }

  private:
    Image& m_image;
};

}  // namespace

RenderResult RenderJob(std::string_view job, const RenderOptions& options, BandSink& sink) {
    RenderResult result;
    if (!(options.dpi > 0) || options.dpi > 10000) {
        result.error = "the resolution must lie between 1 and 10000 dpi";
        return result;
    }
    // Checking pass: the page frame, warnings, and whether the stream is well formed.
    JobInterpreter check(job, options, nullptr, nullptr);
    const PassResult scan = check.run();
    result.warnings = scan.warnings;
    result.pages = scan.pages;
    result.pageLengthPlu = scan.page.length;
    result.pageWidthPlu = scan.page.width;
    result.rotated = scan.page.rotated();
    if (!scan.ok) {
        result.error = scan.error;
        result.errorOffset = scan.errorOffset;
        result.malformed = true;
        return result;
    }
    const double k = options.dpi / 1016.0;
    const double w = std::ceil(scan.page.width * k - 1e-9);
    const double h = std::ceil(scan.page.length * k - 1e-9);
    if (w < 1 || h < 1 || w > static_cast<double>(options.maxPixelsPerSide) ||
        h > static_cast<double>(options.maxPixelsPerSide)) {
        result.error = "the page of " + std::to_string(static_cast<long long>(w)) + " x " +
                       std::to_string(static_cast<long long>(h)) +
                       " pixels lies outside the renderer's limit";
        return result;
    }
    result.width = static_cast<int>(w);
    result.height = static_cast<int>(h);
    if (!sink.begin(result.width, result.height)) {
        result.error = sink.error();
        return result;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(result.width) * 3;
    const int bandRows = static_cast<int>(std::clamp<std::size_t>(
        options.bandBytes / rowBytes, 1, static_cast<std::size_t>(result.height)));
    for (int first = 0; first < result.height; first += bandRows) {
        const int rows = std::min(bandRows, result.height - first);
        BandCanvas band(result.width, first, rows, options.paper);
        JobInterpreter paint(job, options, &scan.page, &band);
        paint.run();
        if (!sink.band(first, rows, band.data())) {
            result.error = sink.error();
            return result;
        }
    }
    if (!sink.end()) {
        result.error = sink.error();
        return result;
    }
    result.ok = true;
    return result;
}

RenderResult RenderJobToImage(std::string_view job, const RenderOptions& options, Image& image) {
    ImageSink sink(image);
    return RenderJob(job, options, sink);
}

}  // namespace jobrender
