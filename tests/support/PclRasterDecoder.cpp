#include "PclRasterDecoder.h"

#include <cctype>
#include <cstdlib>

namespace xomtest {

bool DecodeMethod2(const std::uint8_t* data, std::size_t length, std::size_t rowBytes,
                   std::vector<std::uint8_t>& row, std::string& error) {
    row.assign(rowBytes, 0);
    std::size_t out = 0;
    std::size_t i = 0;
    while (i < length) {
        // The control byte is signed by definition: 0..127 literal, -127..-1 repeat.
        const int count =
            static_cast<std::int8_t>(data[i++]);  // NOLINT(bugprone-signed-char-misuse)
        if (count >= 0) {
            const std::size_t n = static_cast<std::size_t>(count) + 1;
            if (i + n > length) {
                error = "method 2: literal run of " + std::to_string(n) + " past the data";
                return false;
            }
            if (out + n > rowBytes) {
                error = "method 2: literal run past the row";
                return false;
            }
            for (std::size_t k = 0; k < n; ++k) row[out++] = data[i++];
        } else if (count == -128) {
            continue;  // no-op
        } else {
            const std::size_t n = static_cast<std::size_t>(1 - count);
            if (i >= length) {
                error = "method 2: repeat run without its byte";
                return false;
            }
            if (out + n > rowBytes) {
                error = "method 2: repeat run past the row";
                return false;
            }
            const std::uint8_t b = data[i++];
            for (std::size_t k = 0; k < n; ++k) row[out++] = b;
        }
    }
    return true;
}

bool DecodeMethod3(const std::uint8_t* data, std::size_t length, std::vector<std::uint8_t>& seed,
                   std::string& error) {
    std::size_t at = 0;
    std::size_t i = 0;
    while (i < length) {
        const std::uint8_t command = data[i++];
        const std::size_t count = static_cast<std::size_t>(command >> 5) + 1;
        std::size_t offset = command & 31u;
        if (offset == 31) {
            for (;;) {
                if (i >= length) {
                    error = "method 3: offset extension past the data";
                    return false;
                }
                const std::uint8_t more = data[i++];
                offset += more;
                if (more != 255) break;
            }
        }
        at += offset;
        if (i + count > length) {
            error = "method 3: replacement bytes past the data";
            return false;
        }
        if (at + count > seed.size()) {
            error = "method 3: replacement past the row";
            return false;
        }
        for (std::size_t k = 0; k < count; ++k) seed[at++] = data[i++];
    }
    return true;
}

int PclRasterImage::BitsPerPixel() const {
    if (config[1] == 3 || config[1] == 2) return 24;
    return config[2] == 0 ? 1 : config[2];
}

std::size_t PclRasterImage::RowBytes() const {
    const auto w = static_cast<std::size_t>(width > 0 ? width : 0);
    return (w * static_cast<std::size_t>(BitsPerPixel()) + 7) / 8;
}

std::uint32_t PclRasterImage::Pixel(int x, int y) const {
    const auto& row = rows.at(static_cast<std::size_t>(y));
    const int bits = BitsPerPixel();
    const auto ux = static_cast<std::size_t>(x);
    if (bits == 24) {
        return (std::uint32_t{row.at(3 * ux)} << 16) | (std::uint32_t{row.at(3 * ux + 1)} << 8) |
               row.at(3 * ux + 2);
    }
    if (bits == 8) return row.at(ux);
    const std::size_t bit = ux * static_cast<std::size_t>(bits);
    const unsigned shift = 8 - static_cast<unsigned>(bits) - static_cast<unsigned>(bit % 8);
    return (row.at(bit / 8) >> shift) & ((1u << bits) - 1);
}

std::uint32_t PclRasterImage::Colour(int x, int y) const {
    const std::uint32_t p = Pixel(x, y);
    if (BitsPerPixel() == 24) return p;
    const auto it = palette.find(static_cast<int>(p));
    if (it == palette.end()) return 0xFFFFFFFFu;  // no entry: not a colour at all
    return (std::uint32_t{it->second[0]} << 16) | (std::uint32_t{it->second[1]} << 8) |
           it->second[2];
}

namespace {

class Reader {
  public:
    Reader(const std::string& s, std::vector<PclRasterImage>& images, std::string& error)
        : m_s(s), m_images(images), m_error(error) {}

    bool Run() {
        std::size_t hpglFrom = 0;
        while (m_at < m_s.size()) {
            const std::size_t enter = m_s.find("\x1b%1A", m_at);
            if (enter == std::string::npos) break;
            PclRasterImage image;
            image.startOffset = enter;
            image.hpglBefore = m_s.substr(hpglFrom, enter - hpglFrom);
            m_at = enter + 4;
            m_image = &image;
            if (!ReadPcl()) return false;
            image.config = m_config;
            image.palette = m_palette;
            m_images.push_back(std::move(image));
            hpglFrom = m_at;
        }
        if (!m_images.empty()) m_images.back().after = m_s.substr(hpglFrom);
        for (std::size_t k = 0; k + 1 < m_images.size(); ++k)
            m_images[k].after = m_images[k + 1].hpglBefore;
        return true;
    }

  private:
    bool Fail(const std::string& why) {
        m_error = why + " at offset " + std::to_string(m_at);
        return false;
    }

    // PCL escape sequences until "\e%1B".
    bool ReadPcl() {
        bool ended = false;
        while (m_at < m_s.size()) {
            if (m_s[m_at] != '\x1b') return Fail("text inside PCL");
            ++m_at;
            if (m_at >= m_s.size()) return Fail("lone escape");
            const char c = m_s[m_at];
            if (c == '%') {
                ++m_at;
                long value = 0;
                char param = 0;
                if (!Value(value) || !Param(param)) return Fail("bad \\e% sequence");
                if (value == 1 && param == 'B') {
                    if (!ended) return Fail("HP-GL/2 resumed before the raster ended");
                    return true;
                }
                return Fail("unexpected \\e% sequence");
            }
            if (c < '!' || c > '/') return Fail("unexpected escape");
            ++m_at;
            if (m_at >= m_s.size()) return Fail("escape without group");
            const char group = m_s[m_at++];
            for (;;) {
                long value = 0;
                char param = 0;
                if (!Value(value) || !Param(param)) return Fail("bad parameter");
                const char upper =
                    static_cast<char>(std::toupper(static_cast<unsigned char>(param)));
                if (!Command(c, group, upper, value, ended)) return false;
                if (std::isupper(static_cast<unsigned char>(param))) break;
            }
        }
        return Fail("PCL without its end");
    }

    bool Value(long& value) {
        const std::size_t from = m_at;
        if (m_at < m_s.size() && (m_s[m_at] == '+' || m_s[m_at] == '-')) ++m_at;
        while (m_at < m_s.size() && std::isdigit(static_cast<unsigned char>(m_s[m_at]))) ++m_at;
        const std::string digits = m_s.substr(from, m_at - from);
        if (digits.size() > 12) return false;
        value = digits.empty() ? 0 : std::strtol(digits.c_str(), nullptr, 10);
        return true;
    }

    bool Param(char& param) {
        if (m_at >= m_s.size()) return false;
        param = m_s[m_at++];
        return (param >= '`' && param <= '~') || (param >= '@' && param <= '^');
    }

    bool Data(long length, std::string& bytes) {
        if (length < 0 || static_cast<std::size_t>(length) > m_s.size() - m_at)
            return Fail("data past the stream");
        bytes = m_s.substr(m_at, static_cast<std::size_t>(length));
        m_at += static_cast<std::size_t>(length);
        return true;
    }

    bool Command(char c, char group, char param, long value, bool& ended) {
        PclRasterImage& im = *m_image;
        std::string bytes;
        if (c != '*') return Fail("unknown escape family");
        if (group == 'v') {
            switch (param) {
                case 'W':
                    if (value != 6) return Fail("configure-image-data block not 6 bytes");
                    if (!Data(value, bytes)) return false;
                    for (int k = 0; k < 6; ++k) m_config[k] = static_cast<std::uint8_t>(bytes[k]);
                    m_palette.clear();
                    im.configured = true;
                    return true;
                case 'A':
                    m_rgb[0] = value;
                    return true;
                case 'B':
                    m_rgb[1] = value;
                    return true;
                case 'C':
                    m_rgb[2] = value;
                    return true;
                case 'I':
                    for (long v : m_rgb)
                        if (v < 0 || v > 255) return Fail("palette component out of range");
                    m_palette[static_cast<int>(value)] = {static_cast<std::uint8_t>(m_rgb[0]),
                                                          static_cast<std::uint8_t>(m_rgb[1]),
                                                          static_cast<std::uint8_t>(m_rgb[2])};
                    m_rgb = {0, 0, 0};
                    return true;
                case 'N':
                    im.transparency = static_cast<int>(value);
                    return true;
                default:
                    return Fail("unknown *v parameter");
            }
        }
        if (group == 't' && param == 'R') {
            im.resolution = static_cast<int>(value);
            return true;
        }
        if (group == 'r') {
            switch (param) {
                case 'T':
                    im.height = static_cast<int>(value);
                    return true;
                case 'S':
                    im.width = static_cast<int>(value);
                    return true;
                case 'A':
                    im.config = m_config;
                    m_seed.assign(im.RowBytes(), 0);
                    m_method = 0;
                    m_started = true;
                    return true;
                case 'C':
                    if (!m_started) return Fail("raster ended before it started");
                    m_started = false;
                    ended = true;
                    return true;
                default:
                    return Fail("unknown *r parameter");
            }
        }
        if (group == 'b') {
            if (param == 'M') {
                m_method = static_cast<int>(value);
                ++im.methodCommands;
                return true;
            }
            if (param != 'W') return Fail("unknown *b parameter");
            if (!m_started) return Fail("row outside a raster");
            if (!Data(value, bytes)) return false;
            const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
            std::string why;
            if (m_method == 2) {
                std::vector<std::uint8_t> row;
                if (!DecodeMethod2(p, bytes.size(), m_seed.size(), row, why)) return Fail(why);
                m_seed = row;
                ++im.method2Rows;
            } else if (m_method == 3) {
                if (!DecodeMethod3(p, bytes.size(), m_seed, why)) return Fail(why);
                if (bytes.empty()) ++im.repeatedRows;
                ++im.method3Rows;
            } else if (m_method == 0) {
                if (bytes.size() > m_seed.size()) return Fail("raw row past the row");
                m_seed.assign(m_seed.size(), 0);
                for (std::size_t k = 0; k < bytes.size(); ++k) m_seed[k] = p[k];
            } else {
                return Fail("unsupported compression method " + std::to_string(m_method));
            }
            im.rows.push_back(m_seed);
            return true;
        }
        return Fail("unknown escape group");
    }

    const std::string& m_s;
    std::vector<PclRasterImage>& m_images;
    std::string& m_error;
    std::size_t m_at = 0;
    PclRasterImage* m_image = nullptr;
    std::array<std::uint8_t, 6> m_config{};
    std::map<int, std::array<std::uint8_t, 3>> m_palette;
    std::array<long, 3> m_rgb{0, 0, 0};
    std::vector<std::uint8_t> m_seed;
    int m_method = 0;
    bool m_started = false;
};

}  // namespace

bool ReadPclRasters(const std::string& stream, std::vector<PclRasterImage>& images,
                    std::string& error) {
    images.clear();
    return Reader(stream, images, error).Run();
}

}  // namespace xomtest
