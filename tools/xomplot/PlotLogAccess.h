#pragma once
// xomplot's view of the driver's plot log: the status text the driver recorded for the plot that
// just ended, and the about-box view of the log with the labels of the driver's string table.
#include <string>
#include <vector>

#include "juxcommoncode/PlotLog/PlotData.h"
#include "juxcommoncode/PlotLog/PlotLogStrings.h"
#include "tools/xomplot/PlotOutcome.h"

namespace xomplot {

// Takes a snapshot of the log when made; afterwards reports the status of the record that the plot
// added. Other plots may write the same log meanwhile (another xomplot): only records that are new
// and name this drawing and printer count, and when those disagree the status is ambiguous.
class PlotLogStatusSource : public DriverStatusSource {
  public:
    PlotLogStatusSource();
    DriverStatusLookup last_plot_status(const std::wstring& drawing,
                                        const std::wstring& printer) override;

  private:
    std::vector<JuxNetwork::CPlotData> m_before;
};

// Labels from the string table of the driver's resource library ("<driver>Res.so"); the built-in
// English labels when the library cannot be loaded.
JuxNetwork::StringLoader DriverStringLoader(const std::string& driver_path);

// The driver's outcome texts as the driver itself loads them: the resource library's text, or
// (when the library lacks it) the driver's built-in text with "." appended.
StatusTexts DriverStatusTexts(const std::string& driver_path);

// The about-box lines of the log at log_path (empty: the user's plot log), with control
// characters of the stored texts shown escaped ("\x1B"). False with the reason in error when the
// log cannot be read: busy, damaged, not a plot log, or (for a log_path given) missing. A user's
// log that does not exist yet is an empty log.
bool PlotLogLines(const std::string& driver_path, const std::string& log_path,
                  std::vector<std::wstring>& lines, std::wstring& error);

// Control characters (C0, DEL, C1) as "\xNN", so a stored text cannot drive the terminal.
std::wstring EscapeControls(const std::wstring& text);

}  // namespace xomplot
