#include "tools/xomplot/ImageDispatch.h"

#include <array>
#include <limits>

#include "hdi/HT_Error.h"
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
    std::vector<std::uint8_t> pixels;
    switch (im.kind) {
        case ImageKind::Rgb32:
        case ImageKind::General:
            pixels = ToRgb32(png);
            image.kind = im.kind == ImageKind::Rgb32 ? HT_IMAGE_KIND_RGB32 : HT_IMAGE_KIND_GENERAL;
            image.row_bytes = png.width * 4;
            break;
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
    if (im.kind == ImageKind::General) {
        device.draw_dci_image(
            r, {im.x, static_cast<std::int32_t>(static_cast<long long>(im.y) + im.height - 1), 0},
            image);
    } else {
        device.draw_dc_raster_image(r, c1, c2, image);
    }
}

}  // namespace xomplot
