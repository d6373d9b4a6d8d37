#include "platform/FileText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace xomplatform {

ReadFileResult ReadFileText(const std::string& path, std::size_t max_bytes, std::string& text,
                            int* systemError) {
    text.clear();
    int unused = 0;
    int& err = systemError ? *systemError : unused;
    err = 0;
    // Non-blocking, so that opening a FIFO does not wait for a writer before it is refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        err = errno;
        return ReadFileResult::CannotOpen;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        err = errno;
        ::close(fd);
        return ReadFileResult::ReadFailed;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadFileResult::NotAFile;
    }
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            ::close(fd);
            text.clear();
            return ReadFileResult::ReadFailed;
        }
        if (n == 0) break;
        text.append(buf, static_cast<std::size_t>(n));
        if (text.size() > max_bytes) {
            ::close(fd);
            text.clear();
            return ReadFileResult::TooLarge;
        }
    }
    ::close(fd);
    return ReadFileResult::Ok;
}

std::string ReadFileErrorText(const std::string& path, ReadFileResult result, int systemError,
                              std::size_t max_bytes) {
    switch (result) {
        case ReadFileResult::Ok:
            return {};
        case ReadFileResult::CannotOpen:
            return path + ": cannot open: " + std::strerror(systemError);
        case ReadFileResult::NotAFile:
            return path + ": not a regular file";
        case ReadFileResult::ReadFailed:
            return path + ": read error: " + std::strerror(systemError);
        case ReadFileResult::TooLarge:
            return path + ": larger than " + std::to_string(max_bytes >> 20) + " MB";
    }
    return path + ": cannot read";
}

bool ReadFileOrError(const std::string& path, std::size_t max_bytes, std::string& text,
                     std::string& error) {
    int systemError = 0;
    const ReadFileResult result = ReadFileText(path, max_bytes, text, &systemError);
    if (result == ReadFileResult::Ok) return true;
    error = ReadFileErrorText(path, result, systemError, max_bytes);
    return false;
}

}  // namespace xomplatform
