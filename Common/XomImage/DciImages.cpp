#include "Common/XomImage/DciImages.h"

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Common/XOM/HpglWriter.h"
#include "Common/XOM/XomDriver.h"
#include "Common/XomImage/GrayTone.h"
#include "Common/XomImage/RasterCommands.h"
#include "Common/XomImage/RowCompressor.h"
#include "Common/XomSettings/DriverSettings.h"
#include "Common/xomOutput/OutputChannel.h"

namespace {

using xomimage::PaletteEntry;
using xomimage::RowCompressor;

// Line numbers of the diagnostic lines, one per image action.
constexpr unsigned kLineRgb32 = 412;
constexpr unsigned kLineIndex8 = 538;
constexpr unsigned kLineBitonal = 671;

constexpr std::array<std::uint8_t, 256> MakeBitReversal() {
    std::array<std::uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i) {
        int r = 0;
        for (int b = 0; b < 8; ++b)
            if (i & (1 << b)) r |= 0x80 >> b;
        t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(r);
    }
    return t;
}
constexpr std::array<std::uint8_t, 256> kBitReversal = MakeBitReversal();

bool ColourOutput() {
    return g_plotStream.colorModel == kPenModelColor ||
           g_plotStream.colorModel == kPenModelVirtualColor;
}

xomimage::ToneTable CurrentTones() {
    const DriverSettings& s = CurrentDriverSettings();
    return xomimage::BuildToneTable(s.RasterGamma, s.RasterIntensity);
}

// The image's geometry, checked: the device and size when there is something to draw.
struct ImageFrame {
    XOM_Driver* device = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool rotate = false;
};

ImageFrame FrameFor(HT_Renderer_Data* device, const HT_DCI_Point& c1, const HT_DCI_Point& c2,
                    int rowBytes, const std::uint8_t* pixels, std::size_t neededRowBytes) {
    ImageFrame f;
    auto* d = dynamic_cast<XOM_Driver*>(device);
    if (d == nullptr || d->drawing_stopped()) return f;
    const long long width = static_cast<long long>(c2.x) - c1.x + 1;
    const long long height = static_cast<long long>(c1.y) - c2.y + 1;
    if (width < 1 || height < 1 || width > INT32_MAX || height > INT32_MAX) return f;
    f.width = static_cast<std::int32_t>(width);
    f.height = static_cast<std::int32_t>(height);
    f.rotate = g_plotStream.rotate != 0;
    const std::size_t need = neededRowBytes * static_cast<std::size_t>(width);
    if (pixels == nullptr || rowBytes < 0 || static_cast<std::size_t>(rowBytes) < need) {
        // Pixels that do not cover the image cannot be drawn: the plot must not pass for whole.
        d->note_undrawn_primitive();
        return f;
    }
    f.device = d;
    return f;
}

// Steps 1 to 3 of every integer-coordinate image.
void OpenRaster(const ImageFrame& f, const HT_DCI_Point& c1, const HT_DCI_Point& c2, int encoding,
                int bits, const std::vector<PaletteEntry>& palette, RowCompressor& compressor) {
    PlotStreamState& s = g_plotStream;
    if (f.rotate) {
        MoveTo(s, c1.x, c1.y);
    } else {
        MoveTo(s, c2.x, c2.y);
    }
    xomimage::SendRaw(s, "TR0MC0\x1b%1A");
    xomimage::ConfigureImageData(*f.device, s, encoding, bits);
    xomimage::SendPalette(s, palette);
    xomimage::StartRaster(s, f.device->horizontal_resolution(), f.width, f.height);
    compressor.ForgetMethod();
}

// After a row: an output error stops the image with a diagnostic line.
bool OutputFailedAfterRow(const char* operation, unsigned line) {
    if (OutputErrorState() == kOutputOk) return false;
    AppendDiagnosticLine(xomimage::kDiagnosticSource, operation, line);
    return true;
}

// Step 5: back to HP-GL/2, then the cancel poll, which may end the picture.
void CloseRaster(XOM_Driver& d) {
    PlotStreamState& s = g_plotStream;
    xomimage::SendRaw(s, "\x1b*rC\x1b%1B");
    WriteMergeMode(s);
    ResetPenState(s);
    if (d.poll_cancel()) d.cancel_picture();
}

std::unique_ptr<RowCompressor> MakeCompressor(XOM_Driver& d, const char* name, std::int32_t width,
                                              int bytesPerPixel) {
    auto c = RowCompressor::Create(name, width, bytesPerPixel, g_plotStream);
    if (!c) d.note_undrawn_primitive();  // no memory for the rows: the image is missing
    return c;
}

std::vector<PaletteEntry> GrayPalette(const xomimage::ToneTable& tones) {
    std::vector<PaletteEntry> p(256);
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t t = tones[static_cast<std::size_t>(i)];
        p[static_cast<std::size_t>(i)] = {t, t, t, i};
    }
    return p;
}

}  // namespace

void XOM_plotter_draw_dci_rgb32_image(HT_Renderer_Data* device, const HT_Rendition&,
                                      const HT_DCI_Point& corner1, const HT_DCI_Point& corner2,
                                      int row_bytes, const std::uint8_t* pixels) {
    const ImageFrame f = FrameFor(device, corner1, corner2, row_bytes, pixels, 4);
    if (f.device == nullptr) return;
    const bool colour = ColourOutput();
    auto c = MakeCompressor(*f.device, colour ? "Color Compressor" : "Gray Compressor", f.width,
                            colour ? 3 : 1);
    if (!c) return;
    std::vector<PaletteEntry> palette;
    if (!colour) palette = GrayPalette(CurrentTones());
    OpenRaster(f, corner1, corner2, colour ? xomimage::kEncodingDirect : xomimage::kEncodingIndexed,
               8, palette, *c);

    const auto w = static_cast<std::size_t>(f.width);
    for (std::int32_t k = 0; k < f.height; ++k) {
        const std::int32_t y = f.rotate ? k : f.height - 1 - k;
        const std::uint8_t* src = pixels + static_cast<std::size_t>(y) * row_bytes;
        std::uint8_t* out = c->Row();
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t* p = src + 4 * (f.rotate ? x : w - 1 - x);
            if (colour) {
                out[3 * x] = p[2];
                out[3 * x + 1] = p[1];
                out[3 * x + 2] = p[0];
            } else {
                out[x] = xomimage::Luminance(p[0], p[1], p[2]);
            }
        }
        c->Encode();
        if (OutputFailedAfterRow("XOM_plotter_draw_dci_rgb32_image", kLineRgb32)) break;
    }
    CloseRaster(*f.device);
}

void XOM_plotter_draw_dci_index8_image(HT_Renderer_Data* device, const HT_Rendition&,
                                       const HT_DCI_Point& corner1, const HT_DCI_Point& corner2,
                                       int row_bytes, const std::uint8_t* pixels) {
    const ImageFrame f = FrameFor(device, corner1, corner2, row_bytes, pixels, 1);
    if (f.device == nullptr) return;
    auto c = MakeCompressor(*f.device, "", f.width, 1);
    if (!c) return;

    const bool colour = ColourOutput();
    const xomimage::ToneTable tones = CurrentTones();
    const HT_Palette* devicePalette = f.device->palette();
    std::vector<PaletteEntry> palette(256);
    for (int i = 0; i < 256; ++i) {
        PaletteEntry e{255, 255, 255, i};
        if (devicePalette != nullptr && devicePalette->use_count(i) > 0) {
            const HT_Palette_Entry& pe = devicePalette->entry(i);
            if (colour) {
                e = {pe.r, pe.g, pe.b, i};
            } else {
                const std::uint8_t t = tones[xomimage::Luminance(pe.b, pe.g, pe.r)];
                e = {t, t, t, i};
            }
        }
        palette[static_cast<std::size_t>(i)] = e;
    }
    OpenRaster(f, corner1, corner2, xomimage::kEncodingIndexed, 8, palette, *c);

    const auto w = static_cast<std::size_t>(f.width);
    for (std::int32_t k = 0; k < f.height; ++k) {
        const std::int32_t y = f.rotate ? k : f.height - 1 - k;
        const std::uint8_t* src = pixels + static_cast<std::size_t>(y) * row_bytes;
        std::uint8_t* out = c->Row();
        if (f.rotate) {
            std::memcpy(out, src, w);
        } else {
            for (std::size_t x = 0; x < w; ++x) out[x] = src[w - 1 - x];
        }
        c->Encode();
        if (OutputFailedAfterRow("XOM_plotter_draw_dci_index8_image", kLineIndex8)) break;
    }
    CloseRaster(*f.device);
}

void XOM_plotter_draw_dci_bitonal_image(HT_Renderer_Data* device, const HT_Rendition&,
                                        const HT_DCI_Point& corner1, const HT_DCI_Point& corner2,
                                        int row_bytes, const std::uint8_t* pixels,
                                        std::uint8_t flags) {
    // Row bytes are checked against whole bytes below; FrameFor's per-pixel check is skipped.
    ImageFrame f = FrameFor(device, corner1, corner2, row_bytes, pixels, 0);
    if (f.device == nullptr) return;
    auto c = MakeCompressor(*f.device, "", f.width, 0);
    if (!c) return;
    const std::size_t bytes = c->RowBytes();
    if (static_cast<std::size_t>(row_bytes) < bytes) {
        f.device->note_undrawn_primitive();
        return;
    }
    const bool zeroIsWhite = (flags & 2) != 0;
    const bool highFirst = (flags & 1) != 0;
    const std::vector<PaletteEntry> palette =
        zeroIsWhite ? std::vector<PaletteEntry>{{255, 255, 255, 0}, {0, 0, 0, 1}}
                    : std::vector<PaletteEntry>{{0, 0, 0, 0}, {255, 255, 255, 1}};
    OpenRaster(f, corner1, corner2, xomimage::kEncodingIndexed, 1, palette, *c);

    // Bits of padding at the end of each host row.
    const unsigned pad = static_cast<unsigned>(bytes * 8 - static_cast<std::size_t>(f.width));
    for (std::int32_t k = 0; k < f.height; ++k) {
        const std::int32_t y = f.rotate ? k : f.height - 1 - k;
        const std::uint8_t* src = pixels + static_cast<std::size_t>(y) * row_bytes;
        std::uint8_t* out = c->Row();
        if (f.rotate) {
            for (std::size_t b = 0; b < bytes; ++b)
                out[b] = highFirst ? src[b] : kBitReversal[src[b]];
        } else {
            // Read backwards: the bytes in reverse order, each reversed when its first pixel is
            // its highest bit; then the padding, now in front, is shifted to the end.
            for (std::size_t b = 0; b < bytes; ++b) {
                const std::uint8_t v = src[bytes - 1 - b];
                out[b] = highFirst ? kBitReversal[v] : v;
            }
            if (pad != 0) {
                for (std::size_t b = 0; b < bytes; ++b) {
                    const unsigned next = b + 1 < bytes ? out[b + 1] : 0u;
                    out[b] = static_cast<std::uint8_t>((out[b] << pad) | (next >> (8 - pad)));
                }
            }
        }
        c->Encode();
        if (OutputFailedAfterRow("XOM_plotter_draw_dci_bitonal_image", kLineBitonal)) break;
    }
    CloseRaster(*f.device);
}
