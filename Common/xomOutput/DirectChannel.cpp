#include "Common/xomOutput/DirectChannel.h"

#include <algorithm>
#include <cstring>

#include "Common/XOM/LocalizedString.h"
#include "Common/XOM/PlotLogRecord.h"
#include "Common/XOM/StringIds.h"
#include "Common/xomOutput/OutputChannel.h"
#include "Common/xomOutput/PrinterNetwork.h"
#include "juxcommoncode/JuxNetwork/SocketContext.h"
#include "platform/ErrorText.h"
#include "platform/MessageService.h"

namespace {

using JuxNetwork::CIoContext;
using JuxNetwork::CSocketContext;

// The diagnostic line numbers of the channel's failures (fixed: they identify the failure, not a
// place in a source file).
constexpr unsigned kLineNoConnection = 212;
constexpr unsigned kLineNoBuffer = 219;
constexpr unsigned kLineSendFailed = 294;
constexpr unsigned kLineSendFailedShown = 300;
constexpr unsigned kLineWriteFailed = 312;
constexpr unsigned kLineWriteFailedShown = 318;
// The error code when no fresh send buffer can be had.
constexpr std::uint32_t kNoBuffer = 122;

CSocketContext* g_connection = nullptr;
CIoContext* g_buffer = nullptr;

// A fresh send buffer of the connection, ready for writing; null when none can be had.
CIoContext* NewSendBuffer(CSocketContext& connection) {
    CIoContext* io = connection.GetIoContext(CIoContext::kTcpBuffer);
    if (io == nullptr) return nullptr;
    if (JuxNetwork::Failed(io->Buffer().StartWriteTo())) {
        io->SetFree();
        return nullptr;
    }
    return io;
}

// A failed transfer: the connection is closed, the error state is 3, and the user sees the
// system's text for the error with the diagnostic line.
void FailTransfer(std::uint32_t code, unsigned line, unsigned shownLine) {
    if (g_connection != nullptr) g_connection->CloseSocket();
    g_buffer = nullptr;
    SetOutputErrorState(kOutputDirectFailed);
    AppendDiagnosticLine(kOutputSourceName, "XOMppsend", line);
    xomplatform::ShowMessage(xomplatform::SystemErrorText(code) +
                                 DiagnosticLine(kOutputSourceName, "XOMppsend", shownLine),
                             LocalizedString(IDS_PRINTER_MESSAGE), xomplatform::MessageIcon::Stop);
}

}  // namespace

bool OpenDirectChannel(const JuxNetwork::JUX_IP_ADDRESS& printer) {
    g_connection = nullptr;
    g_buffer = nullptr;
    JuxNetwork::CNetIpIoManager* manager = PrinterNetwork();
    if (manager == nullptr) return false;
    manager->PurgeSocketContexts();
    CSocketContext* connection = manager->ConnectTcp(printer);
    if (connection == nullptr) return false;
    connection->GetNoticeEvent().Reset();
    CIoContext* buffer = NewSendBuffer(*connection);
    if (buffer == nullptr) {
        connection->Close();
        return false;
    }
    g_connection = connection;
    g_buffer = buffer;
    return true;
}

void CloseDirectChannel() {
    if (g_connection != nullptr) g_connection->Close();
    g_connection = nullptr;
    g_buffer = nullptr;
}

CSocketContext* DirectConnection() {
    return g_connection;
}

std::uint32_t FinishDirectChannel() {
    if (g_connection == nullptr || g_buffer == nullptr) return kNoBuffer;
    CurrentPlotLogEntry().m_byteCount += g_buffer->Buffer().GetDataSize();
    CIoContext* last = g_buffer;
    g_buffer = nullptr;
    const std::uint32_t code = g_connection->Send(last, CIoContext::kTcpLastSend);
    if (code != 0) CloseDirectChannel();
    return code;
}

std::size_t DirectBuffersInUse() {
    if (g_connection == nullptr) return 0;
    g_connection->FreeIdleIoContexts();
    return g_connection->GetIoContextCount();
}

int DirectTransferPercent(std::size_t buffersInUse, std::size_t total) {
    const double left =
        static_cast<double>(buffersInUse) / static_cast<double>(std::max<std::size_t>(1, total));
    return static_cast<int>(std::min(1.0, std::max(0.0, 1.0 - left)) * 100);
}

void ForgetDirectChannel() {
    g_connection = nullptr;
    g_buffer = nullptr;
}

void XOMppsend(const char* bytes, std::size_t length) {
    if (OutputErrorState() != kOutputOk) return;
    if (g_connection == nullptr || g_buffer == nullptr) {
        SetOutputErrorState(kOutputDirectFailed);
        AppendDiagnosticLine(kOutputSourceName, "XOMppsend",
                             g_connection == nullptr ? kLineNoConnection : kLineNoBuffer);
        return;
    }
    JuxNetwork::CJuxSerializingBuffer& buffer = g_buffer->Buffer();
    if (buffer.GetBlockCount() > 1) {
        const std::uint64_t held = buffer.GetBlockList()[1].len;
        if (held + length > buffer.GetBuffInfoList()[1].allocatedSize) {
            // The buffer is full: it leaves while the next one fills.
            CurrentPlotLogEntry().m_byteCount += buffer.GetDataSize();
            std::uint32_t code = g_connection->Send(g_buffer, CIoContext::kTcpSend);
            g_buffer = nullptr;
            if (code == 0) {
                g_buffer = NewSendBuffer(*g_connection);
                if (g_buffer == nullptr) code = kNoBuffer;
            }
            if (code != 0) {
                FailTransfer(code, kLineSendFailed, kLineSendFailedShown);
                return;
            }
        }
    }
    const JuxNetwork::HRESULT written = g_buffer->Buffer().WriteBytes(bytes, length);
    if (JuxNetwork::Failed(written)) {
        FailTransfer(static_cast<std::uint32_t>(written), kLineWriteFailed, kLineWriteFailedShown);
    }
}

void XOMppsendText(const char* text) {
    XOMppsend(text, text == nullptr ? 0 : std::strlen(text));
}
