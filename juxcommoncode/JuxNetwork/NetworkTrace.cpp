#include "juxcommoncode/JuxNetwork/NetworkTrace.h"

#include <cstring>
#include <mutex>

#include "platform/Utf8.h"

namespace JuxNetwork {

namespace {

constexpr std::size_t kTraceLimit = std::size_t{64} * 1024;

std::mutex& TraceLock() {
    static std::mutex lock;
    return lock;
}

std::wstring& TraceText() {
    static std::wstring text;
    return text;
}

}  // namespace

void TraceNetwork(const std::wstring& text) {
    std::lock_guard<std::mutex> guard(TraceLock());
    std::wstring& trace = TraceText();
    trace += text;
    if (trace.size() > kTraceLimit) trace.erase(0, trace.size() - kTraceLimit);
}

void TraceSocketError(const std::wstring& what, int code) {
    char buffer[256] = {};
    // The GNU strerror_r returns its text, which need not be in buffer.
    const char* text = strerror_r(code, buffer, sizeof buffer);
    TraceNetwork(what + L"\nERROR " + std::to_wstring(code) + L": " + xomplatform::FromUtf8(text));
}

std::wstring NetworkTraceText() {
    std::lock_guard<std::mutex> guard(TraceLock());
    return TraceText();
}

void ClearNetworkTrace() {
    std::lock_guard<std::mutex> guard(TraceLock());
    TraceText().clear();
}

}  // namespace JuxNetwork
