#include "tools/xomsim/JobSink.h"
#include "support/StreamText.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace xomsim {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string JobBytes(std::size_t n) {
    std::string job =
        "\x1b%-12345X@PJL ENTER LANGUAGE = HPGL2\r\n\x1b"
        "E\x1b%0BIN;";
    while (job.size() + 5 < n) job += static_cast<char>('0' + job.size() % 10);
    return job +
           "PG;\x1b"
           "E";
}

// A sink serving on a loopback port of its own in a thread, writing its summaries to a file.
class RunningSink {
  public:
    RunningSink(FaultPlan faults, int maxJobs, const PrinterDescription* printer = nullptr) {
        static std::atomic<int> serial{0};
        dir = fs::temp_directory_path() /
              ("xomsim_test_" + std::to_string(getpid()) + "_" + std::to_string(serial++));
        fs::remove_all(dir);
        m_out = std::tmpfile();
        SinkOptions o;
        o.address = "127.0.0.1";
        o.port = faults.refuse ? FreePort() : 0;
        o.jobsDir = dir.string();
        o.faults = faults;
        o.maxJobs = maxJobs;
        o.printer = printer;
        m_sink = std::make_unique<JobSink>(o, m_out);
        std::string error;
        EXPECT_TRUE(m_sink->Open(error)) << error;
        port = m_sink->port();
        m_thread = std::thread([this] { jobs = m_sink->Run(m_stop); });
    }
    ~RunningSink() {
        stop();
        std::fclose(m_out);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    void stop() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    // Waits for the sink to have served its jobs.
    void finish() {
        if (m_thread.joinable()) m_thread.join();
    }
    std::string summaries() const { return xomtest::TextSoFar(m_out); }
    static std::uint16_t FreePort() {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        EXPECT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        EXPECT_EQ(::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len), 0);
        ::close(s);
        return ntohs(a.sin_port);
    }

    fs::path dir;
    std::uint16_t port = 0;
    int jobs = -1;

  private:
    std::FILE* m_out = nullptr;
    std::unique_ptr<JobSink> m_sink;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// A host's connection: connect, send with a time-out, close. The send's errno on failure.
struct Client {
    int fd = -1;
    int connectError = 0;
    explicit Client(std::uint16_t port) {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        const timeval timeout{0, 400000};
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) connectError = errno;
    }
    ~Client() {
        if (fd >= 0) ::close(fd);
    }
    // Sends everything; 0, or the errno that stopped it.
    int send(const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            done += static_cast<std::size_t>(n);
        }
        return 0;
    }
    void close() {
        ::close(fd);
        fd = -1;
    }
    // Ends the job as a host that waits for the printer does: the host's end, then the printer's.
    void finish() {
        ::shutdown(fd, SHUT_WR);
        char byte = 0;
        EXPECT_EQ(::recv(fd, &byte, 1, 0), 0) << "the printer ends the connection";
        close();
    }
    // Gives up with unsent data: a plain close would queue its end behind data the printer never
    // takes, so a host that abandons a job resets the connection.
    void abandon() {
        const linger reset{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        close();
    }
};

// With a printer description the summary says what became of each credential in the ticket.
TEST(JobSink, ATicketsTokensAreCheckedAgainstThePrinter) {
    PrinterDescription printer;
    std::string error;
    ASSERT_TRUE(
        ParsePrinterDescription("description XOM\nname q\nmac 00-11-22-33-44-55\n"
                                "user-accounting access=4 prompt=User\n"
                                "user name=alice password=pw\n",
                                "t", printer, error))
        << error;
    RunningSink sink({}, 2, &printer);
    const std::string ticket =
        "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<PrintJob>\r\n"
        "  <AccountingSetting>\r\n    <User Name=\"alice\">\r\n"
        "      <Token>";
    const std::string rest = "</Token>\r\n    </User>\r\n  </AccountingSetting>\r\n</PrintJob>\r\n";
    for (const std::string& token : {printer.model.users[0].token, std::string("AAAA")}) {
        Client c(sink.port);
        ASSERT_EQ(c.connectError, 0);
        std::string job = ticket;
        job.append(token).append(rest).append(JobBytes(100));
        EXPECT_EQ(c.send(job), 0);
        c.finish();
    }
    sink.finish();
    const std::string out = sink.summaries();
    EXPECT_NE(out.find("ticket yes, tokens: user alice valid, HP-GL/2 closes yes, ended by the "
                       "host, PJL 1 lines"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("ticket yes, tokens: user alice invalid, HP-GL/2 closes yes"),
              std::string::npos)
        << out;
}

TEST(JobSink, TwoJobsArriveWholeAsTwoFilesWithTheirSummaries) {
    RunningSink sink({}, 2);
    const std::string first = JobBytes(300000), second = JobBytes(777);
    for (const std::string* job : {&first, &second}) {
        Client c(sink.port);
        ASSERT_EQ(c.connectError, 0);
        EXPECT_EQ(c.send(*job), 0);
        c.finish();
    }
    sink.finish();
    EXPECT_EQ(sink.jobs, 2);
    EXPECT_EQ(ReadFile(sink.dir / "job-0001.prn"), first);
    EXPECT_EQ(ReadFile(sink.dir / "job-0002.prn"), second);
    EXPECT_FALSE(fs::exists(sink.dir / "job-0001.prn.part"));
    const std::string out = sink.summaries();
    EXPECT_NE(out.find("job 1 from 127.0.0.1:"), std::string::npos) << out;
    EXPECT_NE(out.find(": 300000 bytes, ticket no, HP-GL/2 closes yes, ended by the host, PJL 1 "
                       "lines: @PJL ENTER LANGUAGE = HPGL2 -> " +
                       (sink.dir / "job-0001.prn").string()),
              std::string::npos)
        << out;
    EXPECT_NE(out.find(": 777 bytes"), std::string::npos) << out;
}

// A job whose host waited for the printer to end it is plain; a connection that comes while a
// job is still open is said in that job's summary (its host did not wait for the printer).
TEST(JobSink, AConnectionOpenedWhileAJobIsOpenIsSaid) {
    RunningSink sink({}, 3);
    {
        Client c(sink.port);
        EXPECT_EQ(c.send(JobBytes(1000)), 0);
        c.finish();
    }
    Client second(sink.port);
    EXPECT_EQ(second.send(JobBytes(2000)), 0);
    usleep(150000);  // the sink is serving the second job now
    {
        Client third(sink.port);
        EXPECT_EQ(third.send(JobBytes(3000)), 0);
        usleep(300000);  // the sink sees the third waiting
        second.close();
    }
    sink.finish();
    const std::string out = sink.summaries();
    std::istringstream lines(out);
    std::vector<std::string> jobs;
    for (std::string line; std::getline(lines, line);) jobs.push_back(line);
    ASSERT_EQ(jobs.size(), 3u) << out;
    EXPECT_EQ(jobs[0].find("another connection"), std::string::npos) << jobs[0];
    EXPECT_NE(jobs[1].find("ended by the host (another connection came before this job's end)"),
              std::string::npos)
        << jobs[1];
    EXPECT_EQ(jobs[2].find("another connection"), std::string::npos) << jobs[2];
    EXPECT_EQ(ReadFile(sink.dir / "job-0003.prn"), JobBytes(3000));
}

TEST(JobSink, APrinterThatClosesOrResetsKeepsExactlyWhatItRead) {
    for (const char* mode : {"close-after=1000", "reset-after=1000"}) {
        FaultPlan faults;
        std::string error;
        ASSERT_TRUE(AddFault(faults, mode, error));
        RunningSink sink(faults, 1);
        Client c(sink.port);
        ASSERT_EQ(c.connectError, 0);
        const int sent = c.send(JobBytes(4 << 20));
        EXPECT_TRUE(sent == EPIPE || sent == ECONNRESET) << mode << ": " << sent;
        sink.finish();
        EXPECT_EQ(ReadFile(sink.dir / "job-0001.prn"), JobBytes(4 << 20).substr(0, 1000)) << mode;
        const std::string out = sink.summaries();
        EXPECT_NE(out.find(std::string(faults.resetAfter ? "reset" : "closed") +
                           " by the printer after 1000 bytes"),
                  std::string::npos)
            << out;
        EXPECT_NE(out.find("HP-GL/2 closes no"), std::string::npos) << out;
    }
}

TEST(JobSink, APrinterThatStopsReadingStallsTheHostUntilItGoesAway) {
    FaultPlan faults;
    std::string error;
    ASSERT_TRUE(AddFault(faults, "never-read", error));
    RunningSink sink(faults, 1);
    Client c(sink.port);
    ASSERT_EQ(c.connectError, 0);
    // The host's send cannot complete: it times out with everything still to go.
    EXPECT_EQ(c.send(JobBytes(32 << 20)), EAGAIN);
    c.abandon();
    sink.finish();
    EXPECT_EQ(ReadFile(sink.dir / "job-0001.prn"), "");
    EXPECT_NE(sink.summaries().find("host went away while the printer stalled after 0 bytes"),
              std::string::npos)
        << sink.summaries();
}

TEST(JobSink, AStalledJobEndsWhenThePrinterIsStopped) {
    FaultPlan faults;
    std::string error;
    ASSERT_TRUE(AddFault(faults, "stop-reading-after=5000", error));
    RunningSink sink(faults, 0);
    Client c(sink.port);
    ASSERT_EQ(c.connectError, 0);
    EXPECT_EQ(c.send(JobBytes(32 << 20)), EAGAIN);
    sink.stop();
    EXPECT_EQ(ReadFile(sink.dir / "job-0001.prn"), JobBytes(32 << 20).substr(0, 5000));
    EXPECT_NE(sink.summaries().find("printer stopped"), std::string::npos) << sink.summaries();
}

TEST(JobSink, ASlowPrinterStillGetsTheWholeJob) {
    FaultPlan faults;
    std::string error;
    ASSERT_TRUE(AddFault(faults, "rate=2000000", error));
    RunningSink sink(faults, 1);
    const std::string job = JobBytes(600000);
    {
        Client c(sink.port);
        const timeval patient{20, 0};
        ::setsockopt(c.fd, SOL_SOCKET, SO_SNDTIMEO, &patient, sizeof patient);
        EXPECT_EQ(c.send(job), 0);
    }
    sink.finish();
    EXPECT_EQ(ReadFile(sink.dir / "job-0001.prn"), job);
}

TEST(JobSink, RefusingPrinterListensNowhereAndStopsWhenAsked) {
    FaultPlan faults;
    faults.refuse = true;
    RunningSink sink(faults, 0);
    Client c(sink.port);
    EXPECT_EQ(c.connectError, ECONNREFUSED);
    sink.stop();
    EXPECT_EQ(sink.jobs, 0);
}

int RunXomsim(const std::string& args, std::string& output) {
    const std::string command = std::string(XOM_TEST_XOMSIM) + " " + args + " 2>&1";
    FILE* p = popen(command.c_str(), "r");
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) output += buf;
    const int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(XomsimCommand, BadFaultsAndAddressesAreClearErrors) {
    std::string out;
    EXPECT_EQ(RunXomsim("--address 127.0.0.1 --jobs /tmp --fault explode", out), 2);
    EXPECT_NE(out.find("bad fault 'explode'"), std::string::npos) << out;
    out.clear();
    EXPECT_EQ(RunXomsim("--address printer.example --jobs /tmp", out), 1);
    EXPECT_NE(out.find("'printer.example' is not an IPv4 or IPv6 address"), std::string::npos)
        << out;
    out.clear();
    EXPECT_NE(RunXomsim("--jobs /tmp", out), 0);
    EXPECT_NE(out.find("--address"), std::string::npos) << out;
}

TEST(XomsimCommand, PrinterFileErrorsNameFileAndLine) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("xomsim_bad_printer_" + std::to_string(getpid()) + ".txt");
    {
        std::ofstream bad(file);
        bad << "description XOM\nname q\nmac 00-11-22\n";
    }
    std::string out;
    EXPECT_EQ(RunXomsim("--address 127.0.0.1 --jobs /tmp --port 0 --snmp-port 0 --printer " +
                            file.string(),
                        out),
              2);
    EXPECT_NE(out.find(file.string() + ":3: '00-11-22' is not a MAC address"), std::string::npos)
        << out;
    std::filesystem::remove(file);
    out.clear();
    EXPECT_EQ(RunXomsim("--address 127.0.0.1 --jobs /tmp --sleep", out), 2);
    EXPECT_NE(out.find("need a --printer file"), std::string::npos) << out;
}

}  // namespace
}  // namespace xomsim
