#include "Common/xomOutput/OutputChannel.h"

#include <cstring>
#include <string>

#include "Common/XOM/PlotLogRecord.h"
#include "Common/xomOutput/DirectChannel.h"
#include "hdi/HT_Plotter_Device_Data.h"
#include "platform/Utf8.h"

namespace {

unsigned g_errorState = kOutputOk;
std::wstring g_diagnostic;
HT_Plotter_Device_Data* g_device = nullptr;
ByteSender g_byteSender = nullptr;
TextSender g_textSender = nullptr;

}  // namespace

unsigned OutputErrorState() {
    return g_errorState;
}
void SetOutputErrorState(unsigned state) {
    g_errorState = state;
}

const std::wstring& DiagnosticText() {
    return g_diagnostic;
}

std::wstring DiagnosticLine(const char* source, const char* operation, unsigned line) {
    return L"\n" + xomplatform::FromUtf8(source) + L"::" + xomplatform::FromUtf8(operation) +
           L"::" + std::to_wstring(line);
}

void AppendDiagnosticLine(const char* source, const char* operation, unsigned line) {
    g_diagnostic += DiagnosticLine(source, operation, line);
}

void ResetOutputState() {
    g_errorState = kOutputOk;
    g_diagnostic.clear();
}

void SetOutputDevice(HT_Plotter_Device_Data* device) {
    g_device = device;
}
HT_Plotter_Device_Data* OutputDevice() {
    return g_device;
}

void SelectHostChannel() {
    g_byteSender = &HostSendBytes;
    g_textSender = &HostSendText;
    g_plotStream.byteSender = g_byteSender;
}

void SelectDirectChannel() {
    g_byteSender = &XOMppsend;
    g_textSender = &XOMppsendText;
    g_plotStream.byteSender = g_byteSender;
}

void SendBytes(const char* bytes, std::size_t length) {
    if (g_byteSender != nullptr) g_byteSender(bytes, length);
}

void SendText(const char* text) {
    if (g_textSender != nullptr) g_textSender(text);
}

ByteSender CurrentByteSender() {
    return g_byteSender;
}
TextSender CurrentTextSender() {
    return g_textSender;
}

void HostSendBytes(const char* bytes, std::size_t length) {
    if (g_errorState != kOutputOk || length == 0) return;
    if (bytes == nullptr || g_device == nullptr) {
        // A send without data or without a device to write to cannot be delivered: treat it as
        // a failed write so the picture ends "Plot canceled" instead of losing bytes silently.
        g_errorState = 1;
        AppendDiagnosticLine(kOutputSourceName, "HostSendBytes", __LINE__);
        return;
    }
    const int result = g_device->write_output(bytes, length);
    CurrentPlotLogEntry().m_byteCount += length;
    g_errorState = static_cast<unsigned>(result);
}

void HostSendText(const char* text) {
    if (text == nullptr) return;
    HostSendBytes(text, std::strlen(text));
}
