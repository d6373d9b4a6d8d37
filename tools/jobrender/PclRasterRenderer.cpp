#include "tools/jobrender/PclRasterRenderer.h"

#include <algorithm>
#include <cmath>

namespace jobrender {

namespace {

// Wider than any roll at the highest resolution (218 inches at 1200 dpi).
constexpr long kMostPixelsPerRow = 1L << 18;

// An index the palette does not set: 0 white, any other black (the printer's simple palette).
Rgb DefaultIndexColour(int index) {
    return index == 0 ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
}

std::uint8_t Component(double v) {
    if (!(v > 0)) return 0;
    if (v >= 255) return 255;
    return static_cast<std::uint8_t>(std::lround(v));
}

// PackBits: a count byte n; 0-127 copy n + 1 bytes, 129-255 repeat the next byte 257 - n times,
// 128 does nothing. Bytes past the row are an error; a short row ends in zeros.
bool Method2(std::string_view data, std::vector<std::uint8_t>& row) {
    const std::size_t size = row.size();
    std::fill(row.begin(), row.end(), 0);
    std::size_t out = 0;
    for (std::size_t i = 0; i < data.size();) {
        const auto n = static_cast<std::uint8_t>(data[i++]);
        if (n < 128) {
            const std::size_t count = n + 1u;
            if (i + count > data.size() || out + count > size) return false;
            for (std::size_t k = 0; k < count; ++k)
                row[out++] = static_cast<std::uint8_t>(data[i++]);
        } else if (n > 128) {
            const std::size_t count = 257u - n;
            if (i >= data.size() || out + count > size) return false;
            const auto v = static_cast<std::uint8_t>(data[i++]);
            for (std::size_t k = 0; k < count; ++k) row[out++] = v;
        }
    }
    return true;
}

// Delta row: command byte ((count - 1) << 5) | offset; offset 31 continues in bytes until one
// below 255; then count replacement bytes, placed offset bytes after the last one replaced.
bool Method3(std::string_view data, std::vector<std::uint8_t>& seed) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < data.size();) {
        const auto command = static_cast<std::uint8_t>(data[i++]);
        const std::size_t count = (command >> 5) + 1u;
        std::size_t offset = command & 31u;
        if (offset == 31) {
            for (;;) {
                if (i >= data.size()) return false;
                const auto more = static_cast<std::uint8_t>(data[i++]);
                offset += more;
                if (more != 255) break;
            }
        }
        at += offset;
        if (i + count > data.size() || at + count > seed.size()) return false;
        for (std::size_t k = 0; k < count; ++k) seed[at++] = static_cast<std::uint8_t>(data[i++]);
    }
    return true;
}

}  // namespace

void PclRasterRenderer::begin_pass() {
    m_config = {0, 1, 1, 8, 8, 8};
    m_palette.clear();
    m_pending = {0, 0, 0};
    m_transparency = 1;
    m_resolution = 75;
    m_width = m_height = 0;
    m_method = 0;
    m_started = false;
    m_seed.clear();
    m_badRows = 0;
}

int PclRasterRenderer::bits_per_pixel() const {
    if (m_config[1] >= 2) return 24;  // direct by plane or by pixel: 8 bits a primary
    return std::clamp<int>(m_config[2], 1, 8);
}

std::size_t PclRasterRenderer::row_bytes() const {
    const auto w = static_cast<std::size_t>(m_width);
    const int bits = bits_per_pixel();
    return bits == 24 ? 3 * w : (w * static_cast<std::size_t>(bits) + 7) / 8;
}

Rgb PclRasterRenderer::colour_at(std::size_t x) const {
    const int bits = bits_per_pixel();
    if (bits == 24) return {m_seed[3 * x], m_seed[3 * x + 1], m_seed[3 * x + 2]};
    const std::size_t bit = x * static_cast<std::size_t>(bits);
    const unsigned byte = m_seed[bit / 8];
    const unsigned shift = 8u - static_cast<unsigned>(bits) - static_cast<unsigned>(bit % 8);
    const int index = static_cast<int>((byte >> shift) & ((1u << bits) - 1u));
    const auto it = m_palette.find(index);
    return it != m_palette.end() ? it->second : DefaultIndexColour(index);
}

bool PclRasterRenderer::configure(const PclCommand& c) {
    if (c.data.size() < 6) return false;
    for (std::size_t k = 0; k < 6; ++k) m_config[k] = static_cast<std::uint8_t>(c.data[k]);
    m_palette.clear();  // a new configuration starts from its default palette
    return true;
}

void PclRasterRenderer::paint(RasterCanvas& canvas) {
    const double p = 1016.0 / m_resolution;
    const double k0 = static_cast<double>(m_rowIndex) * p;
    const double length = static_cast<double>(m_width) * p;
    // The row's rectangle in the printer's frame, to skip rows outside the band.
    double ax0, ay0, ax1, ay1;
    if (m_turned) {
        ax0 = m_originX + k0, ax1 = ax0 + p, ay0 = m_originY, ay1 = m_originY + length;
    } else {
        ax0 = m_originX + p - length, ax1 = m_originX + p, ay0 = m_originY + k0, ay1 = ay0 + p;
    }
    if (!canvas.band_may_touch(ax0, ay0, ax1, ay1)) return;
    const bool mergeWhite = m_transparency == 0;
    const auto w = static_cast<std::size_t>(m_width);
    for (std::size_t x = 0; x < w;) {
        const Rgb colour = colour_at(x);
        std::size_t end = x + 1;
        while (end < w && colour_at(end) == colour) ++end;
        const double a = static_cast<double>(x) * p;
        const double b = static_cast<double>(end) * p;
        if (m_turned) {
            canvas.fill_rect(ax0, m_originY + a, ax1, m_originY + b, colour, mergeWhite);
        } else {
            canvas.fill_rect(m_originX + p - b, ay0, m_originX + p - a, ay1, colour, mergeWhite);
        }
        x = end;
    }
}

bool PclRasterRenderer::row(const PclCommand& c, RasterCanvas& canvas) {
    if (!m_started) return false;
    bool ok = true;
    if (m_method == 2) {
        ok = Method2(c.data, m_seed);
    } else if (m_method == 3) {
        ok = Method3(c.data, m_seed);
    } else if (m_method == 0) {
        std::fill(m_seed.begin(), m_seed.end(), 0);
        const std::size_t n = std::min(c.data.size(), m_seed.size());
        for (std::size_t k = 0; k < n; ++k) m_seed[k] = static_cast<std::uint8_t>(c.data[k]);
    } else {
        return false;
    }
    if (!ok) {
        ++m_badRows;
        return false;
    }
    if (m_height <= 0 || m_rowIndex < m_height) paint(canvas);
    ++m_rowIndex;
    return true;
}

bool PclRasterRenderer::command(const PclCommand& c, RasterCanvas& canvas) {
    if (c.family != '*') return false;
    switch (c.group) {
        case 'v':
            switch (c.parameter) {
                case 'W':
                    return configure(c);
                case 'A':
                case 'B':
                case 'C':
                    m_pending[static_cast<std::size_t>(c.parameter - 'A')] = c.value;
                    return true;
                case 'I':
                    m_palette[static_cast<int>(c.value)] = {
                        Component(m_pending[0]), Component(m_pending[1]), Component(m_pending[2])};
                    m_pending = {0, 0, 0};
                    return true;
                case 'N':
                    m_transparency = static_cast<int>(c.value);
                    return true;
                default:
                    return false;
            }
        case 't':
            if (c.parameter != 'R' || !(c.value > 0) || c.value > 100000) return false;
            m_resolution = c.value;
            return true;
        case 'r':
            switch (c.parameter) {
                case 'S':
                    if (c.value < 0 || c.value > kMostPixelsPerRow) return false;
                    m_width = static_cast<long>(c.value);
                    return true;
                case 'T':
                    if (c.value < 0) return false;
                    m_height = static_cast<long>(std::min(c.value, 1e9));
                    return true;
                case 'A':
                    m_started = m_width > 0;
                    m_seed.assign(row_bytes(), 0);
                    m_rowIndex = 0;
                    m_turned = canvas.page_turned();
                    m_originX = canvas.cursor_x();
                    m_originY = canvas.cursor_y();
                    return m_started;
                case 'C':
                    m_started = false;
                    return true;
                default:
                    return false;
            }
        case 'b':
            if (c.parameter == 'M') {
                m_method = static_cast<int>(c.value);
                return m_method == 0 || m_method == 2 || m_method == 3;
            }
            if (c.parameter == 'W') return row(c, canvas);
            return false;
        default:
            return false;
    }
}

}  // namespace jobrender
