#include "Common/XOM/PlotLogRecord.h"

#include <utility>

#include "juxcommoncode/PlotLog/PlotLog.h"

namespace {
PlotLogObserver g_observer;
}  // namespace

PlotLogEntry& CurrentPlotLogEntry() {
    static PlotLogEntry entry;
    return entry;
}

void RecordPlotInLog(const PlotLogEntry& entry) {
    JuxNetwork::RecordPlot(entry);
    if (g_observer) g_observer(entry);
}

PlotLogObserver SetPlotLogObserver(PlotLogObserver observer) {
    return std::exchange(g_observer, std::move(observer));
}
