#include "support/PeDecoder.h"

#include <cstdio>

namespace {

std::string Describe(unsigned char c) {
    char text[32];
    std::snprintf(text, sizeof text, "byte 0x%02X", c);
    return text;
}

class PeReader {
  public:
    PeReader(const PeFrame& frame, PeDecodeResult& result) : frame_(frame), result_(result) {}

    // Decodes one PE command's data; offset is where the data starts in the stream.
    bool Decode(std::string_view data, std::size_t offset, bool inPolygon) {
        for (std::size_t i = 0; i < data.size(); ++i) {
            const auto b = static_cast<unsigned char>(data[i]);
            const std::size_t at = offset + i;
            if (b == '<' || b == '=') {
                if (MidPair()) return Fail(at, "flag inside a coordinate pair");
                (b == '<' ? penUp_ : absolute_) = true;
            } else if (b == '>' || b == ':' || b == '7') {
                return Fail(at, "PE flag not produced by the writer");
            } else if (b >= 63 && b <= 126) {
                if (shift_ > 54) return Fail(at, "coordinate with too many digits");
                value_ |= static_cast<uint64_t>(b - 63) << shift_;
                shift_ += 6;
            } else if (b >= 191 && b <= 254) {
                if (shift_ > 54) return Fail(at, "coordinate with too many digits");
                value_ |= static_cast<uint64_t>(b - 191) << shift_;
                const auto magnitude = static_cast<int64_t>(value_ >> 1);
                const int64_t number = (value_ & 1) ? -magnitude : magnitude;
                value_ = 0;
                shift_ = 0;
                if (!haveX_) {
                    pendingX_ = number;
                    haveX_ = true;
                } else {
                    haveX_ = false;
                    Emit(pendingX_, number, inPolygon);
                }
            } else {
                return Fail(at, Describe(b) + " in PE data");
            }
        }
        if (MidPair() || penUp_ || absolute_) {
            return Fail(offset + data.size(), "PE data ends inside a coordinate");
        }
        return true;
    }

  private:
    bool MidPair() const { return haveX_ || shift_ != 0; }

    bool Fail(std::size_t at, std::string message) {
        result_.ok = false;
        result_.error = std::move(message);
        result_.errorOffset = at;
        return false;
    }

    void Emit(int64_t dx, int64_t dy, bool inPolygon) {
        if (absolute_) {
            x_ = dx;
            y_ = dy;
        } else {
            x_ += dx;
            y_ += dy;
        }
        PePoint printer{x_, y_, !penUp_, absolute_, inPolygon};
        result_.printerPoints.push_back(printer);
        PePoint drawn = printer;
        if (frame_.rotate) {  // printer (L - (y + oy), x + ox)  ->  drawing (x, y)
            drawn.x = printer.y - frame_.offsetX;
            drawn.y = frame_.mediaLengthDots - printer.x - frame_.offsetY;
        } else {
            drawn.x = printer.x - frame_.offsetX;
            drawn.y = printer.y - frame_.offsetY;
        }
        result_.points.push_back(drawn);
        penUp_ = false;
        absolute_ = false;
    }

    const PeFrame& frame_;
    PeDecodeResult& result_;
    int64_t x_ = 0;
    int64_t y_ = 0;
    bool penUp_ = false;
    bool absolute_ = false;
    bool haveX_ = false;
    int64_t pendingX_ = 0;
    uint64_t value_ = 0;
    unsigned shift_ = 0;
};

}  // namespace

PeDecodeResult DecodePeStream(std::string_view stream, const PeFrame& frame) {
    PeDecodeResult result;
    HpglTokenizeResult tokens = TokenizeHpgl(stream);
    PeReader reader(frame, result);
    bool inPolygon = false;
    for (const HpglToken& t : tokens.tokens) {
        if (t.kind != HpglToken::Kind::Command) continue;
        if (t.mnemonic == "PM") {
            inPolygon = t.params.empty() || t.params == "0" || t.params == "1";
        } else if (t.mnemonic == "PE") {
            if (!reader.Decode(t.params, t.offset + 2, inPolygon)) return result;
            result.peOpenAtEnd = !t.terminated && t.offset + 2 + t.params.size() == stream.size();
        }
    }
    if (!tokens.ok) {
        result.ok = false;
        result.error = tokens.error;
        result.errorOffset = tokens.errorOffset;
    }
    return result;
}

std::vector<std::vector<PePoint>> SplitStrokes(const std::vector<PePoint>& points) {
    std::vector<std::vector<PePoint>> strokes;
    for (const PePoint& p : points) {
        if (!p.penDown || strokes.empty()) strokes.emplace_back();
        strokes.back().push_back(p);
    }
    return strokes;
}
