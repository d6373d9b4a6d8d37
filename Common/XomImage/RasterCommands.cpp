#include "Common/XomImage/RasterCommands.h"

#include <cstring>

#include "Common/XOM/XomDriver.h"

namespace xomimage {

void SendRaw(PlotStreamState& stream, const char* text) {
    const std::size_t n = std::strlen(text);
    if (stream.byteSender != nullptr && n != 0) stream.byteSender(text, n);
}

void ConfigureImageData(XOM_Driver& device, PlotStreamState& stream, int encoding,
                        int bitsPerIndex) {
    const int format = (encoding << 8) | (bitsPerIndex & 0xFF);
    if (device.image_data_configured() && device.image_data_format() == format) return;
    const char block[11] = {'\x1b',
                            '*',
                            'v',
                            '6',
                            'W',
                            0,  // colour space: RGB
                            static_cast<char>(encoding),
                            static_cast<char>(bitsPerIndex),
                            8,
                            8,
                            8};
    if (stream.byteSender != nullptr) stream.byteSender(block, sizeof block);
    device.set_image_data_configured(true, format);
}

std::string PaletteCommand(const std::vector<PaletteEntry>& entries) {
    std::string out;
    out.reserve(entries.size() * 18 + 3);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const PaletteEntry& e = entries[k];
        if (k == 0) out += "\x1b*v";
        out += std::to_string(e.red) + "a" + std::to_string(e.green) + "b" +
               std::to_string(e.blue) + "c" + std::to_string(e.index);
        out += k + 1 == entries.size() ? "I" : "i";
    }
    return out;
}

void SendPalette(PlotStreamState& stream, const std::vector<PaletteEntry>& entries) {
    const std::string text = PaletteCommand(entries);
    if (stream.byteSender != nullptr && !text.empty()) stream.byteSender(text.data(), text.size());
}

void StartRaster(PlotStreamState& stream, int resolution, std::int32_t width, std::int32_t height) {
    const std::string text = "\x1b*t" + std::to_string(resolution) + "R\x1b*r" +
                             std::to_string(height) + "t" + std::to_string(width) + "S\x1b*r1A";
    if (stream.byteSender != nullptr) stream.byteSender(text.data(), text.size());
}

}  // namespace xomimage
