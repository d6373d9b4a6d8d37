#include "Common/xomOutput/DirectChannel.h"

#include <cstring>

#include "Common/xomOutput/OutputChannel.h"

bool OpenDirectChannel() {
    return false;
}

void CloseDirectChannel() {}

void XOMppsend(const char* bytes, std::size_t length) {
    if (OutputErrorState() != kOutputOk) return;
    // No connection is ever open (see DirectChannel.h).
    SetOutputErrorState(kOutputDirectFailed);
    AppendDiagnosticLine(kOutputSourceName, "XOMppsend", 212);
}

void XOMppsendText(const char* text) {
    XOMppsend(text, text == nullptr ? 0 : std::strlen(text));
}
