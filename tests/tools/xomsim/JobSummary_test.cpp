#include "tools/xomsim/JobSummary.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace xomsim {
namespace {

const std::string kUel = "\x1b%-12345X";

TEST(JobSummary, ATicketedJobWithPjlAndAClosedPage) {
    const std::string job = "<?xml version=\"1.0\"?><JobTicket/>" + kUel +
                            "@PJL COMMENT Source=Host\r\n@PJL ENTER LANGUAGE = HPGL2\r\n"
                            "\x1b"
                            "E\x1b%0BIN;PD0,0;PU;PG;\x1b"
                            "E" +
                            kUel;
    const JobSummary s = SummarizeJob(job);
    EXPECT_EQ(s.bytes, job.size());
    EXPECT_TRUE(s.ticket);
    EXPECT_EQ(s.pjlLines, (std::vector<std::string>{"@PJL COMMENT Source=Host",
                                                    "@PJL ENTER LANGUAGE = HPGL2"}));
    EXPECT_TRUE(s.hpglCloses);
    EXPECT_EQ(FormatSummary(2, "127.0.0.1:5", s, "ended by the host"),
              "job 2 from 127.0.0.1:5: " + std::to_string(job.size()) +
                  " bytes, ticket yes, HP-GL/2 closes yes, ended by the host, PJL 2 lines: @PJL "
                  "COMMENT Source=Host; @PJL ENTER LANGUAGE = HPGL2");
}

TEST(JobSummary, CheckedTokensFollowTheTicketOnlyWhenThereIsOne) {
    JobSummary s;
    s.bytes = 10;
    s.ticket = true;
    s.tokens = "user alice valid";
    EXPECT_EQ(FormatSummary(1, "p", s, "ended by the host"),
              "job 1 from p: 10 bytes, ticket yes, tokens: user alice valid, HP-GL/2 closes no, "
              "ended by the host, PJL 0 lines");
    s.ticket = false;
    EXPECT_EQ(
        FormatSummary(1, "p", s, "ended by the host"),
        "job 1 from p: 10 bytes, ticket no, HP-GL/2 closes no, ended by the host, PJL 0 lines");
}

TEST(JobSummary, ACutJobDoesNotCloseAndPjlInsideDataIsNotALine) {
    const std::string whole = kUel +
                              "@PJL ENTER LANGUAGE = HPGL2\r\n\x1b"
                              "E\x1b%0BIN;PD0,0@PJL x\n;PG;\x1b"
                              "E";
    EXPECT_TRUE(SummarizeJob(whole).hpglCloses);
    EXPECT_EQ(SummarizeJob(whole).pjlLines.size(), 1u);
    for (std::size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_FALSE(SummarizeJob(whole.substr(0, cut)).hpglCloses) << cut;
    EXPECT_FALSE(SummarizeJob("").ticket);
    // A control byte inside a PJL value stays on the one summary line.
    const JobSummary odd = SummarizeJob(
        "@PJL COMMENT a\x1b"
        "b\r\n");
    ASSERT_EQ(odd.pjlLines.size(), 1u);
    EXPECT_EQ(odd.pjlLines[0], "@PJL COMMENT a\\x1Bb");
}

TEST(JobSummary, TheBundledExamplesGoldenJob) {
    std::ifstream in(XOM_TEST_GOLDEN_JOB, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const JobSummary s = SummarizeJob(bytes.str());
    EXPECT_FALSE(s.ticket);
    EXPECT_TRUE(s.hpglCloses);
    ASSERT_FALSE(s.pjlLines.empty());
    EXPECT_EQ(s.pjlLines.front(), "@PJL COMMENT Source=AutoCAD");
    EXPECT_EQ(s.pjlLines.back(), "@PJL ENTER LANGUAGE = HPGL2");
}

}  // namespace
}  // namespace xomsim
