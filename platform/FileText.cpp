#include "platform/FileText.h"

#include <fstream>

namespace xomplatform {

ReadFileResult ReadFileText(const std::string& path, std::size_t max_bytes, std::string& text) {
    text.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return ReadFileResult::CannotOpen;
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        text.append(buf, static_cast<std::size_t>(in.gcount()));
        if (text.size() > max_bytes) {
            text.clear();
            return ReadFileResult::TooLarge;
        }
    }
    return ReadFileResult::Ok;
}

}  // namespace xomplatform
