#pragma once
// The simulated printer's job port: it accepts one connection at a time (a printer takes one job
// at a time), reads the job with the fault plan applied, stores it in the jobs folder and prints
// a one-line summary. Each job is stored under a temporary name and renamed when its connection
// has ended, so a file named job-NNNN.prn is always a whole received stream.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/xomsim/FaultPlan.h"
#include "tools/xomsim/PrinterDescription.h"

namespace xomsim {

struct SinkOptions {
    std::string address;        // IPv4 or IPv6 literal to listen on
    std::uint16_t port = 9100;  // 0: any free port (reported when listening)
    std::string jobsDir;
    FaultPlan faults;
    bool preview = false;  // also render each job to job-NNNN.png
    int maxJobs = 0;       // stop after this many jobs; 0: run until stopped
    // While this is set (a sleeping printer) no connection is accepted; they wait in the queue.
    const std::atomic<bool>* asleep = nullptr;
    // With a printer description the tokens of each job's ticket are checked against its users
    // and accounting values; it must outlive the sink.
    const PrinterDescription* printer = nullptr;
};

class JobSink {
  public:
    JobSink(SinkOptions options, std::FILE* out);
    ~JobSink();
    JobSink(const JobSink&) = delete;
    JobSink& operator=(const JobSink&) = delete;

    // Binds and listens (unless connections are to be refused); false with a readable error.
    bool Open(std::string& error);
    // The port listened on (the chosen one when the options asked for any).
    std::uint16_t port() const { return m_port; }
    // Serves until stop is set (checked at least every 100 ms) or the job count is reached.
    // Returns the number of jobs stored.
    int Run(const std::atomic<bool>& stop);

  private:
    void Serve(int connection, const std::string& peer, const std::atomic<bool>& stop);

    SinkOptions m_options;
    std::FILE* m_out;
    int m_listener = -1;
    std::uint16_t m_port = 0;
    int m_jobs = 0;
};

}  // namespace xomsim
