#include "support/HpglTokenizer.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr char kEsc = '\x1b';

bool IsLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsParamChar(unsigned char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == ',' || c == '+' || c == '-' || c == ' ';
}
bool IsSeparator(unsigned char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

std::string Describe(unsigned char c) {
    char text[48];
    std::snprintf(text, sizeof text, "byte 0x%02X", c);
    return text;
}

class Tokenizer {
  public:
    explicit Tokenizer(std::string_view s) : s_(s) {}

    HpglTokenizeResult Run() {
        while (pos_ < s_.size() && result_.ok) {
            if (s_[pos_] == kEsc) {
                Escape();
            } else if (hpgl_) {
                Command();
            } else {
                Text();
            }
        }
        return std::move(result_);
    }

  private:
    void Fail(std::size_t at, std::string message) {
        result_.ok = false;
        result_.error = std::move(message);
        result_.errorOffset = at;
    }

    void Text() {
        const std::size_t start = pos_;
        while (pos_ < s_.size() && s_[pos_] != kEsc) ++pos_;
        HpglToken t;
        t.kind = HpglToken::Kind::Text;
        t.params = std::string(s_.substr(start, pos_ - start));
        t.offset = start;
        result_.tokens.push_back(std::move(t));
    }

    void Escape() {
        const std::size_t start = pos_++;
        if (pos_ >= s_.size()) return Fail(start, "escape at end of stream");
        const auto c = static_cast<unsigned char>(s_[pos_]);
        if (c >= 0x30 && c <= 0x7E) {  // two-character escape, e.g. ESC E (reset)
            ++pos_;
            if (c == 'E') hpgl_ = false;
            return Push(start);
        }
        if (c < 0x21 || c > 0x2F) return Fail(pos_, "escape with " + Describe(c));
        ++pos_;
        const bool percent = c == '%';
        if (!percent) {  // parameterised: a group character first
            if (pos_ >= s_.size()) return Fail(start, "escape sequence cut short");
            const auto group = static_cast<unsigned char>(s_[pos_]);
            if (group < 0x60 || group > 0x7E) return Fail(pos_, "escape group " + Describe(group));
            ++pos_;
        }
        // Value and parameter pairs; a lower-case parameter character continues the sequence.
        for (;;) {
            const std::size_t valueStart = pos_;
            while (pos_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[pos_])) ||
                                        s_[pos_] == '-' || s_[pos_] == '+' || s_[pos_] == '.')) {
                ++pos_;
            }
            if (pos_ >= s_.size()) return Fail(start, "escape sequence cut short");
            const auto p = static_cast<unsigned char>(s_[pos_]);
            const std::string_view value = s_.substr(valueStart, pos_ - valueStart);
            ++pos_;
            if (percent) {
                if (p == 'B')
                    hpgl_ = true;
                else if (p == 'A' || p == 'X')  // X: universal exit, PJL text follows
                    hpgl_ = false;
                else
                    return Fail(pos_ - 1, "escape % with " + Describe(p));
                return Push(start);
            }
            if (p == 'W' || p == 'V' || p == 'w' || p == 'v') {  // data bytes follow
                std::size_t count = 0;
                for (char d : value) {
                    if (d < '0' || d > '9') return Fail(valueStart, "bad data count");
                    count = count * 10 + static_cast<std::size_t>(d - '0');
                    if (count > s_.size()) return Fail(valueStart, "data count beyond the stream");
                }
                const std::size_t dataStart = pos_;
                if (count > s_.size() - pos_)
                    return Fail(valueStart, "data count beyond the stream");
                if (p == 'W' || p == 'V') {
                    pos_ += count;
                    Push(start, dataStart);
                    return;
                }
                pos_ += count;
                continue;
            }
            if (p >= 0x60 && p <= 0x7E) continue;
            if (p >= 0x40 && p <= 0x5E) return Push(start);
            return Fail(pos_ - 1, "escape parameter " + Describe(p));
        }
    }

    void Push(std::size_t start, std::size_t end = std::string_view::npos) {
        HpglToken t;
        t.kind = HpglToken::Kind::Escape;
        const std::size_t stop = end == std::string_view::npos ? pos_ : end;
        t.mnemonic = std::string(s_.substr(start, stop - start));
        t.offset = start;
        result_.tokens.push_back(std::move(t));
    }

    void Command() {
        const auto c = static_cast<unsigned char>(s_[pos_]);
        if (c == ';' || IsSeparator(c)) {
            ++pos_;
            return;
        }
        if (!IsLetter(c)) return Fail(pos_, Describe(c) + " where a command should start");
        if (pos_ + 1 >= s_.size() || !IsLetter(static_cast<unsigned char>(s_[pos_ + 1]))) {
            return Fail(pos_, "command mnemonic cut short");
        }
        HpglToken t;
        t.offset = pos_;
        t.mnemonic = {static_cast<char>(std::toupper(c)),
                      static_cast<char>(std::toupper(static_cast<unsigned char>(s_[pos_ + 1])))};
        pos_ += 2;
        const std::size_t start = pos_;
        if (t.mnemonic == "PE") {
            // PE data runs to its ";" (the base-64 digits include letters).
            while (pos_ < s_.size() && s_[pos_] != ';' && s_[pos_] != kEsc) ++pos_;
        } else {
            while (pos_ < s_.size() && IsParamChar(static_cast<unsigned char>(s_[pos_]))) ++pos_;
        }
        t.params = std::string(s_.substr(start, pos_ - start));
        if (pos_ < s_.size() && s_[pos_] == ';') {
            t.terminated = true;
            ++pos_;
        }
        result_.tokens.push_back(std::move(t));
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    bool hpgl_ = false;
    HpglTokenizeResult result_;
};

}  // namespace

HpglTokenizeResult TokenizeHpgl(std::string_view stream) {
    return Tokenizer(stream).Run();
}

std::vector<std::string> CommandMnemonics(const std::vector<HpglToken>& tokens) {
    std::vector<std::string> names;
    for (const auto& t : tokens) {
        if (t.kind == HpglToken::Kind::Command) names.push_back(t.mnemonic);
    }
    return names;
}

std::size_t CountCommands(const std::vector<HpglToken>& tokens, std::string_view mnemonic) {
    std::size_t n = 0;
    for (const auto& t : tokens) {
        if (t.kind == HpglToken::Kind::Command && t.mnemonic == mnemonic) ++n;
    }
    return n;
}

std::size_t CountCommands(const std::vector<HpglToken>& tokens, std::string_view mnemonic,
                          std::string_view params) {
    std::size_t n = 0;
    for (const auto& t : tokens) {
        if (t.kind == HpglToken::Kind::Command && t.mnemonic == mnemonic && t.params == params) ++n;
    }
    return n;
}
