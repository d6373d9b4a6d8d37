#include "tools/xomplot/HostPlotMonitor.h"

#include <signal.h>

#include <csignal>
#include <iterator>

namespace xomplot {

namespace {
volatile std::sig_atomic_t g_interrupted = 0;
// Ctrl-C, and a terminal that hangs up or a kill asking the plot to stop, all cancel it.
constexpr int kCancelSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction g_previous[std::size(kCancelSignals)];
bool g_installed = false;

void OnInterrupt(int) {
    g_interrupted = 1;
}
}  // namespace

void InstallInterruptHandler() {
    if (g_installed) return;
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    // No SA_RESTART: a write that the destination blocks returns, so the cancel is seen.
    sa.sa_flags = 0;
    for (std::size_t i = 0; i < std::size(kCancelSignals); ++i)
        sigaction(kCancelSignals[i], &sa, &g_previous[i]);
    g_installed = true;
}

void RestoreInterruptHandler() {
    if (!g_installed) return;
    for (std::size_t i = 0; i < std::size(kCancelSignals); ++i)
        sigaction(kCancelSignals[i], &g_previous[i], nullptr);
    g_installed = false;
}

bool InterruptRequested() {
    return g_interrupted != 0;
}
void ClearInterrupt() {
    g_interrupted = 0;
}

int HostPlotMonitor::request(int code) {
    // The one cancel flag is the signal's: the driver's poll and the host's loop read the same.
    if (code == HT_MONITOR_POLL_CANCEL) {
        if (InterruptRequested()) m_cancelled = true;
        return m_cancelled ? 1 : 0;
    }
    return HT_Plot_Monitor::request(code);
}

bool HostPlotMonitor::meter_start() {
    HT_Plot_Monitor::meter_start();
    if (m_out) {
        finish_line();
        std::fprintf(m_out, "Progress: 0%%");
        if (m_live)
            m_lineOpen = true;
        else
            std::fputc('\n', m_out);
        std::fflush(m_out);
    }
    return true;
}

void HostPlotMonitor::meter_show(int percent) {
    const int before = m_lastPercent;
    HT_Plot_Monitor::meter_show(percent);
    if (!m_out || m_lastPercent == before) return;
    if (m_live) {
        std::fprintf(m_out, "\rProgress: %d%%", m_lastPercent);
        m_lineOpen = true;
    } else {
        std::fprintf(m_out, "Progress: %d%%\n", m_lastPercent);
    }
    std::fflush(m_out);
}

void HostPlotMonitor::meter_end() {
    HT_Plot_Monitor::meter_end();
    finish_line();
}

void HostPlotMonitor::show_drawing_progress(std::size_t done, std::size_t total) {
    if (!m_out || total == 0) return;
    if (m_live) {
        std::fprintf(m_out, "\rDrawing: %zu/%zu", done, total);
        m_lineOpen = true;
        if (done == total) finish_line();
        std::fflush(m_out);
        return;
    }
    // Into a file or pipe: a line per tenth, so logs stay short.
    const int tenth = static_cast<int>(done * 10 / total);
    if (tenth == m_lastShownTenth) return;
    m_lastShownTenth = tenth;
    std::fprintf(m_out, "Drawing: %zu/%zu\n", done, total);
    std::fflush(m_out);
}

void HostPlotMonitor::finish_line() {
    if (m_out && m_lineOpen) {
        std::fputc('\n', m_out);
        std::fflush(m_out);
    }
    m_lineOpen = false;
}

}  // namespace xomplot
