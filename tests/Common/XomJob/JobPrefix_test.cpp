#include "Common/XomJob/JobPrefix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

TEST(PlanJobPrefix, PortsCarryTheTicketFilesOnlyWhenAsked) {
    DriverSettings s;
    EXPECT_TRUE(PlanJobPrefix(false, s).ticketInStream);
    EXPECT_TRUE(PlanJobPrefix(false, s).makeTicket);
    EXPECT_FALSE(PlanJobPrefix(true, s).ticketInStream);
    EXPECT_FALSE(PlanJobPrefix(true, s).makeTicket);
    s.PutXMLinPlotFile = 1;
    EXPECT_TRUE(PlanJobPrefix(true, s).ticketInStream);
    s.PutXMLinPlotFile = 0;
    s.DebugHeaderFilePath = L"/tmp/x";
    EXPECT_FALSE(PlanJobPrefix(true, s).ticketInStream);
    EXPECT_TRUE(PlanJobPrefix(true, s).makeTicket);
}

TEST(ComposeJobPrefix, TheTicketsLastLineFeedIsFollowedByTheUel) {
    JobPrefixPlan plan{true, true};
    EXPECT_EQ(ComposeJobPrefix(plan, "</PrintJob>\r\n", "\x1B%-12345X@PJL"),
              "</PrintJob>\r\n\x1B%-12345X@PJL");
    plan.ticketInStream = false;
    EXPECT_EQ(ComposeJobPrefix(plan, "</PrintJob>\r\n", "\x1B%-12345X"), "\x1B%-12345X");
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(WriteDiagnosticHeaderFile, OverwritesTheFileWithTicketThenHeader) {
    const std::string path = testing::TempDir() + "/xom_debug_header.txt";
    std::ofstream(path) << "an older and much longer content";
    std::wstring error;
    ASSERT_TRUE(WriteDiagnosticHeaderFile(std::wstring(path.begin(), path.end()), "<x/>\r\n",
                                          "\x1B%-12345X", error))
        << std::string(error.begin(), error.end());
    EXPECT_EQ(ReadFile(path), "<x/>\r\n\x1B%-12345X");
}

TEST(WriteDiagnosticHeaderFile, AFolderThatDoesNotExistGivesTheSystemsText) {
    std::wstring error;
    EXPECT_FALSE(WriteDiagnosticHeaderFile(L"/nonexistent-dir/h.txt", "t", "p", error));
    EXPECT_EQ(error, L"No such file or directory");
}

TEST(WriteDiagnosticHeaderFile, AFileLockedByAnotherWriterIsLeftAlone) {
    const std::string path = testing::TempDir() + "/xom_debug_locked.txt";
    std::ofstream(path) << "kept";
    const int holder = open(path.c_str(), O_RDWR);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    std::wstring error;
    EXPECT_FALSE(
        WriteDiagnosticHeaderFile(std::wstring(path.begin(), path.end()), "t", "p", error));
    EXPECT_FALSE(error.empty());
    close(holder);
    EXPECT_EQ(ReadFile(path), "kept");
}

}  // namespace
