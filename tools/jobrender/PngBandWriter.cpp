#include "tools/jobrender/PngBandWriter.h"

#include <png.h>

#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstring>

namespace jobrender {

struct PngBandWriter::State {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    int width = 0;
};

PngBandWriter::PngBandWriter(std::string path, double dpi) : m_path(std::move(path)), m_dpi(dpi) {}

PngBandWriter::~PngBandWriter() {
    close();
}

void PngBandWriter::close() {
    if (!m_state) return;
    if (m_state->png) png_destroy_write_struct(&m_state->png, &m_state->info);
    if (m_state->file) std::fclose(m_state->file);
    m_state.reset();
}

bool PngBandWriter::begin(int width, int height) {
    m_state = std::make_unique<State>();
    m_state->width = width;
    m_state->file = std::fopen(m_path.c_str(), "wb");
    if (!m_state->file) {
        m_error = "cannot create " + m_path + ": " + std::strerror(errno);
        return false;
    }
    m_state->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (m_state->png) m_state->info = png_create_info_struct(m_state->png);
    if (!m_state->png || !m_state->info) {
        m_error = "out of memory for the PNG writer";
        return false;
    }
    if (setjmp(png_jmpbuf(m_state->png))) {
        m_error = "cannot write " + m_path;
        return false;
    }
    png_init_io(m_state->png, m_state->file);
    png_set_IHDR(m_state->png, m_state->info, static_cast<png_uint_32>(width),
                 static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const auto perMetre = static_cast<png_uint_32>(std::lround(m_dpi / 0.0254));
    png_set_pHYs(m_state->png, m_state->info, perMetre, perMetre, PNG_RESOLUTION_METER);
    png_write_info(m_state->png, m_state->info);
    return true;
}

bool PngBandWriter::band(int, int rows, const std::uint8_t* rgb) {
    if (!m_state || !m_state->png) return false;
    if (setjmp(png_jmpbuf(m_state->png))) {
        m_error = "cannot write " + m_path;
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(m_state->width) * 3;
    for (int r = 0; r < rows; ++r)
        png_write_row(m_state->png,
                      const_cast<png_bytep>(rgb + rowBytes * static_cast<std::size_t>(r)));
    return true;
}

bool PngBandWriter::end() {
    if (!m_state || !m_state->png) return false;
    if (setjmp(png_jmpbuf(m_state->png))) {
        m_error = "cannot write " + m_path;
        return false;
    }
    png_write_end(m_state->png, m_state->info);
    png_destroy_write_struct(&m_state->png, &m_state->info);
    const bool closed = std::fclose(m_state->file) == 0;
    m_state->file = nullptr;
    m_state.reset();
    if (!closed) {
        m_error = "cannot write " + m_path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace jobrender
