// The host's standard image routines: integer-coordinate images go to the device's image action
// of their kind; device-coordinate images are rounded to dots, resampled to the rectangle they
// span, and handed on in bands of bounded size, so an image stretched over a whole roll never
// needs the whole enlarged copy in memory. What cannot be drawn is reported as error 90 and
// counted on the device.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "hdi/HT_Plotter_Device_Data.h"

namespace {

// Bytes of one band of a resampled device-coordinate image.
constexpr std::size_t kBandBytes = 16u << 20;

void ReportUndrawn(HT_Renderer_Data* device, const char* function, const char* what) {
    if (device != nullptr) device->note_undrawn_primitive();
    if (HT_Error_Handler* h = HT_Get_Host_Error_Handler()) {
        h->report(HT_MSG_NOT_SUPPORTED, function, what);
    } else {
        std::fprintf(stderr, "%s: %s\n", function, what);
    }
}

bool KnownKind(int kind) {
    return kind == HT_IMAGE_KIND_RGB32 || kind == HT_IMAGE_KIND_INDEX8 ||
           kind == HT_IMAGE_KIND_BITONAL;
}

// Bytes one row of the image needs; 0 for a kind without a fixed layout or a bad width.
std::size_t NeededRowBytes(int kind, long long width) {
    if (width <= 0 || width > std::numeric_limits<int>::max()) return 0;
    const auto w = static_cast<std::size_t>(width);
    switch (kind) {
        case HT_IMAGE_KIND_RGB32:
            return 4 * w;
        case HT_IMAGE_KIND_INDEX8:
            return w;
        case HT_IMAGE_KIND_BITONAL:
            return (w + 7) / 8;
        default:
            return 0;
    }
}

// The pixel data is there and covers width x height.
bool HasPixels(const HT_Image& image) {
    const std::size_t need = NeededRowBytes(image.kind, image.width);
    return image.pixels != nullptr && image.height > 0 && need != 0 && image.row_bytes > 0 &&
           static_cast<std::size_t>(image.row_bytes) >= need;
}

bool BitAt(const std::uint8_t* row, long long x, bool lowFirst) {
    const std::uint8_t byte = row[x / 8];
    const int bit = static_cast<int>(x % 8);
    return ((lowFirst ? byte >> bit : byte >> (7 - bit)) & 1) != 0;
}

void SetBit(std::uint8_t* row, long long x, bool lowFirst) {
    const int bit = static_cast<int>(x % 8);
    row[x / 8] |= static_cast<std::uint8_t>(lowFirst ? 1 << bit : 0x80 >> bit);
}

long long RoundDot(float v) {
    if (!std::isfinite(v)) return 0;
    const double r = std::floor(static_cast<double>(v) + 0.5);
    return static_cast<long long>(std::clamp(r, -2147483647.0, 2147483647.0));
}

void DrawDcImage(HT_Renderer_Data* device, const HT_Rendition& r, const HT_DC_Point& corner1,
                 const HT_DC_Point& corner2, const HT_Image& image, int kind,
                 const char* function) {
    if (device == nullptr) return;
    if (image.kind != kind || !HasPixels(image)) {
        ReportUndrawn(device, function, "the image has no pixels of its kind");
        return;
    }
    const long long x1 = RoundDot(std::min(corner1.x, corner2.x));
    const long long x2 = RoundDot(std::max(corner1.x, corner2.x));
    const long long y1 = RoundDot(std::max(corner1.y, corner2.y));
    const long long y2 = RoundDot(std::min(corner1.y, corner2.y));
    const long long width = x2 - x1 + 1;
    const long long height = y1 - y2 + 1;
    const std::size_t rowBytes = NeededRowBytes(kind, width);
    if (rowBytes == 0 || height <= 0) return;  // nothing covers a dot

    const std::size_t bandRows = std::max<std::size_t>(1, kBandBytes / rowBytes);
    std::vector<std::uint8_t> band;
    try {
        band.resize(rowBytes * std::min<std::size_t>(bandRows, static_cast<std::size_t>(height)));
    } catch (const std::bad_alloc&) {
        ReportUndrawn(device, function, "no memory for the resampled image");
        return;
    }
    // Source column of every destination column, once.
    std::vector<long long> column(static_cast<std::size_t>(width));
    for (long long x = 0; x < width; ++x)
        column[static_cast<std::size_t>(x)] = x * image.width / width;
    const bool lowFirst = (image.flags & HT_BITONAL_HIGH_BIT_FIRST) == 0;

    for (long long top = 0; top < height; top += static_cast<long long>(bandRows)) {
        const long long rows = std::min(static_cast<long long>(bandRows), height - top);
        std::fill(band.begin(), band.end(), 0);
        for (long long y = 0; y < rows; ++y) {
            const long long sy = (top + y) * image.height / height;
            const std::uint8_t* src = image.pixels + sy * image.row_bytes;
            std::uint8_t* dst = band.data() + static_cast<std::size_t>(y) * rowBytes;
            for (long long x = 0; x < width; ++x) {
                const long long sx = column[static_cast<std::size_t>(x)];
                switch (kind) {
                    case HT_IMAGE_KIND_RGB32:
                        std::memcpy(dst + 4 * x, src + 4 * sx, 4);
                        break;
                    case HT_IMAGE_KIND_INDEX8:
                        dst[x] = src[sx];
                        break;
                    default:
                        if (BitAt(src, sx, lowFirst)) SetBit(dst, x, lowFirst);
                        break;
                }
            }
        }
        HT_Image piece = image;
        piece.width = static_cast<int>(width);
        piece.height = static_cast<int>(rows);
        piece.row_bytes = static_cast<int>(rowBytes);
        piece.pixels = band.data();
        const HT_DCI_Point c1{static_cast<std::int32_t>(x1), static_cast<std::int32_t>(y1 - top),
                              0};
        const HT_DCI_Point c2{static_cast<std::int32_t>(x2),
                              static_cast<std::int32_t>(y1 - top - rows + 1), 0};
        device->draw_dci_raster_image(r, c1, c2, piece);
    }
}

}  // namespace

void HT_Renderer_Data::draw_dci_raster_image(const HT_Rendition& r, const HT_DCI_Point& corner1,
                                             const HT_DCI_Point& corner2, const HT_Image& image) {
    switch (image.kind) {
        case HT_IMAGE_KIND_RGB32:
            if (const auto& a = m_actions.draw_dci_rgb32_image; a.enabled && a.handler) {
                a.handler(a.owner ? a.owner : this, r, corner1, corner2, image.row_bytes,
                          image.pixels);
                return;
            }
            break;
        case HT_IMAGE_KIND_INDEX8:
            if (const auto& a = m_actions.draw_dci_index8_image; a.enabled && a.handler) {
                a.handler(a.owner ? a.owner : this, r, corner1, corner2, image.row_bytes,
                          image.pixels);
                return;
            }
            break;
        case HT_IMAGE_KIND_BITONAL:
            if (const auto& a = m_actions.draw_dci_bitonal_image; a.enabled && a.handler) {
                a.handler(a.owner ? a.owner : this, r, corner1, corner2, image.row_bytes,
                          image.pixels, image.flags);
                return;
            }
            break;
        default:
            break;
    }
    ReportUndrawn(this, "HT_Renderer_Data::draw_dci_raster_image",
                  "the device has no image action for this kind of image");
}

void HT_Renderer_Data::draw_dc_raster_image(const HT_Rendition& r, const HT_DC_Point& corner1,
                                            const HT_DC_Point& corner2, const HT_Image& image) {
    const HT_Action<HD_DC_Raster_Image_Action>* a = nullptr;
    HD_DC_Raster_Image_Action standard = nullptr;
    switch (image.kind) {
        case HT_IMAGE_KIND_RGB32:
            a = &m_actions.draw_dc_rgb32_image;
            standard = HD_Standard_Draw_DC_RGB32_Image;
            break;
        case HT_IMAGE_KIND_INDEX8:
            a = &m_actions.draw_dc_index8_image;
            standard = HD_Standard_Draw_DC_Index8_Image;
            break;
        case HT_IMAGE_KIND_BITONAL:
            a = &m_actions.draw_dc_bitonal_image;
            standard = HD_Standard_Draw_DC_Bitonal_Image;
            break;
        default:
            ReportUndrawn(this, "HT_Renderer_Data::draw_dc_raster_image",
                          "not a device-coordinate image kind");
            return;
    }
    if (a->enabled && a->handler) {
        a->handler(a->owner ? a->owner : this, r, corner1, corner2, image);
    } else {
        standard(this, r, corner1, corner2, image);
    }
}

void HD_Standard_Draw_DCI_Image(HT_Renderer_Data* device, const HT_Rendition& r,
                                const HT_DCI_Point& position, const HT_Image& image) {
    if (device == nullptr) return;
    if (!KnownKind(image.kind) || !HasPixels(image)) {
        ReportUndrawn(device, "HD_Standard_Draw_DCI_Image",
                      "this host cannot draw an image of this kind without pixels");
        return;
    }
    const long long x2 = static_cast<long long>(position.x) + image.width - 1;
    const long long y2 = static_cast<long long>(position.y) - image.height + 1;
    if (x2 > std::numeric_limits<std::int32_t>::max() ||
        y2 < std::numeric_limits<std::int32_t>::min()) {
        ReportUndrawn(device, "HD_Standard_Draw_DCI_Image", "the image leaves the device space");
        return;
    }
    device->draw_dci_raster_image(
        r, position, {static_cast<std::int32_t>(x2), static_cast<std::int32_t>(y2), 0}, image);
}

void HD_Standard_Draw_DC_Bitonal_Image(HT_Renderer_Data* device, const HT_Rendition& r,
                                       const HT_DC_Point& corner1, const HT_DC_Point& corner2,
                                       const HT_Image& image) {
    DrawDcImage(device, r, corner1, corner2, image, HT_IMAGE_KIND_BITONAL,
                "HD_Standard_Draw_DC_Bitonal_Image");
}

void HD_Standard_Draw_DC_Index8_Image(HT_Renderer_Data* device, const HT_Rendition& r,
                                      const HT_DC_Point& corner1, const HT_DC_Point& corner2,
                                      const HT_Image& image) {
    DrawDcImage(device, r, corner1, corner2, image, HT_IMAGE_KIND_INDEX8,
                "HD_Standard_Draw_DC_Index8_Image");
}

void HD_Standard_Draw_DC_RGB32_Image(HT_Renderer_Data* device, const HT_Rendition& r,
                                     const HT_DC_Point& corner1, const HT_DC_Point& corner2,
                                     const HT_Image& image) {
    DrawDcImage(device, r, corner1, corner2, image, HT_IMAGE_KIND_RGB32,
                "HD_Standard_Draw_DC_RGB32_Image");
}
