#include "platform/MessageService.h"

#include <cstdio>
#include <mutex>

namespace xomplatform {
namespace {

std::mutex g_sinkMutex;
MessageSink g_sink;
QuestionSink g_questionSink;
BeepSink g_beepSink;

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

MessageAnswer AskCancelTryContinue(const std::wstring& text, const std::wstring& caption,
                                   MessageIcon icon) {
    QuestionSink sink;
    {
        std::lock_guard<std::mutex> lock(g_sinkMutex);
        sink = g_questionSink;
    }
    if (sink) return sink(text, caption, icon);
    ConsoleSink(text, caption, icon);
    return MessageAnswer::Cancel;
}

QuestionSink SetQuestionSink(QuestionSink sink) {
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    QuestionSink previous = std::move(g_questionSink);
    g_questionSink = std::move(sink);
    return previous;
}

void Beep() {
    BeepSink sink;
    {
        std::lock_guard<std::mutex> lock(g_sinkMutex);
        sink = g_beepSink;
    }
    if (sink) sink();
}

BeepSink SetBeepSink(BeepSink sink) {
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    BeepSink previous = std::move(g_beepSink);
    g_beepSink = std::move(sink);
    return previous;
}

}  // namespace xomplatform
