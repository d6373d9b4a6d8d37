#pragma once
// The plot log as lines of the about box's list.
#include <string>
#include <vector>

#include "juxcommoncode/PlotLog/PlotLog.h"
#include "juxcommoncode/PlotLog/PlotLogStrings.h"

namespace JuxNetwork {

// Adds text to a list of lines the way the about box does: every '\n' starts a new line, and
// text before the first '\n' is appended to the last line (a first line is made if there is none).
void AppendListText(std::vector<std::wstring>& lines, const std::wstring& text);

// Appends the log's section to the about box's lines: nothing when the log is empty; else an empty
// line, a rule of 69 '-', an empty line, the heading (string 287), then the records newest first,
// each as "<n>:" (1 for the newest) followed by its six dump lines.
void AppendPlotLogView(std::vector<std::wstring>& lines, const PlotLog& log,
                       const StringLoader& labels = {});

// The section alone, as AppendPlotLogView adds it to an empty list.
std::vector<std::wstring> PlotLogViewLines(const PlotLog& log, const StringLoader& labels = {});

}  // namespace JuxNetwork
