// Job files are outside input to `xomplot preview`: the renderer must answer any bytes with an
// image or a clear error, within its page limit, never crash, hang or read past the stream.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/jobrender/JobRenderer.h"

namespace {

// Paints a small block at the cursor for each row of data, so raster paths reach the canvas.
class BlockRaster : public jobrender::PclRasterHandler {
  public:
    bool command(const jobrender::PclCommand& c, jobrender::RasterCanvas& canvas) override {
        if (c.group != 'b' || c.parameter != 'W') return false;
        const double x = canvas.cursor_x(), y = canvas.cursor_y();
        if (canvas.band_may_touch(x, y - 50, x + 50, y))
            canvas.fill_rect(x, y - 50, x + 50, y, jobrender::Rgb{0, 0, 255}, c.data.size() % 2);
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view job(reinterpret_cast<const char*>(data), size);
    BlockRaster raster;
    jobrender::RenderOptions o;
    o.dpi = 6.35;  // 160 plotter units a pixel: ISO A4 is 74 x 53 pixels
    o.maxPixelsPerSide = 256;
    o.bandBytes = 256 * 3 * 16;
    o.raster = &raster;
    jobrender::Image image;
    const jobrender::RenderResult r = jobrender::RenderJobToImage(job, o, image);
    if (r.ok) {
        if (image.width != r.width || image.height != r.height || image.width < 1 ||
            image.height < 1 || image.width > 256 || image.height > 256)
            __builtin_trap();
    } else {
        if (r.error.empty() || r.errorOffset > size) __builtin_trap();
    }
    return 0;
}
