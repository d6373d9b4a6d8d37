#pragma once
// What the simulated printer says about a job it received: its size, whether it begins with a job
// ticket, its PJL lines, and whether its HP-GL/2 closes (the page end and the reset that a
// complete job ends with).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace xomsim {

struct JobSummary {
    std::uint64_t bytes = 0;
    bool ticket = false;                // begins with an XML job ticket
    std::vector<std::string> pjlLines;  // "@PJL ..." lines, without the line end
    bool hpglCloses = false;            // "PG;" then the reset (and at most a PJL exit) at the end
    // The ticket's credentials as the printer judged them (CheckTicketTokens); empty when they
    // were not checked.
    std::string tokens;
};

JobSummary SummarizeJob(std::string_view job);

// "job 3 from 127.0.0.1:4711: 2048 bytes, ticket yes, tokens: user alice valid, HP-GL/2 closes
//  yes, ended by the host, PJL 2 lines: @PJL COMMENT Source=...; @PJL ENTER LANGUAGE = HPGL2"
// (the tokens part only for a job with a ticket whose credentials were checked).
std::string FormatSummary(int number, const std::string& peer, const JobSummary& summary,
                          const std::string& ending);

}  // namespace xomsim
