#include "support/GoldenFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/ByteDiff.h"

std::string ReadGoldenFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool RewriteGoldenIfAsked(const std::string& path, const std::string& actual) {
    const char* update = std::getenv("XOM_UPDATE_GOLDEN");
    if (update == nullptr || std::string(update) != "1") return false;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << actual;
    return true;
}

void ExpectMatchesGoldenFile(const std::string& actual, const std::string& path) {
    if (RewriteGoldenIfAsked(path, actual)) return;
    const std::string expected = ReadGoldenFile(path);
    ASSERT_FALSE(expected.empty()) << "missing golden file " << path;
    EXPECT_TRUE(BytesEqual(actual, expected)) << path;
}
