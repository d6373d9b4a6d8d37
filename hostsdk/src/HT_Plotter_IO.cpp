// The host's output object: a file (plot to file), a device path, or a pipe to a print command.
#include "hdi/HT_Plotter_IO.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "HostText.h"
#include "hdi/HT_Plotter_Definition.h"

namespace {
std::wstring ErrnoText(const std::string& what, int err) {
    return hostsdk::FromUtf8(what + ": " + std::strerror(err));
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
    // A subclass is already destroyed here: only this class's close can run (a subclass closes
    // its own resources in its own destructor).
    if (is_open()) HT_Plotter_IO::close();
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
    return config->is_plot_to_file() ? config->output_file : config->port;
}

bool HT_Plotter_IO::open() {
    if (is_open()) return true;
    m_lastError.clear();
    m_written = 0;
    m_writeFailures = 0;
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
    const std::string target = hostsdk::ToUtf8(name);
    if (config->is_plot_to_file()) {
        m_fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (m_fd < 0) {
            m_lastError = ErrnoText("cannot create " + target, errno);
            return false;
        }
    } else if (target[0] == '|') {
        const std::string command = target.substr(1);
        if (command.find_first_not_of(" \t") == std::string::npos) {
            m_lastError = L"empty print command";
            return false;
        }
        // popen runs the command through "sh -c"; "we" keeps the pipe out of other children.
        m_pipe = ::popen(command.c_str(), "we");
        if (!m_pipe) {
            m_lastError = ErrnoText("cannot start " + command, errno);
            return false;
        }
        m_fd = fileno(m_pipe);
        m_isPipe = true;
    } else {
        m_fd = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (m_fd < 0) {
            m_lastError = ErrnoText("cannot open port " + target, errno);
            return false;
        }
    }
    m_openFailed = false;
    return true;
}

std::size_t HT_Plotter_IO::write(const void* bytes, std::size_t length) {
    if (!is_open()) {
        ++m_writeFailures;
        if (m_lastError.empty()) m_lastError = L"output is not open";
        return 0;
    }
    const auto* p = static_cast<const unsigned char*>(bytes);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = m_isPipe ? WriteNoSigpipe(m_fd, p + done, length - done)
                                   : ::write(m_fd, p + done, length - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            m_lastError = ErrnoText("write to " + hostsdk::ToUtf8(output_name()), errno);
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

bool HT_Plotter_IO::close() {
    if (!is_open()) return true;
    bool ok = true;
    if (m_isPipe) {
        const int status = ::pclose(m_pipe);
        m_pipe = nullptr;
        if (status == -1) {
            m_lastError = ErrnoText("print command", errno);
            ok = false;
        } else if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
            m_lastError =
                L"print command exited with status " + std::to_wstring(WEXITSTATUS(status));
            ok = false;
        } else if (WIFSIGNALED(status)) {
            m_lastError = L"print command ended by signal " + std::to_wstring(WTERMSIG(status));
            ok = false;
        }
    } else if (::close(m_fd) != 0) {
        m_lastError = ErrnoText("close " + hostsdk::ToUtf8(output_name()), errno);
        ok = false;
    }
    m_fd = -1;
    m_isPipe = false;
    return ok;
}
