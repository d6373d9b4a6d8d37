#pragma once
// The host's plotter output object. Where it writes comes from the definition's configuration:
// plot to file (the output file), or a port (a device path, or "|command" for a pipe to a print
// command such as "|lp -d plotter").
#include <cstddef>
#include <string>

#include "hdi/HT_Error.h"
#include "hdi/HT_Object.h"

class HT_Std_Plotter_Definition;

struct HT_Document_Info {
    std::wstring document_name;  // empty when the host has none
    std::wstring printer_name;
    std::wstring target_device;  // the host's name of the target device; empty when it gives none
};

class HT_Plotter_IO : public HT_Counted {
  public:
    explicit HT_Plotter_IO(HT_Error_Handler* error_handler);
    // An output object that was never closed is aborted: an unfinished job is not delivered.
    ~HT_Plotter_IO() override;

    void set_plotter_definition(HT_Std_Plotter_Definition* definition);
    void set_document_info(const HT_Document_Info& info) { m_docInfo = info; }
    const HT_Document_Info& document_info() const { return m_docInfo; }

    // Opens the destination; false (with last_error()) when it cannot be opened. A plot file is
    // written beside its target under a temporary name and only put in its place by close(), so
    // an earlier file stays as it was until the job is complete. A print command ("|command")
    // runs through "sh -c" in its own process group. A port that is a regular file is
    // truncated.
    virtual bool open();
    // Writes and returns the number of bytes written; fewer than asked is a failure. A write
    // that the destination blocks gives up when the host's cancel check says so.
    virtual std::size_t write(const void* bytes, std::size_t length);
    // Finishes the job: a plot file takes its target's place (a file with no bytes is discarded,
    // leaving any earlier one), a print command is waited for. False, with last_error(), when
    // the destination reported an error (a print command's non-zero status, a failed rename),
    // and when a write failed: that job is given up as by abort().
    virtual bool close();
    // Gives the job up: a print command's process group is killed before it can take the
    // partial job, a temporary plot file is removed. Nothing happens when not open.
    virtual void abort();

    // The most bytes this output takes (0: no limit). A write that would pass it stores nothing
    // and fails with `reason` as last_error(), so the job is never delivered.
    void set_byte_limit(std::size_t limit, const std::wstring& reason) {
        m_byteLimit = limit;
        m_limitReason = reason;
    }
    bool limit_exceeded() const { return m_limitExceeded; }

    // The host's cancel flag, asked while a write waits for the destination; null: never.
    void set_cancel_check(bool (*cancelled)()) { m_cancelCheck = cancelled; }

    bool is_open() const { return m_fd >= 0; }
    bool is_plot_to_file() const;
    // The file path, or the port text.
    std::wstring output_name() const;
    const std::wstring& last_error() const { return m_lastError; }
    std::size_t bytes_written() const { return m_written; }
    // Writes that stored fewer bytes than asked (the host's view of a failing output).
    std::size_t write_failures() const { return m_writeFailures; }
    bool open_failed() const { return m_openFailed; }
    bool aborted() const { return m_aborted; }

  protected:
    SPMP<HT_Error_Handler> m_errorHandler;
    SPMP<HT_Std_Plotter_Definition> m_definition;
    HT_Document_Info m_docInfo;
    int m_fd = -1;
    int m_childPid = -1;     // the print command, leader of its own process group
    std::string m_target;    // the destination's path (bytes)
    std::string m_tempPath;  // plot to file: where the job is written until close()
    std::size_t m_written = 0;
    std::wstring m_lastError;
    std::size_t m_writeFailures = 0;
    bool m_openFailed = false;
    bool m_aborted = false;
    bool (*m_cancelCheck)() = nullptr;
    std::size_t m_byteLimit = 0;
    std::wstring m_limitReason;
    bool m_limitExceeded = false;
    bool m_sigpipeGuard = true;  // false when the output is a regular file

  private:
    bool open_file();
    bool open_command(const std::string& command);
    bool open_port();
    bool wait_writable();
    // Waits for the print command; false with last_error() on a non-zero status.
    bool reap_command();
};

// A host that watches its plots' output (bytes, failures) registers an observer; the standard
// class factory announces each output object it makes. Null removes the observer.
using HT_Plotter_IO_Observer = void (*)(HT_Plotter_IO* io, void* context);
void HT_Set_Plotter_IO_Observer(HT_Plotter_IO_Observer observer, void* context);
