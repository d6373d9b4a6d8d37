#include "support/ByteDiff.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

std::string HexDump(std::string_view bytes, std::size_t from, std::size_t to) {
    std::string out;
    char cell[24];
    for (std::size_t row = from - from % 16; row < std::min(to, bytes.size()); row += 16) {
        std::snprintf(cell, sizeof cell, "%06zx", row);
        out += "  ";
        out += cell;
        out += ':';
        for (std::size_t i = row; i < row + 16 && i < bytes.size(); ++i) {
            std::snprintf(cell, sizeof cell, " %02x", static_cast<unsigned char>(bytes[i]));
            out += cell;
        }
        out += '\n';
    }
    return out;
}

}  // namespace

std::string Printable(std::string_view bytes) {
    std::string out;
    char cell[8];
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0x1b) {
            out += "\\e";
        } else if (c < 0x20 || c > 0x7e) {
            std::snprintf(cell, sizeof cell, "\\x%02X", c);
            out += cell;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

::testing::AssertionResult BytesEqual(std::string_view actual, std::string_view expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    const auto mismatch =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    const auto offset = static_cast<std::size_t>(mismatch.first - actual.begin());
    const std::size_t from = offset >= 32 ? offset - 32 : 0;
    return ::testing::AssertionFailure()
           << "bytes differ at offset " << offset << " (actual " << actual.size()
           << " bytes, expected " << expected.size() << ")\nactual:   " << Printable(actual)
           << "\nexpected: " << Printable(expected) << "\nactual around the offset:\n"
           << HexDump(actual, from, offset + 32) << "expected around the offset:\n"
           << HexDump(expected, from, offset + 32);
}
