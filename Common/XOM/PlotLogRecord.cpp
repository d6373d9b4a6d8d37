#include "Common/XOM/PlotLogRecord.h"

#include <utility>

#include "juxcommoncode/PlotLog/PlotLog.h"
#include "platform/MessageService.h"

namespace {
PlotLogObserver g_observer;
}  // namespace

PlotLogEntry& CurrentPlotLogEntry() {
    static PlotLogEntry entry;
    return entry;
}

void RecordPlotInLog(const PlotLogEntry& entry) {
    std::wstring error;
    // The plot is not affected, but a record that could not be kept is said, not lost silently.
    if (JuxNetwork::Failed(JuxNetwork::RecordPlot(entry, &error)) && !error.empty())
        xomplatform::ShowMessage(error, L"", xomplatform::MessageIcon::Warning);
    if (g_observer) g_observer(entry);
}

PlotLogObserver SetPlotLogObserver(PlotLogObserver observer) {
    return std::exchange(g_observer, std::move(observer));
}
