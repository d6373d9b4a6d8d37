#include "juxcommoncode/PlotLog/PlotLogLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "juxcommoncode/JuxSerialize/MultibyteText.h"

namespace JuxNetwork {

namespace {

// Short steps: a plot holds the lock only while it loads and saves ten records.
constexpr std::chrono::milliseconds kRetryStep{2};

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

PlotLogLock::~PlotLogLock() {
    Release();
}

std::chrono::milliseconds PlotLogLock::DefaultWait() {
    const char* text = std::getenv("XOM_PLOT_LOG_WAIT_MS");
    if (text == nullptr || *text == '\0') return kDefaultWait;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < 1 || value > 600000) return kDefaultWait;
    return std::chrono::milliseconds(value);
}

void PlotLogLock::Release() {
    if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
    m_fd = -1;
}

bool PlotLogLock::Acquire(const std::wstring& logPath, Mode mode, std::chrono::milliseconds wait) {
    Release();
    m_error.clear();
    m_folderMissing = false;
    const std::string folder = FolderOf(WideToMultibyte(logPath));
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        m_folderMissing = err == ENOENT;
        m_error = L"File error: " + MultibyteToWide(std::strerror(err)) + L", " + logPath;
        return false;
    }
    const int kind = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, kind | LOCK_NB) == 0) {
            m_fd = fd;
            return true;
        }
        const int err = errno;
        if ((err != EWOULDBLOCK && err != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            m_error = err == EWOULDBLOCK
                          ? L"The plot log is busy (another plot kept it locked): " + logPath
                          : L"File error: " + MultibyteToWide(std::strerror(err)) + L", " + logPath;
            return false;
        }
        std::this_thread::sleep_for(kRetryStep);
    }
}

}  // namespace JuxNetwork
