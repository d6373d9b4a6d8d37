#include "support/CaptureSink.h"

namespace {
std::string g_captured;
std::size_t g_calls = 0;
}  // namespace

void CaptureBytes(const char* bytes, std::size_t length) {
    g_captured.append(bytes, length);
    ++g_calls;
}

std::string& CapturedBytes() {
    return g_captured;
}
std::size_t CaptureCalls() {
    return g_calls;
}

void ClearCapture() {
    g_captured.clear();
    g_calls = 0;
}
