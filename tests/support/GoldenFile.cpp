#include "GoldenFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "ByteDiff.h"

void ExpectMatchesGoldenFile(const std::string& actual, const std::string& path) {
    if (const char* update = std::getenv("XOM_UPDATE_GOLDEN");
        update != nullptr && *update == '1') {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << actual;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream expected;
    expected << in.rdbuf();
    ASSERT_TRUE(in.good() || in.eof()) << "missing golden file " << path;
    ASSERT_FALSE(expected.str().empty()) << "missing golden file " << path;
    EXPECT_TRUE(BytesEqual(actual, expected.str())) << path;
}
