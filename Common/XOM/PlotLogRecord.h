#pragma once
// The plot-log record of the plot in progress: filled by the device and the output channel during
// a picture and recorded once when the picture ends.
#include <functional>

#include "juxcommoncode/PlotLog/PlotData.h"

using PlotLogEntry = JuxNetwork::CPlotData;

// The process-wide record of the current plot (one plot at a time).
PlotLogEntry& CurrentPlotLogEntry();

// Records the ended plot in the user's plot log file (load, add, save). Called exactly once per
// picture, in every outcome; a log that cannot be written never affects the plot, and its
// reason is shown as a warning.
void RecordPlotInLog(const PlotLogEntry& entry);

// Called with every recorded entry (tests, diagnostics). Returns the previous observer.
using PlotLogObserver = std::function<void(const PlotLogEntry&)>;
PlotLogObserver SetPlotLogObserver(PlotLogObserver observer);
