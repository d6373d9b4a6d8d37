#include "tools/xomplot/ImageDispatch.h"

#include <array>
#include <cstdlib>
#include <limits>

#include "hdi/HT_Error.h"
#include "hdi/HT_Image_Row_Source.h"
#include "tools/xomplot/PngImage.h"

namespace xomplot {

namespace {

// RGBA composed over white paper.
std::array<int, 3> OverWhite(const std::uint8_t* p) {
    const int a = p[3];
    auto mix = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
    return {mix(p[0]), mix(p[1]), mix(p[2])};
}

void ReportUndrawn(HT_Plotter_Device_Data& device, const char* what) {
    device.note_undrawn_primitive();
    if (HT_Error_Handler* h = HT_Get_Host_Error_Handler())
        h->report(HT_MSG_NOT_SUPPORTED, "xomplot::DrawImage", what);
}

// XOM_HOST_BAND_LIMIT (bytes): the host's row source refuses larger bands for lack of memory.
std::size_t HostBandLimit() {
    const char* text = std::getenv("XOM_HOST_BAND_LIMIT");
    if (text == nullptr) return 0;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text, &end, 10);
    return end != text && *end == '\0' ? static_cast<std::size_t>(v) : 0;
}

// The general road: the image is the PNG itself, rendered by the host's row source band by band
// at the size the driver asks for; transparent when any pixel is not opaque.
void DrawGeneralImage(HT_Plotter_Device_Data& device, const DrawingAction& action,
                      const HT_Rendition& r) {
    const DrawingImage& im = action.image;
    const RgbaImage& png = *im.png;
    HT_RGBA_Row_Source source(png.width, png.height, png.rgba.data(), im.threshold);
    source.set_band_memory_limit(HostBandLimit());
    bool opaque = true;
    for (std::size_t i = 3; i < png.rgba.size() && opaque; i += 4) opaque = png.rgba[i] == 255;
    HT_Image image;
    image.kind = HT_IMAGE_KIND_GENERAL;
    image.width = png.width;
    image.height = png.height;
    image.source = &source;
    image.pixel_format = opaque ? HT_PIXEL_FORMAT_RGB : HT_PIXEL_FORMAT_RGBA;
    image.bit_depth = opaque ? 24 : 32;
    image.transparent = !opaque;
    image.dest_width = im.width;
    image.dest_height = im.height;
    const long long top = static_cast<long long>(im.y) + im.height - 1;
    if (top > std::numeric_limits<std::int32_t>::max()) {
        ReportUndrawn(device, "the image leaves the device space");
        return;
    }
    device.draw_dci_image(r, {im.x, static_cast<std::int32_t>(top), 0}, image);
}

}  // namespace

std::vector<std::uint8_t> ToRgb32(const RgbaImage& png) {
    std::vector<std::uint8_t> out(png.rgba.size());
    for (std::size_t i = 0; i + 3 < png.rgba.size(); i += 4) {
        const auto c = OverWhite(&png.rgba[i]);
        out[i] = static_cast<std::uint8_t>(c[2]);
        out[i + 1] = static_cast<std::uint8_t>(c[1]);
        out[i + 2] = static_cast<std::uint8_t>(c[0]);
        out[i + 3] = 0;
    }
    return out;
}

std::vector<std::uint8_t> ToBitonal(const RgbaImage& png, int threshold, int& rowBytes) {
    rowBytes = (png.width + 7) / 8;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(rowBytes) *
                                  static_cast<std::size_t>(png.height));
    for (int y = 0; y < png.height; ++y) {
        for (int x = 0; x < png.width; ++x) {
            const auto c = OverWhite(&png.rgba[(static_cast<std::size_t>(y) * png.width + x) * 4]);
            const int luminance = (9 * c[0] + 5 * c[1] + 2 * c[2]) >> 4;
            if (luminance < threshold)
                out[static_cast<std::size_t>(y) * rowBytes + x / 8] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    return out;
}

std::vector<std::uint8_t> ToIndex8(const RgbaImage& png, const HT_Palette& palette) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(png.width) * png.height);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = OverWhite(&png.rgba[4 * i]);
        int best = 0;
        long bestDistance = std::numeric_limits<long>::max();
        for (int k = 0; k < palette.size(); ++k) {
            const HT_Palette_Entry& e = palette.entry(k);
            const long dr = c[0] - e.r, dg = c[1] - e.g, db = c[2] - e.b;
            const long d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = k;
            }
        }
        out[i] = static_cast<std::uint8_t>(best);
    }
    return out;
}

void DrawImage(HT_Plotter_Device_Data& device, const DrawingAction& action) {
    const DrawingImage& im = action.image;
    if (!im.png) {
        ReportUndrawn(device, "the image's PNG was not loaded");
        return;
    }
    const RgbaImage& png = *im.png;
    const HT_Rendition r = action.rendition();
    HT_Image image;
    image.width = png.width;
    image.height = png.height;
    if (im.kind == ImageKind::General) {
        DrawGeneralImage(device, action, r);
        return;
    }
    std::vector<std::uint8_t> pixels;
    switch (im.kind) {
        case ImageKind::Rgb32:
            pixels = ToRgb32(png);
            image.kind = HT_IMAGE_KIND_RGB32;
            image.row_bytes = png.width * 4;
            break;
        case ImageKind::General:
            return;
        case ImageKind::Index8: {
            const HT_Palette* palette = device.renderer_options().palette.get();
            if (palette == nullptr || palette->size() == 0) {
                ReportUndrawn(device,
                              "index8 images need a palette colour mode (255_Virtual_Pens_Mono or "
                              "255_Virtual_Pens_Color)");
                return;
            }
            pixels = ToIndex8(png, *palette);
            image.kind = HT_IMAGE_KIND_INDEX8;
            image.row_bytes = png.width;
            break;
        }
        case ImageKind::Bitonal:
            pixels = ToBitonal(png, im.threshold, image.row_bytes);
            image.kind = HT_IMAGE_KIND_BITONAL;
            image.flags = HT_BITONAL_HIGH_BIT_FIRST | HT_BITONAL_ZERO_IS_WHITE;
            break;
    }
    image.pixels = pixels.data();
    // Corner 1 top-left, corner 2 bottom-right, from the lower-left corner and the size.
    const auto x0 = static_cast<float>(im.x);
    const auto y0 = static_cast<float>(im.y);
    const HT_DC_Point c1{x0, y0 + static_cast<float>(im.height - 1), 0};
    const HT_DC_Point c2{x0 + static_cast<float>(im.width - 1), y0, 0};
    device.draw_dc_raster_image(r, c1, c2, image);
}

}  // namespace xomplot
