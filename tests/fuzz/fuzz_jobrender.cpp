// Job files are outside input to `xomplot preview`: the renderer must answer any bytes with an
// image or a clear error, within its page limit, never crash, hang or read past the stream.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/jobrender/JobRenderer.h"
#include "tools/jobrender/PclRasterRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view job(reinterpret_cast<const char*>(data), size);
    jobrender::PclRasterRenderer raster;
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
