// The host's image row source: an RGBA image resampled (nearest pixel) into band buffers at the
// size, orientation and pixel format the driver asks for.
#include <algorithm>
#include <limits>
#include <new>

#include "hdi/HT_Image_Row_Source.h"

int HT_Band_Format_Bytes(int format) {
    switch (format) {
        case HT_BAND_FORMAT_CLASS8:
        case HT_BAND_FORMAT_GRAY8:
            return 1;
        case HT_BAND_FORMAT_BGR24:
            return 3;
        case HT_BAND_FORMAT_BGRA32:
            return 4;
        default:
            return 0;
    }
}

namespace {

int OverWhite(int c, int alpha) {
    return (c * alpha + 255 * (255 - alpha) + 127) / 255;
}

int LuminanceOf(int r, int g, int b) {
    return (9 * r + 5 * g + 2 * b) >> 4;
}

// Writes one source pixel (RGBA) in the request's format.
void PutPixel(const std::uint8_t* p, const HT_Image_Band_Request& q, int threshold,
              std::uint8_t* out) {
    const int a = p[3];
    const int r = OverWhite(p[0], a);
    const int g = OverWhite(p[1], a);
    const int b = OverWhite(p[2], a);
    const bool ink = LuminanceOf(r, g, b) < threshold;
    switch (q.format) {
        case HT_BAND_FORMAT_CLASS8:
            out[0] = a == 0 ? 0 : ink ? 2 : 1;
            break;
        case HT_BAND_FORMAT_GRAY8:
            out[0] = static_cast<std::uint8_t>(LuminanceOf(r, g, b));
            break;
        case HT_BAND_FORMAT_BGR24:
            if (q.bitonal) {
                const std::uint8_t v = ink ? 255 : 0;
                out[0] = out[1] = out[2] = v;
            } else if (a == 0 && q.transparent) {
                out[0] = q.key.b;
                out[1] = q.key.g;
                out[2] = q.key.r;
            } else {
                out[0] = static_cast<std::uint8_t>(b);
                out[1] = static_cast<std::uint8_t>(g);
                out[2] = static_cast<std::uint8_t>(r);
            }
            break;
        default:  // BGRA32: the pixel as it is
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
            out[3] = p[3];
            break;
    }
}

}  // namespace

HT_RGBA_Row_Source::HT_RGBA_Row_Source(int width, int height, const std::uint8_t* rgba,
                                       int threshold)
    : m_width(width), m_height(height), m_rgba(rgba), m_threshold(threshold) {}

HT_Image_Band HT_RGBA_Row_Source::render_band(const HT_Image_Band_Request& request) {
    const HT_Image_Band_Request& q = request;
    ++m_requests;
    HT_Image_Band band;
    const int bpp = HT_Band_Format_Bytes(q.format);
    if (bpp == 0 || m_rgba == nullptr || m_width < 1 || m_height < 1 || q.columns < 1 ||
        q.rows < 1 || q.row_count < 1 || q.first_row < 0 || q.first_row > q.rows - q.row_count ||
        (q.orientation & ~HT_ORIENTATION_HALF_TURN) != 0)
        return band;  // HT_BAND_FAILED
    const auto columns = static_cast<std::size_t>(q.columns);
    if (columns >
        std::numeric_limits<std::size_t>::max() / 4 / static_cast<std::size_t>(q.row_count))
        return band;
    const std::size_t stride = columns * static_cast<std::size_t>(bpp);
    const std::size_t bytes = stride * static_cast<std::size_t>(q.row_count);
    if (m_bandLimit != 0 && bytes > m_bandLimit) {
        ++m_refusals;
        band.status = HT_BAND_NO_MEMORY;
        return band;
    }
    std::shared_ptr<std::uint8_t[]> buffer;
    std::vector<int> sourceColumn;
    try {
        buffer = std::shared_ptr<std::uint8_t[]>(new std::uint8_t[bytes]);
        sourceColumn.resize(columns);
    } catch (const std::bad_alloc&) {
        ++m_refusals;
        band.status = HT_BAND_NO_MEMORY;
        return band;
    }
    const bool mirrorRows = (q.orientation & 1) != 0;
    const bool bottomFirst = (q.orientation & 2) != 0;
    for (std::size_t x = 0; x < columns; ++x) {
        const std::size_t c = mirrorRows ? columns - 1 - x : x;
        sourceColumn[x] = static_cast<int>(c * static_cast<std::size_t>(m_width) / columns);
    }
    for (int k = 0; k < q.row_count; ++k) {
        const long long oriented = static_cast<long long>(q.first_row) + k;
        const long long y = bottomFirst ? q.rows - 1 - oriented : oriented;
        const long long sy = y * m_height / q.rows;
        const std::uint8_t* src =
            m_rgba + static_cast<std::size_t>(sy) * static_cast<std::size_t>(m_width) * 4;
        std::uint8_t* out = buffer.get() + static_cast<std::size_t>(k) * stride;
        for (std::size_t x = 0; x < columns; ++x)
            PutPixel(src + static_cast<std::size_t>(sourceColumn[x]) * 4, q, m_threshold,
                     out + x * static_cast<std::size_t>(bpp));
    }
    band.status = HT_BAND_OK;
    band.data = buffer.get();
    band.row_stride = stride;
    band.row_count = q.row_count;
    band.host = std::move(buffer);
    ++m_live;
    return band;
}

void HT_RGBA_Row_Source::release_band(HT_Image_Band& band) {
    if (band.host) --m_live;
    band.host.reset();
    band.data = nullptr;
    band.row_count = 0;
}
