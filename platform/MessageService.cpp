#include "platform/MessageService.h"

#include <cstdio>
#include <mutex>

namespace xomplatform {
namespace {

std::mutex g_sinkMutex;
MessageSink g_sink;

void ConsoleSink(const std::wstring& text, const std::wstring& caption, MessageIcon icon) {
    const char* kind = icon == MessageIcon::Stop      ? "error"
                       : icon == MessageIcon::Warning ? "warning"
                                                      : "message";
    std::string line = ToUtf8(caption.empty() ? text : caption + L": " + text);
    std::fprintf(stderr, "[%s] %s\n", kind, line.c_str());
}

}  // namespace

void ShowMessage(const std::wstring& text, const std::wstring& caption, MessageIcon icon) {
    MessageSink sink;
    {
        std::lock_guard<std::mutex> lock(g_sinkMutex);
        sink = g_sink;
    }
    if (sink) {
        sink(text, caption, icon);
    } else {
        ConsoleSink(text, caption, icon);
    }
}

MessageSink SetMessageSink(MessageSink sink) {
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    MessageSink previous = std::move(g_sink);
    g_sink = std::move(sink);
    return previous;
}

}  // namespace xomplatform
