#pragma once
// The two row compressions written the plain way, a byte at a time, straight from their rules.
// The driver's word-at-a-time encoder must give exactly these bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace plaincodec {

inline std::vector<std::uint8_t> Method2(const std::uint8_t* row, std::size_t n) {
    std::vector<std::uint8_t> out;
    std::size_t literalAt = 0;
    std::size_t literalCount = 0;
    auto close = [&] {
        if (literalCount != 0) out[literalAt] = static_cast<std::uint8_t>(literalCount - 1);
        literalCount = 0;
    };
    auto literal = [&](std::uint8_t b) {
        if (literalCount == 0 || literalCount == 128) {
            close();
            literalAt = out.size();
            out.push_back(0);
        }
        out.push_back(b);
        ++literalCount;
    };
    std::size_t i = 0;
    while (i < n) {
        std::size_t j = i + 1;
        while (j < n && row[j] == row[i]) ++j;
        std::size_t run = j - i;
        if (run <= 2) {
            for (std::size_t k = 0; k < run; ++k) literal(row[i]);
        } else {
            close();
            for (; run >= 128; run -= 128) {
                out.push_back(129);
                out.push_back(row[i]);
            }
            if (run == 1) {
                literal(row[i]);
            } else if (run >= 2) {
                out.push_back(static_cast<std::uint8_t>(1 - static_cast<int>(run)));
                out.push_back(row[i]);
            }
        }
        i = j;
    }
    close();
    return out;
}

inline std::vector<std::uint8_t> Method3(const std::uint8_t* row, const std::uint8_t* seed,
                                         std::size_t n) {
    std::vector<std::uint8_t> out;
    std::size_t afterLast = 0;
    std::size_t i = 0;
    while (i < n) {
        if (row[i] == seed[i]) {
            ++i;
            continue;
        }
        std::size_t count = 0;
        while (i + count < n && count < 8 && row[i + count] != seed[i + count]) ++count;
        const std::size_t offset = i - afterLast;
        const auto command = static_cast<std::uint8_t>((count - 1) << 5);
        if (offset < 31) {
            out.push_back(static_cast<std::uint8_t>(command + offset));
        } else {
            out.push_back(static_cast<std::uint8_t>(command + 31));
            std::size_t rest = offset - 31;
            for (; rest >= 255; rest -= 255) out.push_back(255);
            out.push_back(static_cast<std::uint8_t>(rest));
        }
        for (std::size_t k = 0; k < count; ++k) out.push_back(row[i + k]);
        i += count;
        afterLast = i;
    }
    return out;
}

}  // namespace plaincodec
