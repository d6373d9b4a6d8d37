#include "support/GoldenFile.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

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
