#include "Common/XomImage/RowCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>

// Rows are scanned eight bytes at a time: a word of byte differences tells at once whether any
// pair in it matches, so literal stretches, long runs and unchanged stretches cost a few
// instructions per word. The output is byte for byte what the byte-at-a-time rules give.
static_assert(std::endian::native == std::endian::little, "the word scans assume little-endian");

namespace xomimage {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
constexpr std::uint64_t kLows7 = 0x7F7F7F7F7F7F7F7FULL;

std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// High bit set in the lowest zero byte of v (bits above it may be set spuriously); 0 when v has
// no zero byte at all.
std::uint64_t LowestZeroByte(std::uint64_t v) {
    return (v - kOnes) & ~v & kHighs;
}

// High bit set in exactly the zero bytes of v.
std::uint64_t ZeroBytes(std::uint64_t v) {
    return ~(((v & kLows7) + kLows7) | v | kLows7);
}

std::size_t ByteIndex(std::uint64_t mask) {
    return static_cast<std::size_t>(std::countr_zero(mask)) >> 3;
}

// First index from `from` where a and b differ; length when they agree to the end.
std::size_t FirstDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t from,
                            std::size_t length) {
    std::size_t i = from;
    // Four words at a time; the first word that differs gives the byte.
    while (i + 32 <= length) {
        const std::uint64_t x0 = Load64(a + i) ^ Load64(b + i);
        const std::uint64_t x1 = Load64(a + i + 8) ^ Load64(b + i + 8);
        const std::uint64_t x2 = Load64(a + i + 16) ^ Load64(b + i + 16);
        const std::uint64_t x3 = Load64(a + i + 24) ^ Load64(b + i + 24);
        if ((x0 | x1 | x2 | x3) != 0) {
            if (x0 != 0) return i + ByteIndex(x0);
            if (x1 != 0) return i + 8 + ByteIndex(x1);
            if (x2 != 0) return i + 16 + ByteIndex(x2);
            return i + 24 + ByteIndex(x3);
        }
        i += 32;
    }
    while (i + 8 <= length) {
        const std::uint64_t x = Load64(a + i) ^ Load64(b + i);
        if (x != 0) return i + ByteIndex(x);
        i += 8;
    }
    while (i < length && a[i] == b[i]) ++i;
    return i;
}

// First index k from `from` that starts three equal bytes (row[k] == row[k + 1] == row[k + 2]);
// `length` when there is none. Before it every run is of one or two bytes.
std::size_t FirstTriple(const std::uint8_t* row, std::size_t from, std::size_t length) {
    std::size_t k = from;
    while (k + 10 <= length) {
        const std::uint64_t w0 = Load64(row + k);
        const std::uint64_t w1 = Load64(row + k + 1);
        const std::uint64_t w2 = Load64(row + k + 2);
        const std::uint64_t m = ZeroBytes(w0 ^ w1) & ZeroBytes(w1 ^ w2);
        if (m != 0) return k + ByteIndex(m);
        k += 8;
    }
    for (; k + 2 < length; ++k) {
        if (row[k] == row[k + 1] && row[k] == row[k + 2]) return k;
    }
    return length;
}

// End of the run of `value` that continues at `from`.
std::size_t RunEnd(const std::uint8_t* row, std::size_t from, std::size_t length,
                   std::uint8_t value) {
    const std::uint64_t pattern = kOnes * value;
    std::size_t j = from;
    while (j + 32 <= length) {
        const std::uint64_t x = (Load64(row + j) ^ pattern) | (Load64(row + j + 8) ^ pattern) |
                                (Load64(row + j + 16) ^ pattern) | (Load64(row + j + 24) ^ pattern);
        if (x != 0) break;
        j += 32;
    }
    while (j + 8 <= length) {
        const std::uint64_t x = Load64(row + j) ^ pattern;
        if (x != 0) return j + ByteIndex(x);
        j += 8;
    }
    while (j < length && row[j] == value) ++j;
    return j;
}

// Method-2 output with the open literal run (its count byte is written when it closes).
class PackBitsWriter {
  public:
    explicit PackBitsWriter(std::uint8_t* out) : m_out(out) {}

    void Literals(const std::uint8_t* bytes, std::size_t count) {
        while (count > 0) {
            if (m_literalCount == 0 || m_literalCount == 128) {
                CloseLiteral();
                m_literalAt = m_size++;
            }
            const std::size_t take = std::min(count, 128 - m_literalCount);
            std::memcpy(m_out + m_size, bytes, take);
            m_size += take;
            m_literalCount += take;
            bytes += take;
            count -= take;
        }
    }

    void Repeat(std::uint8_t value, std::size_t count) {
        CloseLiteral();
        for (; count >= 128; count -= 128) {
            m_out[m_size++] = 129;  // 1 - 128 as a signed byte
            m_out[m_size++] = value;
        }
        if (count == 1) {
            Literals(&value, 1);
        } else if (count >= 2) {
            m_out[m_size++] = static_cast<std::uint8_t>(1 - static_cast<int>(count));
            m_out[m_size++] = value;
        }
    }

    std::size_t Size() const { return m_size; }

    std::size_t Finish() {
        CloseLiteral();
        return m_size;
    }

  private:
    void CloseLiteral() {
        if (m_literalCount == 0) return;
        m_out[m_literalAt] = static_cast<std::uint8_t>(m_literalCount - 1);
        m_literalCount = 0;
    }

    std::uint8_t* m_out;
    std::size_t m_size = 0;
    std::size_t m_literalAt = 0;
    std::size_t m_literalCount = 0;  // 0: no literal run open
};

}  // namespace

std::size_t EncodeMethod2(const std::uint8_t* row, std::size_t length, std::uint8_t* out,
                          std::size_t limit) {
    PackBitsWriter w(out);
    std::size_t i = 0;
    while (i < length) {
        // Whatever comes next, each 128 bytes still to encode cost at least two output bytes
        // (a repeat pair; a literal costs a byte for each byte), so a form that cannot end within
        // the limit is given up at once.
        if (w.Size() + 2 * ((length - i) / 128) > limit) return limit + 1;
        // Runs of one or two bytes all go into literal runs: take them in bulk.
        const std::size_t triple = FirstTriple(row, i, length);
        if (triple > i) w.Literals(row + i, triple - i);
        if (triple >= length) break;
        const std::uint8_t value = row[triple];
        const std::size_t end = RunEnd(row, triple + 3, length, value);
        w.Repeat(value, end - triple);
        i = end;
    }
    return w.Finish();
}

std::size_t EncodeMethod3(const std::uint8_t* row, const std::uint8_t* seed, std::size_t length,
                          std::uint8_t* out) {
    std::size_t size = 0;
    std::size_t afterLast = 0;  // offsets count from the end of the previous command's bytes
    std::size_t i = FirstDifference(row, seed, 0, length);
    while (i < length) {
        std::size_t count;
        if (i + 8 <= length) {
            const std::uint64_t same = LowestZeroByte(Load64(row + i) ^ Load64(seed + i));
            count = same != 0 ? ByteIndex(same) : 8;
        } else {
            count = 0;
            while (i + count < length && count < 8 && row[i + count] != seed[i + count]) ++count;
        }
        const std::size_t offset = i - afterLast;
        const auto command = static_cast<std::uint8_t>((count - 1) << 5);
        if (offset < 31) {
            out[size++] = static_cast<std::uint8_t>(command + offset);
        } else {
            out[size++] = static_cast<std::uint8_t>(command + 31);
            std::size_t rest = offset - 31;
            for (; rest >= 255; rest -= 255) out[size++] = 255;
            out[size++] = static_cast<std::uint8_t>(rest);
        }
        if (i + 8 <= length) {
            // A whole word: the bytes past `count` are overwritten by what follows (the output
            // has room for the longest form plus a word).
            std::memcpy(out + size, row + i, 8);
        } else {
            std::memcpy(out + size, row + i, count);
        }
        size += count;
        i += count;
        afterLast = i;
        if (count == 8) {
            i = FirstDifference(row, seed, i, length);
        } else {
            // The byte after a short command is unchanged by construction.
            i = FirstDifference(row, seed, i + 1 < length ? i + 1 : length, length);
        }
    }
    return size;
}

}  // namespace xomimage
