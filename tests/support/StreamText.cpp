#include "support/StreamText.h"

#include <unistd.h>

namespace xomtest {

std::string TextSoFar(std::FILE* stream) {
    std::fflush(stream);
    std::string text;
    char buf[4096];
    for (ssize_t n = 0;
         (n = ::pread(fileno(stream), buf, sizeof buf, static_cast<off_t>(text.size()))) > 0;)
        text.append(buf, static_cast<std::size_t>(n));
    return text;
}

}  // namespace xomtest
