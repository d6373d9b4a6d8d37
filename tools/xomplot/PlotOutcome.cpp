#include "tools/xomplot/PlotOutcome.h"

#include <algorithm>

#include "hdi/HT_Error.h"
#include "platform/Utf8.h"

namespace xomplot {

PlotResult DecideOutcome(const PlotObservation& seen) {
    const bool reportedOutput =
        std::find(seen.reported_messages.begin(), seen.reported_messages.end(),
                  HT_MSG_OUTPUT_CONNECTION_FAILED) != seen.reported_messages.end();
    const bool outputFailed =
        seen.write_failures > 0 || !seen.output_error.empty() || reportedOutput;
    // The host could not draw part of the drawing (error 90, an image for example): whatever
    // the driver recorded, the plot is not complete.
    const bool undrawn = std::find(seen.reported_messages.begin(), seen.reported_messages.end(),
                                   HT_MSG_NOT_SUPPORTED) != seen.reported_messages.end();
    if (seen.driver_status) {
        // The driver's own record of the plot names the outcome, and stdout repeats it. Only a
        // "complete" that the host knows to be false (a driver that did not learn of a failed
        // output) is overruled.
        const std::wstring& s = *seen.driver_status;
        const StatusTexts& t = seen.status_texts;
        if (s == t.complete) {
            if (outputFailed) {
                return {PlotOutcome::Failed, seen.output_error.empty()
                                                 ? L"Output failed"
                                                 : L"Output failed: " + seen.output_error};
            }
            if (undrawn)
                return {PlotOutcome::Failed,
                        L"Plot incomplete: the host could not draw every image"};
            return {PlotOutcome::Complete, s};
        }
        if (s == t.cancelled) return {PlotOutcome::Cancelled, s};
        if (s == t.empty) return {PlotOutcome::Empty, s};
        return {PlotOutcome::Failed, s};
    }
    if (seen.cancelled) return {PlotOutcome::Cancelled, L"Plot canceled"};
    if (!seen.host_errors.empty())
        return {PlotOutcome::Failed, xomplatform::FromUtf8(seen.host_errors.front())};
    if (outputFailed) {
        std::wstring text = L"Output failed";
        if (!seen.output_error.empty()) text += L": " + seen.output_error;
        return {PlotOutcome::Failed, text};
    }
    // The driver may have delivered the job itself (to the printer, past the host's output), so
    // what the host saw cannot stand in for its record: the outcome is not known to be complete.
    if (seen.driver_status_ambiguous)
        return {PlotOutcome::Failed,
                L"Plot outcome unknown: another plot of this drawing to this printer ended at the "
                L"same time (see the plot log)"};
    if (seen.bytes_written == 0) return {PlotOutcome::Empty, L"Plot is empty."};
    if (seen.aborted) {
        std::wstring text = L"Plot aborted by the driver";
        if (!seen.shown_messages.empty()) text += L": " + seen.shown_messages.back();
        return {PlotOutcome::Failed, text};
    }
    if (undrawn)
        return {PlotOutcome::Failed, L"Plot incomplete: the host could not draw every image"};
    return {PlotOutcome::Complete, L"Plot complete"};
}

}  // namespace xomplot
