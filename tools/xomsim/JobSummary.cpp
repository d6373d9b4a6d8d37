#include "tools/xomsim/JobSummary.h"

namespace xomsim {
namespace {

constexpr std::string_view kUel = "\x1b%-12345X";

// PJL lines are short; a longer run without a line end is not PJL.
constexpr std::size_t kMaxPjlLine = 4096;

// Control bytes in a PJL line are shown as "\xNN", so the summary stays one line.
std::string Printable(std::string_view line) {
    std::string out;
    for (unsigned char c : line) {
        if (c < 0x20 || c == 0x7F) {
            static const char* digits = "0123456789ABCDEF";
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

JobSummary SummarizeJob(std::string_view job) {
    JobSummary s;
    s.bytes = job.size();
    const std::size_t first = job.find_first_not_of(" \t\r\n");
    s.ticket = first != std::string_view::npos && job.substr(first, 5) == "<?xml";

    for (std::size_t at = job.find("@PJL"); at != std::string_view::npos;
         at = job.find("@PJL", at + 4)) {
        // Only lines that start a line (or follow the UEL) are PJL lines.
        const bool startsLine =
            at == 0 || job[at - 1] == '\n' ||
            (at >= kUel.size() && job.substr(at - kUel.size(), kUel.size()) == kUel);
        if (!startsLine) continue;
        const std::size_t end = job.find('\n', at);
        if (end == std::string_view::npos || end - at > kMaxPjlLine) continue;
        std::string_view line = job.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        s.pjlLines.push_back(Printable(line));
    }

    // A complete job ends "PG;" ESC E, perhaps followed by a UEL and blanks.
    std::string_view tail = job;
    while (!tail.empty() && (tail.back() == '\r' || tail.back() == '\n' || tail.back() == ' '))
        tail.remove_suffix(1);
    if (tail.size() >= kUel.size() && tail.substr(tail.size() - kUel.size()) == kUel)
        tail.remove_suffix(kUel.size());
    s.hpglCloses = tail.size() >= 5 && tail.substr(tail.size() - 5) ==
                                           "PG;\x1b"
                                           "E";
    return s;
}

std::string FormatSummary(int number, const std::string& peer, const JobSummary& summary,
                          const std::string& ending) {
    std::string line = "job " + std::to_string(number) + " from " + peer + ": " +
                       std::to_string(summary.bytes) + " bytes, ticket " +
                       (summary.ticket ? "yes" : "no") +
                       (summary.ticket && !summary.tokens.empty() ? ", tokens: " + summary.tokens
                                                                  : std::string()) +
                       ", HP-GL/2 closes " + (summary.hpglCloses ? "yes" : "no") + ", " + ending +
                       ", PJL " + std::to_string(summary.pjlLines.size()) + " lines";
    for (std::size_t i = 0; i < summary.pjlLines.size(); ++i)
        line += (i == 0 ? ": " : "; ") + summary.pjlLines[i];
    return line;
}

}  // namespace xomsim
