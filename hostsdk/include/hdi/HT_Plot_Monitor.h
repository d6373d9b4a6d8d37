#pragma once
// The running plot's monitor: cancel poll, abort, and a progress meter. A host supplies its own
// (xomplot maps Ctrl-C to a cancel and draws the meter on the terminal).
#include "hdi/HT_Object.h"

inline constexpr int HT_MONITOR_POLL_CANCEL = 0;
inline constexpr int HT_MONITOR_ABORT = 2;

class HT_Plot_Monitor : public HT_Counted {
  public:
    // Request 0 returns non-zero when the user cancelled; request 2 aborts the plot (returns 0).
    virtual int request(int code);
    // Opens the meter; false when the host refuses one.
    virtual bool meter_start();
    // Shows a percentage 0..100.
    virtual void meter_show(int percent);
    virtual void meter_end();

    bool cancelled() const { return m_cancelled; }
    bool aborted() const { return m_aborted; }
    int last_percent() const { return m_lastPercent; }
    void cancel() { m_cancelled = true; }

  protected:
    bool m_cancelled = false;
    bool m_aborted = false;
    int m_lastPercent = -1;
};

// The plot object a definition's shoebox carries: it owns the plot's monitor.
class HT_Plot_Object : public HT_Counted {
  public:
    explicit HT_Plot_Object(SPMP<HT_Plot_Monitor> monitor) : m_monitor(std::move(monitor)) {}
    HT_Plot_Monitor* plot_monitor() const { return m_monitor.get(); }
    // The call a device makes with 0 when it takes the plot (kept for the host's bookkeeping).
    void set_plot_state(int state) { m_state = state; }
    int plot_state() const { return m_state; }

  private:
    SPMP<HT_Plot_Monitor> m_monitor;
    int m_state = -1;
};
