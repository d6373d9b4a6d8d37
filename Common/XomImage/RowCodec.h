#pragma once
// The two PCL row compressions, as pure functions over byte rows. Each writes into `out`, which
// must hold at least MaxEncodedRowBytes(length) bytes, and returns the number of bytes written.
//
// Method 2 (TIFF PackBits): runs of one or two equal bytes go into literal runs of at most 128
// bytes (a pair may be split across two literal runs); runs of three or more become repeat runs
// of 128 and then the rest, a rest of one starting a new literal run.
// Method 3 (delta row): commands of 1 to 8 changed bytes against the seed row, offsets of 31 or
// more carried in extension bytes; unchanged bytes at the end of the row are left out.
#include <cstddef>
#include <cstdint>

namespace xomimage {

// Room either method may need for a row of `length` bytes.
constexpr std::size_t MaxEncodedRowBytes(std::size_t length) {
    return 2 * (length + 256);
}

// With a limit, encoding may stop as soon as the form is known to be longer than `limit`; the
// result is then some size above the limit and the output incomplete.
std::size_t EncodeMethod2(const std::uint8_t* row, std::size_t length, std::uint8_t* out,
                          std::size_t limit = SIZE_MAX);
std::size_t EncodeMethod3(const std::uint8_t* row, const std::uint8_t* seed, std::size_t length,
                          std::uint8_t* out);

// Fewest bytes any method-2 form of `length` bytes can take: every run covers at most 128 bytes
// and costs at least two. A method-3 form shorter than this wins without encoding method 2.
constexpr std::size_t Method2LowerBound(std::size_t length) {
    return 2 * ((length + 127) / 128);
}

}  // namespace xomimage
