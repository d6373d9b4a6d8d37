#pragma once
// xomplot's plot monitor: Ctrl-C (SIGINT), SIGTERM and SIGHUP become the user's cancel, and the
// progress meter and the drawing progress are shown on the terminal.
#include <cstdio>

#include "hdi/HT_Plot_Monitor.h"

namespace xomplot {

// Installs the handler of SIGINT, SIGTERM and SIGHUP that marks a cancel; the previous handler
// comes back with RestoreInterruptHandler. Not nested.
void InstallInterruptHandler();
void RestoreInterruptHandler();
bool InterruptRequested();
void ClearInterrupt();

class HostPlotMonitor : public HT_Plot_Monitor {
  public:
    // out: where the meter is drawn (stderr); null shows nothing. live: redraw in place (a
    // terminal).
    HostPlotMonitor(std::FILE* out, bool live) : m_out(out), m_live(live) {}

    int request(int code) override;
    bool meter_start() override;
    void meter_show(int percent) override;
    void meter_end() override;

    // Actions done of total, shown while the host draws.
    void show_drawing_progress(std::size_t done, std::size_t total);
    // Ends a line left open by live progress.
    void finish_line();

  private:
    std::FILE* m_out;
    bool m_live;
    bool m_lineOpen = false;
    int m_lastShownTenth = -1;
};

}  // namespace xomplot
