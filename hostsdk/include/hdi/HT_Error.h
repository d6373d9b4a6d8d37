#pragma once
// Host errors: HT_Error is the one exception that may cross the host boundary (a message number,
// the failing function and the missing item); HT_Exception gathers context names on the way out;
// HT_Error_Handler receives reports and messages that a host shows to the user.
#include <string>
#include <utility>
#include <vector>

#include "hdi/HT_Object.h"

// Message numbers the driver raises.
inline constexpr int HT_MSG_FILE_OR_VALUE_MISSING = 3;
inline constexpr int HT_MSG_OUTPUT_CONNECTION_FAILED = 4;
inline constexpr int HT_MSG_OBJECT_NOT_CREATED = 37;
// What the host's standard routines report when they cannot draw a primitive.
inline constexpr int HT_MSG_NOT_SUPPORTED = 90;

class HT_Exception {
  public:
    virtual ~HT_Exception() = default;
    static constexpr std::size_t kMaxContexts = 32;
    // Adds a context name (a constructor the exception passed through); names past 32 are dropped.
    void add_context(std::string name);
    const std::vector<std::string>& contexts() const { return m_contexts; }
    virtual std::string what_text() const;

  private:
    std::vector<std::string> m_contexts;
};

class HT_Error : public HT_Exception {
  public:
    // module: the module whose string table describes the message (may be null).
    HT_Error(const void* module, int message, std::string function, std::string item,
             std::string source = {});
    int message() const { return m_message; }
    const std::string& function() const { return m_function; }
    const std::string& item() const { return m_item; }
    const std::string& source() const { return m_source; }
    const void* module() const { return m_module; }
    // What the user needs beyond the item (for example the path of a file that is missing).
    void set_detail(std::string detail) { m_detail = std::move(detail); }
    const std::string& detail() const { return m_detail; }
    std::string what_text() const override;

  private:
    const void* m_module;
    int m_message;
    std::string m_function;
    std::string m_item;
    std::string m_source;
    std::string m_detail;
};

// Icon values of message boxes (the host's values).
inline constexpr int HT_ICON_STOP = 16;
inline constexpr int HT_ICON_WARNING = 48;
inline constexpr int HT_ICON_INFO = 64;

class HT_Error_Handler : public HT_Counted {
  public:
    struct Report {
        int message;
        std::string function;
        std::string item;
    };
    struct Message {
        std::wstring text;
        std::wstring caption;
        int icon;
    };

    // An error report from a driver (for example code 4 when the output cannot be opened).
    virtual void report(int message, const std::string& function, const std::string& item);
    // A message the host shows in the plot's error list.
    virtual void show_message(const std::wstring& text, const std::wstring& caption, int icon);

    const std::vector<Report>& reports() const { return m_reports; }
    const std::vector<Message>& messages() const { return m_messages; }

  private:
    std::vector<Report> m_reports;
    std::vector<Message> m_messages;
};

// The host's own error handler, told about what its standard routines cannot draw (for example
// raster images). With none set those reports go to stderr.
void HT_Set_Host_Error_Handler(HT_Error_Handler* handler);
HT_Error_Handler* HT_Get_Host_Error_Handler();
