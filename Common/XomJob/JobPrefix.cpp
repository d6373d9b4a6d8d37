#include "Common/XomJob/JobPrefix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Utf8.h"

JobPrefixPlan PlanJobPrefix(bool plotToFile, const DriverSettings& s) {
    JobPrefixPlan plan;
    plan.ticketInStream = !plotToFile || s.PutXMLinPlotFile == 1;
    plan.makeTicket = plan.ticketInStream || !s.DebugHeaderFilePath.empty();
    return plan;
}

std::string ComposeJobPrefix(const JobPrefixPlan& plan, const std::string& ticket,
                             const std::string& pjlHeader) {
    return (plan.ticketInStream ? ticket : std::string()) + pjlHeader;
}

namespace {

std::wstring SystemText(int error) {
    return xomplatform::FromUtf8(std::strerror(error));
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteDiagnosticHeaderFile(const std::wstring& path, const std::string& ticket,
                               const std::string& pjlHeader, std::wstring& error) {
    const std::string name = xomplatform::ToUtf8(path);
    // Opened without truncation first, so a file another plot holds is not emptied under it.
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = SystemText(errno);
        return false;
    }
    bool ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::ftruncate(fd, 0) == 0 &&
              WriteAll(fd, ticket) && WriteAll(fd, pjlHeader);
    const int failure = errno;
    if (::close(fd) != 0 && ok) {
        error = SystemText(errno);
        return false;
    }
    if (!ok) error = SystemText(failure == EWOULDBLOCK ? EBUSY : failure);
    return ok;
}
