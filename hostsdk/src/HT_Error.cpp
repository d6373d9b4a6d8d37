// Host errors and the default error handler (it keeps what it is told; hosts show it).
#include "hdi/HT_Error.h"

#include <utility>

void HT_Exception::add_context(std::string name) {
    if (m_contexts.size() < kMaxContexts) m_contexts.push_back(std::move(name));
}

std::string HT_Exception::what_text() const {
    std::string text = "host exception";
    for (const auto& c : m_contexts) text += " <- " + c;
    return text;
}

HT_Error::HT_Error(const void* module, int message, std::string function, std::string item,
                   std::string source)
    : m_module(module),
      m_message(message),
      m_function(std::move(function)),
      m_item(std::move(item)),
      m_source(std::move(source)) {}

namespace {
const char* MessageText(int message) {
    switch (message) {
        case HT_MSG_FILE_OR_VALUE_MISSING:
            return "file, property or value missing";
        case HT_MSG_OUTPUT_CONNECTION_FAILED:
            return "output connection failed";
        case HT_MSG_OBJECT_NOT_CREATED:
            return "object could not be created";
        default:
            return "host error";
    }
}
}  // namespace

std::string HT_Error::what_text() const {
    std::string text = "error " + std::to_string(m_message) + " (" + MessageText(m_message) +
                       ") in " + m_function + ": " + m_item;
    if (!m_detail.empty()) text += " (" + m_detail + ")";
    if (!m_source.empty()) text += " [" + m_source + "]";
    for (const auto& c : contexts()) text += " <- " + c;
    return text;
}

void HT_Error_Handler::report(int message, const std::string& function, const std::string& item) {
    m_reports.push_back({message, function, item});
}

void HT_Error_Handler::show_message(const std::wstring& text, const std::wstring& caption,
                                    int icon) {
    m_messages.push_back({text, caption, icon});
}

namespace {
SPMP<HT_Error_Handler>& HostHandler() {
    static SPMP<HT_Error_Handler> handler;
    return handler;
}
}  // namespace

void HT_Set_Host_Error_Handler(HT_Error_Handler* handler) {
    HostHandler() = handler;
}
HT_Error_Handler* HT_Get_Host_Error_Handler() {
    return HostHandler().get();
}
