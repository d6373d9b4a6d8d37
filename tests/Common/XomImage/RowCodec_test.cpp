#include "Common/XomImage/RowCodec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/PclRasterDecoder.h"
#include "tests/Common/XomImage/PlainRowCodec.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using xomimage::EncodeMethod2;
using xomimage::EncodeMethod3;

Bytes M2(const Bytes& row) {
    Bytes out(xomimage::MaxEncodedRowBytes(row.size()));
    out.resize(EncodeMethod2(row.data(), row.size(), out.data()));
    return out;
}

Bytes M3(const Bytes& row, const Bytes& seed) {
    Bytes out(xomimage::MaxEncodedRowBytes(row.size()));
    out.resize(EncodeMethod3(row.data(), seed.data(), row.size(), out.data()));
    return out;
}

Bytes Distinct(std::size_t n, std::uint8_t first = 1) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(first + i % 200);
    return b;
}

// Encodes both ways, compares with the plain encoder and decodes back.
void ExpectRoundTrip(const Bytes& row, const Bytes& seed, const std::string& what) {
    SCOPED_TRACE(what + " (" + std::to_string(row.size()) + " bytes)");
    const Bytes m2 = M2(row);
    const Bytes m3 = M3(row, seed);
    EXPECT_EQ(m2, plaincodec::Method2(row.data(), row.size()));
    EXPECT_EQ(m3, plaincodec::Method3(row.data(), seed.data(), row.size()));
    EXPECT_LE(m2.size(), xomimage::MaxEncodedRowBytes(row.size()));
    EXPECT_LE(m3.size(), xomimage::MaxEncodedRowBytes(row.size()));
    EXPECT_GE(m2.size(), xomimage::Method2LowerBound(row.size()));

    std::string error;
    Bytes decoded;
    ASSERT_TRUE(xomtest::DecodeMethod2(m2.data(), m2.size(), row.size(), decoded, error)) << error;
    EXPECT_EQ(decoded, row);
    Bytes delta = seed;
    ASSERT_TRUE(xomtest::DecodeMethod3(m3.data(), m3.size(), delta, error)) << error;
    EXPECT_EQ(delta, row);
}

TEST(Method2, RepeatRunsOf128ThenTheRest) {
    EXPECT_EQ(M2(Bytes(300, 7)), (Bytes{129, 7, 129, 7, 213, 7}));
    // 129 equal bytes: a repeat run of 128 and a literal run of one.
    EXPECT_EQ(M2(Bytes(129, 7)), (Bytes{129, 7, 0, 7}));
    EXPECT_EQ(M2(Bytes(130, 7)), (Bytes{129, 7, 255, 7}));
    EXPECT_EQ(M2(Bytes(128, 7)), (Bytes{129, 7}));
    EXPECT_EQ(M2(Bytes(3, 7)), (Bytes{254, 7}));
}

TEST(Method2, OnesAndPairsAreLiteralsOfAtMost128) {
    EXPECT_EQ(M2(Bytes{5}), (Bytes{0, 5}));
    EXPECT_EQ(M2(Bytes{5, 5}), (Bytes{1, 5, 5}));
    EXPECT_EQ(M2(Bytes{1, 2, 2, 3}), (Bytes{3, 1, 2, 2, 3}));
    // A run of three closes the literal; the rest of 1 after 128 opens a new one that the next
    // single byte joins.
    EXPECT_EQ(M2(Bytes{1, 4, 4, 4, 2}), (Bytes{0, 1, 254, 4, 0, 2}));
    Bytes run129then9(129, 4);
    run129then9.push_back(9);
    EXPECT_EQ(M2(run129then9), (Bytes{129, 4, 1, 4, 9}));

    const Bytes d130 = Distinct(130);
    Bytes expected{127};
    expected.insert(expected.end(), d130.begin(), d130.begin() + 128);
    expected.push_back(1);
    expected.insert(expected.end(), d130.begin() + 128, d130.end());
    EXPECT_EQ(M2(d130), expected);

    // 127 distinct bytes and a pair: the pair is split across two literal runs.
    Bytes splitPair = Distinct(127);
    splitPair.push_back(250);
    splitPair.push_back(250);
    Bytes split{127};
    split.insert(split.end(), splitPair.begin(), splitPair.begin() + 128);
    split.push_back(0);
    split.push_back(250);
    EXPECT_EQ(M2(splitPair), split);
}

TEST(Method3, OffsetsCommandsAndTrailingBytes) {
    const Bytes seed(400, 0);
    auto changedAt = [&](std::size_t at, std::size_t count) {
        Bytes row = seed;
        for (std::size_t k = 0; k < count; ++k) row[at + k] = static_cast<std::uint8_t>(9 + k);
        return row;
    };
    EXPECT_EQ(M3(seed, seed), Bytes{});
    EXPECT_EQ(M3(changedAt(0, 1), seed), (Bytes{0, 9}));
    EXPECT_EQ(M3(changedAt(30, 1), seed), (Bytes{30, 9}));
    EXPECT_EQ(M3(changedAt(31, 1), seed), (Bytes{31, 0, 9}));
    EXPECT_EQ(M3(changedAt(32, 1), seed), (Bytes{31, 1, 9}));
    EXPECT_EQ(M3(changedAt(285, 1), seed), (Bytes{31, 254, 9}));
    EXPECT_EQ(M3(changedAt(286, 1), seed), (Bytes{31, 255, 0, 9}));
    EXPECT_EQ(M3(changedAt(287, 2), seed), (Bytes{31 + 32, 255, 1, 9, 10}));
    // Nine changed bytes: a command of 8, then one of 1 at offset 0.
    EXPECT_EQ(M3(changedAt(2, 9), seed), (Bytes{0xE2, 9, 10, 11, 12, 13, 14, 15, 16, 0, 17}));
    // Offsets count from the end of the previous command's bytes.
    Bytes two = changedAt(3, 1);
    two[10] = 1;
    EXPECT_EQ(M3(two, seed), (Bytes{3, 9, 6, 1}));
    // The last byte of the row.
    EXPECT_EQ(M3(changedAt(399, 1), seed), (Bytes{31, 255, 113, 9}));
}

TEST(RowCodecs, AdversarialRowsMatchThePlainEncoderAndDecodeBack) {
    std::vector<std::size_t> lengths{1,   2,   3,   7,   8,   9,   15,  16,  17,  127,
                                     128, 129, 130, 254, 255, 256, 257, 300, 511, 1000};
    for (std::size_t n : lengths) {
        const Bytes zero(n, 0);
        ExpectRoundTrip(Bytes(n, 0), zero, "all zero");
        ExpectRoundTrip(Bytes(n, 255), zero, "all equal");
        Bytes alternating(n);
        for (std::size_t i = 0; i < n; ++i) alternating[i] = i % 2 ? 255 : 0;
        ExpectRoundTrip(alternating, zero, "alternating");
        ExpectRoundTrip(alternating, Bytes(n, 255), "alternating on white");
        Bytes pairs(n);
        for (std::size_t i = 0; i < n; ++i) pairs[i] = static_cast<std::uint8_t>((i / 2) % 3);
        ExpectRoundTrip(pairs, zero, "pairs");
        ExpectRoundTrip(Distinct(n), zero, "distinct");
    }
    for (std::size_t run : {127u, 128u, 129u, 130u, 255u, 256u, 257u, 383u, 384u, 385u}) {
        Bytes row = Distinct(5);
        row.insert(row.end(), run, 42);
        Bytes tail = Distinct(5, 100);
        row.insert(row.end(), tail.begin(), tail.end());
        ExpectRoundTrip(row, Bytes(row.size(), 0), "run of " + std::to_string(run));
        ExpectRoundTrip(Bytes(run, 42), Bytes(run, 0), "bare run of " + std::to_string(run));
    }
    for (std::size_t at : {30u, 31u, 32u, 285u, 286u, 287u, 540u, 541u, 542u}) {
        Bytes seed(600, 200);
        Bytes row = seed;
        row[at] = 1;
        row[at + 20] = 2;
        ExpectRoundTrip(row, seed, "change at " + std::to_string(at));
    }
}

TEST(RowCodecs, RandomRowsMatchThePlainEncoderAndDecodeBack) {
    std::mt19937 rng(1234);
    for (int trial = 0; trial < 400; ++trial) {
        const std::size_t n = 1 + rng() % 700;
        // Few symbols make runs, pairs and unchanged stretches likely.
        const unsigned symbols = 1 + rng() % (trial % 4 == 0 ? 256 : 4);
        Bytes seed(n), row(n);
        for (auto& b : seed) b = static_cast<std::uint8_t>(rng() % symbols);
        for (std::size_t i = 0; i < n; ++i) {
            row[i] = rng() % 3 == 0 ? static_cast<std::uint8_t>(rng() % symbols) : seed[i];
        }
        ExpectRoundTrip(row, seed, "random trial " + std::to_string(trial));
    }
}

}  // namespace
