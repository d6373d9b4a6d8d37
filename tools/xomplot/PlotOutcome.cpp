#include "tools/xomplot/PlotOutcome.h"

#include <algorithm>

#include "hdi/HT_Error.h"

namespace xomplot {

namespace {
std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }
}  // namespace

PlotResult DecideOutcome(const PlotObservation& seen) {
    if (seen.driver_status) {
        const std::wstring& s = *seen.driver_status;
        if (s == L"Plot complete") return {PlotOutcome::Complete, s};
        if (s == L"Plot canceled") return {PlotOutcome::Cancelled, s};
        if (s == L"Plot is empty.") return {PlotOutcome::Empty, s};
        return {PlotOutcome::Failed, s};
    }
    if (seen.cancelled) return {PlotOutcome::Cancelled, L"Plot canceled"};
    if (!seen.host_errors.empty()) return {PlotOutcome::Failed, Widen(seen.host_errors.front())};
    const bool reportedOutput =
        std::find(seen.reported_messages.begin(), seen.reported_messages.end(),
                  HT_MSG_OUTPUT_CONNECTION_FAILED) != seen.reported_messages.end();
    if (seen.write_failures > 0 || !seen.output_error.empty() || reportedOutput) {
        std::wstring text = L"Output failed";
        if (!seen.output_error.empty()) text += L": " + seen.output_error;
        return {PlotOutcome::Failed, text};
    }
    if (seen.bytes_written == 0) return {PlotOutcome::Empty, L"Plot is empty."};
    if (seen.aborted) {
        std::wstring text = L"Plot aborted by the driver";
        if (!seen.shown_messages.empty()) text += L": " + seen.shown_messages.back();
        return {PlotOutcome::Failed, text};
    }
    return {PlotOutcome::Complete, L"Plot complete"};
}

}  // namespace xomplot
