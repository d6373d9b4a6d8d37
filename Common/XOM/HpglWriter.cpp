#include "Common/XOM/HpglWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "Common/XOM/ColorIndexTable.h"
#include "platform/Saturate.h"

namespace {

using xomplatform::SaturateToInt32;

// ---------------------------------------------------------------------------------------------
// Sending and formatting

void Send(const PlotStreamState& state, const char* bytes, std::size_t length) {
    if (state.byteSender != nullptr && length != 0) state.byteSender(bytes, length);
}

void SendText(const PlotStreamState& state, const char* text) {
    Send(state, text, std::strlen(text));
}

int32_t CeilToInt32(double value) {
    return SaturateToInt32(std::ceil(value));
}

// One command built in the state's format buffer. An open PE is closed with ";" first, as every
// command other than a coordinate must. Numbers are formatted without the C library's locale, so
// a host running with a decimal comma still writes "PW0.35".
class Command {
  public:
    explicit Command(PlotStreamState& state) : state_(state) {
        if (state_.peOpen) {
            Put(";");
            state_.peOpen = 0;
        }
    }
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    Command& Put(const char* text) {
        const std::size_t n = std::min(std::strlen(text), Room());
        std::memcpy(Data() + length_, text, n);
        length_ += n;
        return *this;
    }
    Command& Int(int64_t value) {
        const auto r = std::to_chars(Data() + length_, Data() + Capacity(), value);
        if (r.ec == std::errc()) length_ = static_cast<std::size_t>(r.ptr - Data());
        return *this;
    }
    // Like printf "%.<precision>f".
    Command& Fixed(double value, int precision) {
        const auto r = std::to_chars(Data() + length_, Data() + Capacity(), value,
                                     std::chars_format::fixed, precision);
        if (r.ec == std::errc()) {
            length_ = static_cast<std::size_t>(r.ptr - Data());
        } else {
            Put("0");  // a value too wide for any command: geometry was nonsense
        }
        return *this;
    }
    void Send() { ::Send(state_, Data(), length_); }

  private:
    char* Data() { return state_.formatBuffer.data(); }
    std::size_t Capacity() const { return state_.formatBuffer.size(); }
    std::size_t Room() const { return Capacity() - length_; }

    PlotStreamState& state_;
    std::size_t length_ = 0;
};

void SendCommand(PlotStreamState& state, const char* text) {
    Command(state).Put(text).Send();
}

// ---------------------------------------------------------------------------------------------
// Polyline Encoded coordinates

// The most bytes one coordinate pair can take, with its "<" and "=" flags and the spare byte
// that EncodeDelta may write past its end. Deltas between int32 values need at most 6 digits.
constexpr std::ptrdiff_t kMaxPointBytes = 32;

// One delta in 8-bit base-64 PE form: v = 2|d| (+1 when negative), low six bits first as
// 63..126, the last digit as terminator 191..254. May write one byte past the returned end.
inline char* EncodeDelta(char* out, int64_t delta) {
    const int64_t sign = delta >> 63;  // 0 or -1
    const uint64_t magnitude = static_cast<uint64_t>((delta ^ sign) - sign);
    uint64_t v = (magnitude << 1) | static_cast<uint64_t>(sign & 1);
    if (v < 4096) [[likely]] {
        // One or two digits without a data-dependent branch: short random steps cross 64 often.
        const bool twoDigits = v >= 64;
        out[0] = static_cast<char>(twoDigits ? (v & 63) + 63 : v + 191);
        out[1] = static_cast<char>((v >> 6) + 191);
        return out + 1 + static_cast<int>(twoDigits);
    }
    while (v >= 64) {
        *out++ = static_cast<char>((v & 63) + 63);
        v >>= 6;
    }
    *out++ = static_cast<char>(v + 191);
    return out;
}

inline int64_t ClampToInt32(int64_t v) {
    return std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                               std::numeric_limits<int32_t>::max());
}

// One coordinate with every rule of EncodePoint: remember the requested point, add the offsets,
// turn the page when rotated, "=" and base (0, 0) after a reset. Writes into out (room for
// kMaxPointBytes) and returns the new end.
char* EncodePointInto(PlotStreamState& state, char* out, int32_t x, int32_t y) {
    state.lastRequestedX = x;
    state.lastRequestedY = y;
    int64_t ex = int64_t{x} + state.offsetX;
    int64_t ey = int64_t{y} + state.offsetY;
    if (state.rotate) {
        const int64_t turned = int64_t{state.mediaLengthDots} - ey;
        ey = ex;
        ex = turned;
    }
    // Coordinates beyond the int32 range lie kilometres off any medium; clamping keeps the
    // relative deltas consistent with the stored base.
    ex = ClampToInt32(ex);
    ey = ClampToInt32(ey);
    int64_t baseX = state.lastEncodedX;
    int64_t baseY = state.lastEncodedY;
    if (state.absoluteNext) {
        *out++ = '=';
        state.absoluteNext = 0;
        baseX = 0;
        baseY = 0;
    }
    out = EncodeDelta(out, ex - baseX);
    out = EncodeDelta(out, ey - baseY);
    state.lastEncodedX = static_cast<int32_t>(ex);
    state.lastEncodedY = static_cast<int32_t>(ey);
    return out;
}

// Gathers PE bytes on the stack and hands them to the sender in large chunks.
class PeChunk {
  public:
    explicit PeChunk(PlotStreamState& state) : state_(state) {}
    PeChunk(const PeChunk&) = delete;
    PeChunk& operator=(const PeChunk&) = delete;
    ~PeChunk() { Flush(); }

    void Text(const char* text) {
        const std::size_t n = std::strlen(text);
        Reserve(static_cast<std::ptrdiff_t>(n));
        std::memcpy(pos_, text, n);
        pos_ += n;
    }
    void OpenPe() {
        if (!state_.peOpen) {
            Text("PE");
            state_.peOpen = 1;
        }
    }
    void PenUp() { Text("<"); }
    void Point(int32_t x, int32_t y) {
        Reserve(kMaxPointBytes);
        pos_ = EncodePointInto(state_, pos_, x, y);
    }
    // Pen-down coordinates for a run of points: the same bytes as Point() per point, with the
    // per-point decisions (rotation, absolute flag) taken once for the run.
    void Points(const DciPoint* points, std::size_t count) {
        if (count == 0) return;
        if (state_.absoluteNext) {
            Point(points[0].x, points[0].y);
            ++points;
            --count;
            if (count == 0) return;
        }
        if (state_.rotate) {
            Run<true>(points, count);
        } else {
            Run<false>(points, count);
        }
    }
    void Flush() {
        Send(state_, buffer_, static_cast<std::size_t>(pos_ - buffer_));
        pos_ = buffer_;
    }

  private:
    void Reserve(std::ptrdiff_t bytes) {
        if (end_ - pos_ < bytes) Flush();
    }

    template <bool Rotate>
    void Run(const DciPoint* points, std::size_t count) {
        const int64_t offsetX = state_.offsetX;
        const int64_t offsetY = state_.offsetY;
        const int64_t mediaLength = state_.mediaLengthDots;
        int64_t lastX = state_.lastEncodedX;
        int64_t lastY = state_.lastEncodedY;
        char* out = pos_;
        char* const limit = end_ - kMaxPointBytes;
        for (std::size_t i = 0; i < count; ++i) {
            if (out > limit) [[unlikely]] {
                pos_ = out;
                Flush();
                out = pos_;
            }
            int64_t ex = points[i].x + offsetX;
            int64_t ey = points[i].y + offsetY;
            if constexpr (Rotate) {
                const int64_t turned = mediaLength - ey;
                ey = ex;
                ex = turned;
            }
            ex = ClampToInt32(ex);
            ey = ClampToInt32(ey);
            out = EncodeDelta(out, ex - lastX);
            out = EncodeDelta(out, ey - lastY);
            lastX = ex;
            lastY = ey;
        }
        pos_ = out;
        state_.lastEncodedX = static_cast<int32_t>(lastX);
        state_.lastEncodedY = static_cast<int32_t>(lastY);
        state_.lastRequestedX = points[count - 1].x;
        state_.lastRequestedY = points[count - 1].y;
    }

    static constexpr std::size_t kSize = 8192;
    PlotStreamState& state_;
    char buffer_[kSize];
    char* pos_ = buffer_;
    char* const end_ = buffer_ + kSize;
};

// The first point of a figure needs a pen-up move unless the pen is already there.
bool NeedsMoveTo(const PlotStreamState& state, const DciPoint& first) {
    return state.absoluteNext || first.x != state.lastRequestedX || first.y != state.lastRequestedY;
}

// ---------------------------------------------------------------------------------------------
// Pens and line attributes

void SendPenCountIfChanged(PlotStreamState& state) {
    if (state.sentPenCount == state.penCount) return;
    Command(state).Put("NP").Int(state.penCount).Send();
    state.sentPenCount = state.penCount;
}

void DefinePen(PlotStreamState& state, int pen) {
    const uint32_t color = state.penPalette[static_cast<std::size_t>(pen)];
    Command(state)
        .Put("PC")
        .Int(pen)
        .Put(",")
        .Int(RedOf(color))
        .Put(",")
        .Int(GreenOf(color))
        .Put(",")
        .Int(BlueOf(color))
        .Send();
    state.penDefined[static_cast<std::size_t>(pen)] = 1;
}

void SendSelectPen(PlotStreamState& state, int pen) {
    Command(state).Put("SP").Int(pen).Send();
    state.currentPen = pen;
}

// Shared tail of the gray and colour models. A current pen whose colour was just redefined (the
// colour model reused it from its queue) is not "already current": its new colour must go out,
// or the following strokes would draw in the pen's old colour.
void UsePaletteCodePen(PlotStreamState& state, int pen) {
    const auto index = static_cast<std::size_t>(pen);
    if (pen == state.currentPen && state.penDefined[index]) {
        state.lastColorLookedUp = state.wantedColor;
        return;
    }
    SendPenCountIfChanged(state);
    if (!state.virtualPens && !state.penDefined[index]) DefinePen(state, pen);
    SendSelectPen(state, pen);
    state.lastColorLookedUp = state.wantedColor;
}

int ColorModelPen(PlotStreamState& state) {
    const uint32_t wanted = state.wantedColor;
    for (int pen = 1; pen < 256; ++pen) {
        if (state.penPalette[static_cast<std::size_t>(pen)] == wanted) return pen;
    }
    // No pen has the colour: redefine the pen that was redefined longest ago.
    if (state.penQueue.Count() == 0) state.penQueue.BuildInitial();
    const int pen = state.penQueue.RotateHead();
    state.penPalette[static_cast<std::size_t>(pen)] = wanted;
    state.penDefined[static_cast<std::size_t>(pen)] = 0;
    return pen;
}

void SendLineWeight(PlotStreamState& state, int32_t weight) {
    const int32_t w = std::max(weight, state.minLineWeight);
    if (w == state.sentLineWeight) return;
    Command(state).Put("PW").Fixed(w * state.inchesPerDot * 25.4, 2).Send();
    state.sentLineWeight = w;
}

void SendLineType(PlotStreamState& state) {
    if (state.sentLineType == state.wantedLineType) return;
    state.sentLineType = state.wantedLineType;
    if (!state.virtualPens) SendCommand(state, "LT");
}

const char* CapCommand(int32_t cap) {
    switch (cap) {
        case 0:
            return "LA1,1";  // butt
        case 1:
            return "LA1,2";  // square
        case 3:
            return "LA1,3";  // triangular
        default:
            return "LA1,4";  // round, also for mixed ends (-1)
    }
}

const char* JoinCommand(int32_t join) {
    switch (join) {
        case 0:
            return "LA2,1";  // mitred
        case 1:
            return "LA2,5";  // bevelled
        case 3:
            return "LA2,3";  // triangular
        default:
            return "LA2,4";  // round
    }
}

void SendLineCap(PlotStreamState& state, int32_t cap) {
    if (state.sentLineCap == cap) return;
    state.sentLineCap = cap;
    if (!state.virtualPens) SendCommand(state, CapCommand(cap));
}

void SendLineAttributes(PlotStreamState& state) {
    SendLineWeight(state, state.wantedLineWeight);
    SendLineType(state);
    SendLineCap(state, state.wantedLineCap);
    if (state.sentLineJoin != state.wantedLineJoin) {
        state.sentLineJoin = state.wantedLineJoin;
        if (!state.virtualPens) SendCommand(state, JoinCommand(state.wantedLineJoin));
    }
}

void StartJobIfNeeded(PlotStreamState& state) {
    if (!state.jobStarted) BeginHpglJob(state);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

void BeginHpglJob(PlotStreamState& state) {
    state.jobStarted = 1;
    // The reset below ends whatever the previous job left open.
    state.peOpen = 0;
    if (!state.jobPrefix.empty()) SendText(state, state.jobPrefix.c_str());
    Send(state,
         "\x1b"
         "E",
         2);
    // Enter HP-GL/2; begin plot with autorotation off.
    SendText(state, "\x1b%0BBP5,1;");
    Command(state)
        .Put("PS")
        .Int(SaturateToInt32(state.mediaLength * 1016.0 + 0.5))
        .Put(",")
        .Int(SaturateToInt32(state.mediaWidth * 1016.0 + 0.5))
        .Put(";")
        .Send();
    SendCommand(state, "RO0");
    WriteMergeMode(state);
    // Point-factor scaling: one user unit is one device dot.
    const double plotterUnitsPerDot = state.inchesPerDot * 1016.0;
    Command(state)
        .Put("SC0,")
        .Fixed(plotterUnitsPerDot, 6)
        .Put(",0,")
        .Fixed(plotterUnitsPerDot, 6)
        .Put(",2;")
        .Send();
    SendCommand(state, "CR0,255,0,255,0,255");

    state.offsetX = CeilToInt32(state.printableLeft / state.inchesPerDot);
    state.offsetY = CeilToInt32(state.printableBottom / state.inchesPerDot);
    state.mediaWidthDots = CeilToInt32(state.mediaWidth / state.inchesPerDot);
    state.mediaLengthDots = CeilToInt32(state.mediaLength / state.inchesPerDot);
    ResetPenState(state);
}

void WriteMergeMode(PlotStreamState& state) {
    StartJobIfNeeded(state);
    SendCommand(state, state.mergeFlag ? "TR1MC1" : "TR0MC0");
}

void SelectPen(PlotStreamState& state) {
    switch (state.colorModel) {
        case kPenModelMonochrome:
            if (state.currentPen == 1) return;
            SendPenCountIfChanged(state);
            if (!state.penDefined[1]) DefinePen(state, 1);
            SendSelectPen(state, 1);
            return;
        case kPenModelGray:
            if (state.wantedColor == state.lastColorLookedUp) return;
            UsePaletteCodePen(state, GrayPen(GrayLuminance(state.wantedColor)));
            return;
        case kPenModelColor:
            if (state.wantedColor == state.lastColorLookedUp) return;
            UsePaletteCodePen(state, ColorModelPen(state));
            return;
        default:  // virtual pens: the printer's own pen table
            if (state.wantedPenIndex == state.currentPen) return;
            SendPenCountIfChanged(state);
            SendSelectPen(state, state.wantedPenIndex);
            return;
    }
}

void MoveTo(PlotStreamState& state, int32_t x, int32_t y) {
    StartJobIfNeeded(state);
    {
        PeChunk chunk(state);
        chunk.OpenPe();
        if (state.absoluteNext || x != state.lastRequestedX || y != state.lastRequestedY) {
            chunk.PenUp();
            chunk.Point(x, y);
        }
        chunk.Text(";");
        state.peOpen = 0;
    }
    state.plotNotEmpty = 1;
}

void DrawDot(PlotStreamState& state, const DciPoint& point, int32_t width) {
    StartJobIfNeeded(state);
    SelectPen(state);
    SendLineWeight(state, width);
    SendLineType(state);
    SendLineCap(state, 2);
    {
        PeChunk chunk(state);
        chunk.OpenPe();
        if (!NeedsMoveTo(state, point)) {
            chunk.Point(point.x, point.y);
        } else {
            chunk.PenUp();
            chunk.Point(point.x, point.y);
            chunk.Point(point.x, point.y);
        }
    }
    state.plotNotEmpty = 1;
}

void DrawPolyline(PlotStreamState& state, int32_t count, const DciPoint* points) {
    if (count < 1 || points == nullptr) return;
    if (count == 1 || (count == 2 && points[0].x == points[1].x && points[0].y == points[1].y)) {
        DrawDot(state, points[0], state.wantedLineWeight);
        return;
    }
    StartJobIfNeeded(state);
    SelectPen(state);
    SendLineAttributes(state);
    {
        PeChunk chunk(state);
        chunk.OpenPe();
        if (NeedsMoveTo(state, points[0])) {
            chunk.PenUp();
            chunk.Point(points[0].x, points[0].y);
        }
        chunk.Points(points + 1, static_cast<std::size_t>(count) - 1);
    }
    state.plotNotEmpty = 1;
}

void FillPolygon(PlotStreamState& state, int32_t count, const DciPoint* points) {
    if (count < 1 || points == nullptr) return;
    StartJobIfNeeded(state);
    SelectPen(state);
    if (state.sentFillType != 1) {
        SendCommand(state, "FT");
        state.sentFillType = 1;
    }
    {
        PeChunk chunk(state);
        chunk.OpenPe();
        if (NeedsMoveTo(state, points[0])) {
            chunk.PenUp();
            chunk.Point(points[0].x, points[0].y);
        }
        chunk.Text(";PMPE");
        chunk.Points(points + 1, static_cast<std::size_t>(count) - 1);
        chunk.Point(points[0].x, points[0].y);
        chunk.Text(";PM2FP");
        state.peOpen = 0;
    }
    state.plotNotEmpty = 1;
}

void EncodePoint(PlotStreamState& state, int32_t x, int32_t y) {
    char bytes[kMaxPointBytes];
    char* const end = EncodePointInto(state, bytes, x, y);
    Send(state, bytes, static_cast<std::size_t>(end - bytes));
}

void ResetPenState(PlotStreamState& state) {
    state.minLineWeight = 1;
    state.sentLineWeight = -1;
    state.sentLineJoin = -2;
    state.sentLineCap = -2;
    state.sentLineType = -2;
    state.sentFillType = -2;
    state.currentPen = -1;
    state.sentPenCount = -1;
    state.lastColorLookedUp = 0x77777777u;
    state.penDefined.fill(0);
    state.absoluteNext = 1;
    state.peOpen = 0;
}

void WriteJobClose(PlotStreamState& state) {
    if (!state.jobStarted) return;
    SendText(state, ";PUSP0PG;");
    Send(state,
         "\x1b"
         "E",
         2);
    state.peOpen = 0;
}
