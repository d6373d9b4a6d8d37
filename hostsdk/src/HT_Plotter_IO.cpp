// The host's output object: a file (plot to file), a device path, or a pipe to a print command.
#include "hdi/HT_Plotter_IO.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "HostText.h"
#include "hdi/HT_Plotter_Definition.h"

namespace {
std::wstring ErrnoText(const std::string& what, int err) {
    return hostsdk::FromUtf8(what + ": " + std::strerror(err));
}

// How long one wait for a blocked destination lasts before the cancel check is asked again.
constexpr int kWritePollMs = 200;

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void SetNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

// Writes to a pipe without letting SIGPIPE end the host: the signal is blocked on this thread for
// the write, and a SIGPIPE that the write raised is taken off the pending set again.
ssize_t WriteNoSigpipe(int fd, const void* bytes, size_t length) {
    sigset_t pipeSet, oldSet, pending;
    sigemptyset(&pipeSet);
    sigaddset(&pipeSet, SIGPIPE);
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipeSet, &oldSet);
    ssize_t n = ::write(fd, bytes, length);
    const int err = errno;
    if (n < 0 && err == EPIPE && !wasPending) {
        const timespec zero{0, 0};
        while (sigtimedwait(&pipeSet, nullptr, &zero) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &oldSet, nullptr);
    errno = err;
    return n;
}
}  // namespace

HT_Plotter_IO::HT_Plotter_IO(HT_Error_Handler* error_handler) : m_errorHandler(error_handler) {}

HT_Plotter_IO::~HT_Plotter_IO() {
    // Destroyed without a close: whatever was written is not a finished job. A subclass is
    // already destroyed here, so only this class's abort can run.
    HT_Plotter_IO::abort();
}

void HT_Plotter_IO::set_plotter_definition(HT_Std_Plotter_Definition* definition) {
    m_definition = definition;
}

bool HT_Plotter_IO::is_plot_to_file() const {
    const HT_Std_Plotter_Configuration* config =
        m_definition ? m_definition->get_plotter_configuration() : nullptr;
    return config ? config->is_plot_to_file() : false;
}

std::wstring HT_Plotter_IO::output_name() const {
    const HT_Std_Plotter_Configuration* config =
        m_definition ? m_definition->get_plotter_configuration() : nullptr;
    if (!config) return {};
    return config->is_plot_to_file() ? config->get_io_configuration()->output_file
                                     : config->get_io_configuration()->port;
}

bool HT_Plotter_IO::open() {
    if (is_open()) return true;
    m_lastError.clear();
    m_written = 0;
    m_writeFailures = 0;
    m_aborted = false;
    m_openFailed = true;  // until the destination is open
    const HT_Std_Plotter_Configuration* config =
        m_definition ? m_definition->get_plotter_configuration() : nullptr;
    if (!config) {
        m_lastError = L"no plotter configuration to open the output from";
        return false;
    }
    const std::wstring name = output_name();
    if (name.empty()) {
        m_lastError = config->is_plot_to_file() ? L"no output file name" : L"no output port";
        return false;
    }
    // Names are bytes: whatever the locale, the job goes to exactly the file that was named.
    m_target = xomplatform::PathToBytes(name);
    bool opened = false;
    if (config->is_plot_to_file()) {
        opened = open_file();
    } else if (m_target[0] == '|') {
        const std::string command = m_target.substr(1);
        if (command.find_first_not_of(" \t") == std::string::npos) {
            m_lastError = L"empty print command";
            return false;
        }
        opened = open_command(command);
    } else {
        opened = open_port();
    }
    m_openFailed = !opened;
    // Only pipes and sockets raise SIGPIPE; writes to a regular file skip the guard's four
    // system calls, which on a large job cost more than the writes themselves.
    struct stat st {};
    m_sigpipeGuard = !(opened && ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode));
    return opened;
}

bool HT_Plotter_IO::open_file() {
    struct stat existing {};
    const bool exists = ::stat(m_target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        // A device or FIFO named as the plot file takes the job directly.
        m_fd = ::open(m_target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (m_fd < 0) {
            m_lastError = ErrnoText("cannot open " + m_target, errno);
            return false;
        }
        if (!S_ISCHR(existing.st_mode)) SetNonBlocking(m_fd);
        return true;
    }
    const std::string dir = DirectoryOf(m_target);
    std::string temp = (dir == "/" ? std::string() : dir) + "/." + BaseOf(m_target) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        m_lastError = ErrnoText("cannot create " + m_target, errno);
        return false;
    }
    // The finished file gets the mode a new file would get, or the one of the file it replaces.
    mode_t mode = 0;
    if (exists) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    m_fd = fd;
    m_tempPath = temp;
    return true;
}

bool HT_Plotter_IO::open_command(const std::string& command) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        m_lastError = ErrnoText("cannot start " + command, errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // Its own process group, so that an abort reaches every process of the command; default
    // signal dispositions and an empty mask, whatever the host ignores or blocks.
    sigset_t defaults, none;
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&defaults, sig);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setflags(
        &attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    char sh[] = "/bin/sh", dashC[] = "-c";
    std::string text = command;
    char* argv[] = {sh, dashC, text.data(), nullptr};
    pid_t pid = -1;
    const int err = posix_spawn(&pid, "/bin/sh", &actions, &attr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    ::close(fds[0]);
    if (err != 0) {
        ::close(fds[1]);
        m_lastError = ErrnoText("cannot start " + command, err);
        return false;
    }
    m_childPid = pid;
    m_fd = fds[1];
    SetNonBlocking(m_fd);
    return true;
}

bool HT_Plotter_IO::open_port() {
    m_fd = ::open(m_target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0) {
        m_lastError = ErrnoText("cannot open port " + m_target, errno);
        return false;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) == 0) {
        // A regular file as port holds this job only, never the tail of an earlier one.
        if (S_ISREG(st.st_mode) && ::ftruncate(m_fd, 0) != 0) {
            m_lastError = ErrnoText("cannot truncate " + m_target, errno);
            ::close(m_fd);
            m_fd = -1;
            return false;
        }
        if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) SetNonBlocking(m_fd);
    }
    return true;
}

bool HT_Plotter_IO::wait_writable() {
    for (;;) {
        if (m_cancelCheck && m_cancelCheck()) {
            m_lastError = L"write to " + output_name() + L" given up: the plot was cancelled";
            return false;
        }
        pollfd p{m_fd, POLLOUT, 0};
        const int n = ::poll(&p, 1, kWritePollMs);
        if (n > 0) return true;  // writable, or an error the next write reports
        if (n < 0 && errno != EINTR) {
            m_lastError = ErrnoText("write to " + m_target, errno);
            return false;
        }
    }
}

std::size_t HT_Plotter_IO::write(const void* bytes, std::size_t length) {
    if (!is_open()) {
        ++m_writeFailures;
        if (m_lastError.empty()) m_lastError = L"output is not open";
        return 0;
    }
    if (m_byteLimit != 0 && length > m_byteLimit - std::min(m_written, m_byteLimit)) {
        m_limitExceeded = true;
        m_lastError =
            m_limitReason.empty() ? L"the job is larger than the output's limit" : m_limitReason;
        ++m_writeFailures;
        return 0;
    }
    const auto* p = static_cast<const unsigned char*>(bytes);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = m_sigpipeGuard ? WriteNoSigpipe(m_fd, p + done, length - done)
                                         : ::write(m_fd, p + done, length - done);
        if (n < 0) {
            const int err = errno;
            if (err == EAGAIN || err == EWOULDBLOCK || err == EINTR) {
                if (wait_writable()) continue;
                break;
            }
            m_lastError = ErrnoText("write to " + m_target, err);
            break;
        }
        if (n == 0) {
            m_lastError = L"output accepted no more bytes";
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    m_written += done;
    if (done < length) ++m_writeFailures;
    return done;
}

bool HT_Plotter_IO::reap_command() {
    int status = 0;
    pid_t got;
    while ((got = ::waitpid(m_childPid, &status, 0)) < 0 && errno == EINTR) {
    }
    m_childPid = -1;
    if (got < 0) {
        m_lastError = ErrnoText("print command", errno);
        return false;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        m_lastError = L"print command exited with status " + std::to_wstring(WEXITSTATUS(status));
        return false;
    }
    if (WIFSIGNALED(status)) {
        m_lastError = L"print command ended by signal " + std::to_wstring(WTERMSIG(status));
        return false;
    }
    return true;
}

bool HT_Plotter_IO::close() {
    if (!is_open()) return true;
    if (m_writeFailures > 0) {
        // Part of the job is missing: it is given up, never delivered, whoever closes it.
        abort();
        return false;
    }
    const int fd = std::exchange(m_fd, -1);
    if (m_childPid > 0) {
        ::close(fd);  // the command sees the end of the job
        return reap_command();
    }
    if (m_tempPath.empty()) {
        if (::close(fd) != 0) {
            m_lastError = ErrnoText("close " + m_target, errno);
            return false;
        }
        return true;
    }
    const std::string temp = std::exchange(m_tempPath, {});
    if (m_written == 0) {
        // Nothing was plotted: an earlier file of that name stays as it was.
        ::close(fd);
        ::unlink(temp.c_str());
        return true;
    }
    const char* failed = nullptr;
    int err = 0;
    if (::fsync(fd) != 0) {
        failed = "write ";
        err = errno;
    }
    if (::close(fd) != 0 && failed == nullptr) {
        failed = "close ";
        err = errno;
    }
    if (failed == nullptr && ::rename(temp.c_str(), m_target.c_str()) != 0) {
        failed = "cannot replace ";
        err = errno;
    }
    if (failed != nullptr) {
        ::unlink(temp.c_str());
        m_lastError = ErrnoText(failed + m_target, err);
        return false;
    }
    return true;
}

void HT_Plotter_IO::abort() {
    if (m_fd < 0 && m_childPid <= 0 && m_tempPath.empty()) return;
    if (m_childPid > 0) {
        // Before the command sees the end of its input: it must not take the partial job.
        ::kill(-m_childPid, SIGKILL);
    }
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (m_childPid > 0) {
        int status = 0;
        while (::waitpid(m_childPid, &status, 0) < 0 && errno == EINTR) {
        }
        m_childPid = -1;
    }
    if (!m_tempPath.empty()) ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
    m_aborted = true;
}
