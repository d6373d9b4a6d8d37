#pragma once
// How a plot ended, judged from what the host can observe: its monitor (cancel, abort), its output
// object (bytes, write failures, errors), its error handler and, once the driver's plot log can be
// read, the driver's own status text, which then decides.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace xomplot {

// Exit statuses of xomplot.
enum class PlotOutcome : int { Complete = 0, Failed = 1, Empty = 2, Cancelled = 3 };
inline constexpr int kExitUsage = 64;

// The driver's texts for the outcomes it records (strings 219, 218 and 215 of its resource
// library, as the driver loads them). Its status is compared with these, never with English.
struct StatusTexts {
    std::wstring complete = L"Plot complete";
    std::wstring cancelled = L"Plot canceled";
    std::wstring empty = L"Plot is empty.";
};

struct PlotObservation {
    bool cancelled = false;      // the user cancelled (Ctrl-C)
    bool aborted = false;        // the driver told the monitor to abort
    bool output_opened = false;  // an output object exists and was opened
    std::size_t bytes_written = 0;
    std::size_t write_failures = 0;
    std::wstring output_error;             // the output object's last error (open, write or close)
    std::vector<std::string> host_errors;  // what the host itself failed at (exceptions, set-up)
    std::vector<int> reported_messages;    // message numbers the driver reported
    std::vector<std::wstring> shown_messages;   // texts the driver showed through the handler
    std::optional<std::wstring> driver_status;  // the driver's status text for this plot, if known
    // The log holds new records of this drawing and printer that disagree (another plot of the
    // same drawing ended meanwhile): the driver's outcome cannot be told.
    bool driver_status_ambiguous = false;
    StatusTexts status_texts;  // what the driver's texts are
};

struct PlotResult {
    PlotOutcome outcome;
    std::wstring status;
};

PlotResult DecideOutcome(const PlotObservation& seen);

// What the driver recorded for the plot that just ended: its status text, or none, either because
// it recorded nothing or because several new records could be this plot's and disagree.
struct DriverStatusLookup {
    std::optional<std::wstring> status;
    bool ambiguous = false;
};

// Where the driver's own status text comes from: xomplot reads it from the plot log, tests
// give it directly.
class DriverStatusSource {
  public:
    virtual ~DriverStatusSource() = default;
    virtual DriverStatusLookup last_plot_status(const std::wstring& drawing,
                                                const std::wstring& printer) = 0;
};

}  // namespace xomplot
