#include "tools/xomsim/JobSink.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#include "tools/jobrender/JobRenderer.h"
#include "tools/jobrender/PclRasterRenderer.h"
#include "tools/jobrender/PngBandWriter.h"
#include "tools/xomsim/JobSummary.h"
#include "tools/xomsim/SimAddress.h"
#include "tools/xomsim/TicketTokens.h"

namespace xomsim {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kPollMs = 100;
// A small receive buffer, so that a printer that reads slowly or not at all holds the sender back
// soon rather than after megabytes of kernel buffering.
constexpr int kReceiveBuffer = 64 * 1024;

std::string JobName(int number, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "job-%04d.%s", number, extension);
    return name;
}

// Renders the job's page as the printer would print it; the reason when it cannot.
std::string Preview(const std::string& job, const fs::path& png) {
    jobrender::RenderOptions options;
    jobrender::PclRasterRenderer raster;
    options.raster = &raster;
    jobrender::PngBandWriter writer(png.string(), options.dpi);
    const jobrender::RenderResult r = jobrender::RenderJob(job, options, writer);
    if (r.ok) return {};
    std::error_code ec;
    fs::remove(png, ec);
    return r.error;
}

}  // namespace

JobSink::JobSink(SinkOptions options, std::FILE* out) : m_options(std::move(options)), m_out(out) {}

JobSink::~JobSink() {
    if (m_listener >= 0) ::close(m_listener);
}

bool JobSink::Open(std::string& error) {
    SimEndpoint address;
    if (!ParseSimEndpoint(m_options.address, m_options.port, address)) {
        error = "'" + m_options.address + "' is not an IPv4 or IPv6 address";
        return false;
    }
    std::error_code ec;
    fs::create_directories(m_options.jobsDir, ec);
    if (ec || !fs::is_directory(m_options.jobsDir)) {
        error = "cannot use the jobs folder " + m_options.jobsDir + ": " + ec.message();
        return false;
    }
    m_port = m_options.port;
    if (m_options.faults.refuse) return true;  // nothing listens, so the system refuses

    m_listener = ::socket(address.storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listener < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    const int on = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    ::setsockopt(m_listener, SOL_SOCKET, SO_RCVBUF, &kReceiveBuffer, sizeof kReceiveBuffer);
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address.storage), address.length) != 0 ||
        ::listen(m_listener, 4) != 0) {
        error = "cannot listen on " + m_options.address + " port " + std::to_string(m_port) + ": " +
                std::strerror(errno);
        return false;
    }
    m_port = BoundPort(m_listener);
    return true;
}

int JobSink::Run(const std::atomic<bool>& stop) {
    while (!stop.load() && (m_options.maxJobs == 0 || m_jobs < m_options.maxJobs)) {
        if (m_listener < 0 || (m_options.asleep && m_options.asleep->load())) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
            continue;
        }
        pollfd p{m_listener, POLLIN, 0};
        if (::poll(&p, 1, kPollMs) <= 0) continue;
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        const int connection =
            ::accept4(m_listener, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
        if (connection < 0) continue;
        Serve(connection, EndpointText(peer), stop);
    }
    return m_jobs;
}

void JobSink::Serve(int connection, const std::string& peer, const std::atomic<bool>& stop) {
    const int number = ++m_jobs;
    const FaultPlan& faults = m_options.faults;
    const std::optional<std::uint64_t> limit = faults.limit();
    std::string job;
    std::string ending = "ended by the host";
    std::vector<char> buffer(std::size_t{64} * 1024);
    const Clock::time_point start = Clock::now();
    // A printer takes one job at a time; a connection that comes before this job's end has arrived
    // is told in the summary (it waits in the listen queue meanwhile). A host that waits for the
    // printer to end each job never sees it.
    bool anotherWaited = false;
    const auto wait = [&](short events) {
        pollfd p[2] = {{connection, static_cast<short>(events | POLLRDHUP), 0},
                       {m_listener, POLLIN, 0}};
        const nfds_t count = anotherWaited || m_listener < 0 ? 1 : 2;
        if (::poll(p, count, kPollMs) <= 0) return short{0};
        if (count == 2 && (p[1].revents & POLLIN) && !(p[0].revents & (POLLRDHUP | POLLHUP)))
            anotherWaited = true;
        return static_cast<short>(p[0].revents & (events | POLLHUP | POLLERR));
    };

    while (!stop.load()) {
        const bool atLimit = limit && job.size() >= *limit;
        if (atLimit && faults.closeAfter && job.size() >= *faults.closeAfter) {
            ending = "closed by the printer after " + std::to_string(job.size()) + " bytes";
            break;
        }
        if (atLimit && faults.resetAfter && job.size() >= *faults.resetAfter) {
            const linger reset{1, 0};  // close with a reset, not an orderly end
            ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
            ending = "reset by the printer after " + std::to_string(job.size()) + " bytes";
            break;
        }
        if (atLimit) {
            // The printer has stopped reading: it only notices the host going away.
            if (wait(POLLRDHUP) & (POLLRDHUP | POLLHUP | POLLERR)) {
                ending = "host went away while the printer stalled after " +
                         std::to_string(job.size()) + " bytes";
                break;
            }
            continue;
        }
        std::size_t want = buffer.size();
        if (limit) want = std::min<std::uint64_t>(want, *limit - job.size());
        if (faults.bytesPerSecond > 0) {
            // Read no faster than the rate allows since the job began.
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            const double allowed = elapsed * static_cast<double>(faults.bytesPerSecond);
            if (static_cast<double>(job.size()) >= allowed) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            want = std::min<std::size_t>(
                want, static_cast<std::size_t>(allowed - static_cast<double>(job.size())) + 1);
        }
        if (wait(POLLIN) == 0) continue;
        const ssize_t n = ::recv(connection, buffer.data(), want, 0);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            ending = std::string("connection failed: ") + std::strerror(errno);
            break;
        }
        job.append(buffer.data(), static_cast<std::size_t>(n));
    }
    if (stop.load() && ending == "ended by the host") ending = "printer stopped";
    if (anotherWaited) ending += " (another connection came before this job's end)";
    ::close(connection);

    const fs::path dir(m_options.jobsDir);
    const fs::path final = dir / JobName(number, "prn");
    const fs::path partial = dir / (JobName(number, "prn") + ".part");
    std::string stored = final.string();
    if (std::FILE* f = std::fopen(partial.c_str(), "wb")) {
        const bool written = std::fwrite(job.data(), 1, job.size(), f) == job.size();
        if (std::fclose(f) == 0 && written) {
            std::error_code ec;
            fs::rename(partial, final, ec);
            if (ec) stored = "not stored (" + ec.message() + ")";
        } else {
            stored = "not stored (" + std::string(std::strerror(errno)) + ")";
        }
    } else {
        stored = "not stored (" + std::string(std::strerror(errno)) + ")";
    }
    JobSummary summary = SummarizeJob(job);
    if (summary.ticket && m_options.printer)
        summary.tokens = CheckTicketTokens(m_options.printer->model, ReadTicketCredentials(job));
    std::string line = FormatSummary(number, peer, summary, ending) + " -> " + stored;
    if (m_options.preview) {
        const fs::path png = dir / JobName(number, "png");
        const std::string failed = Preview(job, png);
        line += failed.empty() ? ", preview " + png.string() : ", no preview: " + failed;
    }
    std::fprintf(m_out, "xomsim: %s\n", line.c_str());
    std::fflush(m_out);
}

}  // namespace xomsim
