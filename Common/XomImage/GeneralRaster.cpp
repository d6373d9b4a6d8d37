#include "Common/XomImage/GeneralRaster.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "Common/XOM/HpglWriter.h"
#include "Common/XOM/XomDriver.h"
#include "Common/XomImage/RasterCommands.h"
#include "Common/XomImage/RowCompressor.h"
#include "Common/XomSettings/DriverSettings.h"
#include "Common/xomOutput/OutputChannel.h"
#include "hdi/HT_Image_Row_Source.h"
#include "platform/MemoryStatus.h"
#include "platform/Saturate.h"

namespace xomimage {

namespace {

constexpr std::size_t kLeastBudget = 512000;
constexpr std::size_t kMostBudget = 10240000;
constexpr std::uint64_t kMostBands = 1000;
constexpr int kMostRaisedFactor = 30;

bool IsKey(const std::uint8_t* bgr) {
    return bgr[0] == kKeyBlue && bgr[1] == kKeyGreen && bgr[2] == kKeyRed;
}

bool IsWhite(const std::uint8_t* bgr) {
    return bgr[0] == 255 && bgr[1] == 255 && bgr[2] == 255;
}

void PutRgb(std::uint8_t* out, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    out[0] = r;
    out[1] = g;
    out[2] = b;
}

// Mode 6 of a blue-green-red pixel: the key colour is paper, paper is near-white ink.
void PutMode6(const std::uint8_t* bgr, std::uint8_t* out) {
    if (IsKey(bgr)) {
        PutRgb(out, 255, 255, 255);
    } else if (IsWhite(bgr)) {
        PutRgb(out, 254, 254, 254);
    } else {
        PutRgb(out, bgr[2], bgr[1], bgr[0]);
    }
}

}  // namespace

GeneralRoadSettings GeneralRoadSettingsNow() {
    const DriverSettings& s = CurrentDriverSettings();
    GeneralRoadSettings g;
    g.qualityLevel = s.RasterEnabled;
    g.qualityLevelBitonal = s.RasterEnabledKind1;
    g.gamma = s.RasterGamma;
    g.intensity = s.RasterIntensity;
    return g;
}

int QualityFloor(int level) {
    switch (level) {
        case 1:
            return 20;
        case 2:
            return 8;
        case 3:
            return 4;
        case 4:
            return 3;
        case 5:
            return 2;
        default:
            return 1;
    }
}

int ReplicationFactor(double sx, double sy, int resolution, bool thinSource, bool transparent,
                      int qualityLevel) {
    const int d = std::max(resolution, 0);
    const int l10 = std::max((d + 5) / 10, 1);
    const int l100 = std::max((d + 50) / 100, 1);
    const int l200 = std::max((d + 100) / 200, 1);
    const double m = (sx + sy) / 2;
    int f = std::isfinite(m) ? xomplatform::SaturateToInt32(std::trunc(m)) : 1;
    if (f > 1) {
        if (thinSource) f = std::min(f, l200);
        if (std::fabs(sx - sy) / m > 0.05) f = std::min(f, l200);
        f = transparent ? std::min({f, l10, l100}) : std::min(f, l10);
    } else {
        f = 1;
    }
    return std::max(f, QualityFloor(qualityLevel));
}

std::size_t BandBudget(std::uint64_t availableBytes) {
    const std::uint64_t half = availableBytes / 2;
    return static_cast<std::size_t>(std::clamp<std::uint64_t>(half, kLeastBudget, kMostBudget));
}

bool PlanBands(std::int32_t width, std::int32_t height, int f, int sourceBytesPerPixel,
               std::size_t budget, BandPlan& plan) {
    plan = BandPlan{};
    plan.f = std::max(f, 1);
    plan.columns = width / plan.f;
    plan.rows = height / plan.f;
    if (plan.columns < 1 || plan.rows < 1) return false;
    const std::uint64_t bytes = static_cast<std::uint64_t>(plan.rows) *
                                static_cast<std::uint64_t>(plan.columns) *
                                static_cast<std::uint64_t>(sourceBytesPerPixel);
    plan.bands = bytes / std::max<std::size_t>(budget, 1) + 1;
    const std::uint64_t rows = static_cast<std::uint64_t>(plan.rows);
    plan.rowsPerBand = static_cast<std::int32_t>((rows + plan.bands - 1) / plan.bands);
    return true;
}

bool PlanBandsWithinLimit(std::int32_t width, std::int32_t height, int f, int sourceBytesPerPixel,
                          std::size_t budget, BandPlan& plan) {
    if (!PlanBands(width, height, f, sourceBytesPerPixel, budget, plan)) return false;
    if (plan.bands <= kMostBands) return true;
    const double raised = std::ceil(plan.f * std::sqrt(static_cast<double>(plan.bands) / 1000.0));
    return PlanBands(width, height, xomplatform::SaturateToInt32(raised), sourceBytesPerPixel,
                     budget, plan);
}

int OutputMode(int pixelFormat, bool colour, bool bitonal, bool transparent, int bitDepth) {
    if (pixelFormat == 0) {
        if (colour) return bitonal ? 7 : 5;
        return bitonal ? 3 : 0;
    }
    if (pixelFormat < 0) return colour ? 8 : 4;
    if (pixelFormat == 1 || pixelFormat == 2) {
        if (colour) {
            if (bitonal) return 6;
            if (bitDepth >= 3) return transparent ? 8 : 6;
            return 5;
        }
        if (bitonal) return 2;
        return bitDepth >= 3 ? 1 : 0;
    }
    if (pixelFormat == 7 || pixelFormat == 8) {
        if (colour) return transparent ? 8 : 6;
        return transparent ? 4 : 2;
    }
    return colour ? 8 : 4;
}

int SourceBytesPerPixel(int mode) {
    switch (mode) {
        case 0:
        case 1:
        case 5:
            return 1;
        case 4:
        case 8:
            return 4;
        default:
            return 3;
    }
}

void ConvertPixel(const PixelConversion& c, const std::uint8_t* source, std::uint8_t* out) {
    const std::uint8_t* p = source;
    const HT_RGB& fg = c.foreground;
    switch (c.mode) {
        case 0:
            out[0] = p[0] == 0 ? 0 : p[0] == 1 ? 255 : c.gray[Luminance(fg.b, fg.g, fg.r)];
            break;
        case 1:
            out[0] = c.gray[p[0]];
            break;
        case 2:
            out[0] = c.gray[Luminance(p[0], p[1], p[2])];
            break;
        case 3:
            out[0] = (p[0] | p[1] | p[2]) != 0 ? 1 : 255;
            break;
        case 4:
            out[0] = IsKey(p) || p[3] == 0 ? 0 : c.gray[Luminance(p[0], p[1], p[2])];
            break;
        case 5:
            if (p[0] == 0) {
                PutRgb(out, 255, 255, 255);
            } else if (p[0] == 1 || (fg.r == 255 && fg.g == 255 && fg.b == 255)) {
                // Paper and pure-white ink print as near-white; any other ink as it is.
                PutRgb(out, 254, 254, 254);
            } else {
                PutRgb(out, fg.r, fg.g, fg.b);
            }
            break;
        case 6:
            PutMode6(p, out);
            break;
        case 7:
            if ((p[0] | p[1] | p[2]) != 0) {
                PutRgb(out, 0, 0, 0);
            } else {
                PutRgb(out, 254, 254, 254);
            }
            break;
        default:  // 8
            if (p[3] != 0) {
                PutMode6(p, out);
            } else {
                PutRgb(out, 255, 255, 255);
            }
            break;
    }
}

void ConvertRow(const PixelConversion& c, const std::uint8_t* source, std::int32_t columns, int f,
                std::int32_t width, std::uint8_t* out) {
    const std::size_t in = static_cast<std::size_t>(SourceBytesPerPixel(c.mode));
    const std::size_t px = ColourMode(c.mode) ? 3 : 1;
    const auto w = static_cast<std::size_t>(width);
    const auto reps = static_cast<std::size_t>(std::max(f, 1));
    std::size_t x = 0;
    std::uint8_t pixel[3] = {255, 255, 255};
    for (std::int32_t k = 0; k < columns && x < w; ++k) {
        ConvertPixel(c, source + static_cast<std::size_t>(k) * in, pixel);
        for (std::size_t r = 0; r < reps && x < w; ++r, ++x) {
            for (std::size_t b = 0; b < px; ++b) out[x * px + b] = pixel[b];
        }
    }
    for (; x < w; ++x)
        for (std::size_t b = 0; b < px; ++b) out[x * px + b] = pixel[b];
}

}  // namespace xomimage

namespace {

using namespace xomimage;

constexpr unsigned kLineGeneral = 903;

int BandFormat(int mode) {
    switch (mode) {
        case 0:
        case 5:
            return HT_BAND_FORMAT_CLASS8;
        case 1:
            return HT_BAND_FORMAT_GRAY8;
        case 4:
        case 8:
            return HT_BAND_FORMAT_BGRA32;
        default:
            return HT_BAND_FORMAT_BGR24;
    }
}

// The gray palette of the general road: 0 paper, 1 black, i the gray i, 255 near-white in a
// transparent image (so that it prints) and white otherwise.
std::vector<PaletteEntry> GeneralGrayPalette(bool transparent) {
    std::vector<PaletteEntry> p(256);
    p[0] = {255, 255, 255, 0};
    p[1] = {0, 0, 0, 1};
    for (int i = 2; i < 255; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        p[static_cast<std::size_t>(i)] = {v, v, v, i};
    }
    p[255] = {255, 255, static_cast<std::uint8_t>(transparent ? 254 : 255), 255};
    return p;
}

// One image's run through the road.
class GeneralRaster {
  public:
    GeneralRaster(XOM_Driver& device, const HT_Rendition& r, const HT_DCI_Point& position,
                  const HT_Image& image)
        : m_device(device), m_rendition(r), m_position(position), m_image(image) {}

    void Draw();

  private:
    enum class BandsOutcome { Done, RaiseFactor, Stopped, Cancelled };

    BandsOutcome SendBands(const BandPlan& plan);
    void StartRaster(const BandPlan& plan);
    bool OutputFailed();
    void Undrawn() { m_device.note_undrawn_primitive(); }

    XOM_Driver& m_device;
    const HT_Rendition& m_rendition;
    HT_DCI_Point m_position;
    const HT_Image& m_image;
    bool m_rotate = false;
    bool m_transparent = false;
    int m_mode = 0;
    PixelConversion m_conversion;
    std::unique_ptr<RowCompressor> m_compressor;
    std::vector<std::uint8_t> m_rowBuffer;
    bool m_started = false;
    bool m_outputError = false;
};

bool GeneralRaster::OutputFailed() {
    if (m_outputError) return true;
    if (OutputErrorState() == kOutputOk) return false;
    AppendDiagnosticLine(kDiagnosticSource, "newhandleraster", kLineGeneral);
    m_outputError = true;
    return true;
}

void GeneralRaster::StartRaster(const BandPlan& plan) {
    PlotStreamState& s = g_plotStream;
    const std::int32_t width = m_image.dest_width;
    const std::int32_t height = m_image.dest_height;
    if (m_rotate) {
        MoveTo(s, m_position.x, m_position.y);
    } else {
        MoveTo(s, m_position.x + plan.columns * plan.f - 1, m_position.y - height + 1);
    }
    SendRaw(s, m_transparent ? "TR1MC0" : "TR0MC0");
    SendRaw(s, "\x1b%1A");
    SendRaw(s, m_transparent ? "\x1b*v0N" : "\x1b*v1N");
    const bool colour = ColourMode(m_mode);
    ConfigureImageData(m_device, s, colour ? kEncodingDirect : kEncodingIndexed, 8);
    if (!colour) SendPalette(s, GeneralGrayPalette(m_transparent));
    ResetPenState(s);
    xomimage::StartRaster(s, m_device.horizontal_resolution(), width, height);
    m_compressor->ForgetMethod();
    m_started = true;
}

GeneralRaster::BandsOutcome GeneralRaster::SendBands(const BandPlan& plan) {
    const int s = SourceBytesPerPixel(m_mode);
    const auto need = static_cast<std::size_t>(plan.columns) * static_cast<std::size_t>(s);
    HT_Image_Band_Request q;
    q.columns = plan.columns;
    q.rows = plan.rows;
    q.orientation = m_rotate ? HT_ORIENTATION_AS_IS : HT_ORIENTATION_HALF_TURN;
    q.format = BandFormat(m_mode);
    q.bitonal = m_mode == 3 || m_mode == 7;
    q.transparent = m_transparent;
    q.key = HT_RGB{kKeyBlue, kKeyGreen, kKeyRed, 0};
    std::int32_t rowsPerBand = plan.rowsPerBand;
    for (std::int32_t first = 0; first < plan.rows;) {
        if (m_device.poll_cancel()) return BandsOutcome::Cancelled;
        q.first_row = first;
        q.row_count = std::min(rowsPerBand, plan.rows - first);
        HT_Image_Band band = m_image.source->render_band(q);
        if (band.status == HT_BAND_NO_MEMORY) {
            m_image.source->release_band(band);
            if (q.row_count > 1) {
                rowsPerBand = std::max(q.row_count / 2, 1);
                continue;
            }
            return !m_started && plan.f < kMostRaisedFactor ? BandsOutcome::RaiseFactor
                                                            : BandsOutcome::Stopped;
        }
        if (band.status != HT_BAND_OK || band.data == nullptr || band.row_stride < need ||
            band.row_count < q.row_count) {
            m_image.source->release_band(band);
            return BandsOutcome::Stopped;
        }
        if (!m_started) StartRaster(plan);
        for (std::int32_t k = 0; k < q.row_count; ++k) {
            ConvertRow(m_conversion, band.data + static_cast<std::size_t>(k) * band.row_stride,
                       plan.columns, plan.f, m_image.dest_width, m_compressor->Row());
            m_compressor->Encode(plan.f);
            if (OutputFailed()) {
                m_image.source->release_band(band);
                return BandsOutcome::Stopped;
            }
        }
        m_image.source->release_band(band);
        first += q.row_count;
    }
    return BandsOutcome::Done;
}

void GeneralRaster::Draw() {
    const GeneralRoadSettings settings = GeneralRoadSettingsNow();
    const int level = m_image.bitonal ? settings.qualityLevelBitonal : settings.qualityLevel;
    if (level == 0) return;  // the configuration declines images
    m_conversion.gray = BuildToneTable(settings.gamma, settings.intensity, true);
    m_conversion.foreground = m_rendition.color.rgb;

    const std::int32_t width = m_image.dest_width;
    const std::int32_t height = m_image.dest_height;
    if (width < 1 || height < 1) return;
    if (static_cast<long long>(m_position.x) + width - 1 >
            std::numeric_limits<std::int32_t>::max() ||
        static_cast<long long>(m_position.y) - height + 1 <
            std::numeric_limits<std::int32_t>::min()) {
        Undrawn();  // the image leaves the device space
        return;
    }
    m_rotate = g_plotStream.rotate != 0;
    m_transparent = m_image.transparent || m_rendition.clip != nullptr;
    const int w = std::max(m_image.width, 1);
    const int h = std::max(m_image.height, 1);
    const double sx = static_cast<double>(width) / w;
    const double sy = static_cast<double>(height) / h;
    const int f = ReplicationFactor(sx, sy, m_device.horizontal_resolution(), w == 1 || h == 1,
                                    m_transparent, level);

    const bool colour = g_plotStream.colorModel == kPenModelColor ||
                        g_plotStream.colorModel == kPenModelVirtualColor;
    m_mode =
        OutputMode(m_image.pixel_format, colour, m_image.bitonal, m_transparent, m_image.bit_depth);
    m_conversion.mode = m_mode;
    m_compressor = RowCompressor::Create(colour ? "Color compressor" : "Gray compressor", width,
                                         ColourMode(m_mode) ? 3 : 1, g_plotStream);
    if (!m_compressor) {
        Undrawn();
        return;
    }
    const std::size_t budget = BandBudget(xomplatform::AvailablePhysicalMemory());
    const int s = SourceBytesPerPixel(m_mode);

    BandPlan plan;
    bool planned = PlanBandsWithinLimit(width, height, f, s, budget, plan);
    BandsOutcome outcome = BandsOutcome::Stopped;
    if (!planned) return;  // the reduced image is empty: nothing to draw
    for (;;) {
        outcome = SendBands(plan);
        if (outcome != BandsOutcome::RaiseFactor) break;
        if (!PlanBands(width, height, plan.f + 1, s, budget, plan)) {
            outcome = BandsOutcome::Stopped;
            break;
        }
    }
    if (outcome == BandsOutcome::Cancelled) {
        m_device.cancel_picture();
        return;
    }
    if (outcome == BandsOutcome::Done) {
        const std::int32_t leftover = height - plan.rows * plan.f;
        m_compressor->RepeatLastRow(leftover);
        OutputFailed();
    } else if (!m_outputError) {
        Undrawn();  // the host could not render the image (whole)
    }
    if (m_started && !m_outputError) {
        SendRaw(g_plotStream, "\x1b*rC\x1b%1B");
        WriteMergeMode(g_plotStream);
    }
}

}  // namespace

void newhandleraster(HT_Renderer_Data* device, const HT_Rendition& r, const HT_DCI_Point& position,
                     const HT_Image& image) {
    auto* d = dynamic_cast<XOM_Driver*>(device);
    if (d == nullptr || d->drawing_stopped()) return;
    if (image.source == nullptr) {
        d->note_undrawn_primitive();
        return;
    }
    GeneralRaster(*d, r, position, image).Draw();
}
