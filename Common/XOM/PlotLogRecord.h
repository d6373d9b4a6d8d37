#pragma once
// The plot-log record of the plot in progress: filled by the device and the output channel during
// a picture and recorded once when the picture ends.
#include <functional>

#include "juxcommoncode/PlotLog/PlotData.h"

using PlotLogEntry = JuxNetwork::CPlotData;

// The process-wide record of the current plot (one plot at a time).
PlotLogEntry& CurrentPlotLogEntry();

// Records the ended plot in the plot log. Called exactly once per picture, in every outcome.
// The plot log file is not kept by this build yet; observers see every record.
void RecordPlotInLog(const PlotLogEntry& entry);

// Called with every recorded entry (tests, diagnostics). Returns the previous observer.
using PlotLogObserver = std::function<void(const PlotLogEntry&)>;
PlotLogObserver SetPlotLogObserver(PlotLogObserver observer);
