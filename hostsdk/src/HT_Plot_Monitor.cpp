// The default plot monitor: remembers cancel, abort and the last meter value.
#include "hdi/HT_Plot_Monitor.h"

#include <algorithm>

int HT_Plot_Monitor::request(int code) {
    if (code == HT_MONITOR_POLL_CANCEL) return m_cancelled ? 1 : 0;
    if (code == HT_MONITOR_ABORT) m_aborted = true;
    return 0;
}

bool HT_Plot_Monitor::meter_start() {
    m_lastPercent = 0;
    return true;
}

void HT_Plot_Monitor::meter_show(int percent) {
    m_lastPercent = std::clamp(percent, 0, 100);
}

void HT_Plot_Monitor::meter_end() {}
