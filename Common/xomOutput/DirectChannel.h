#pragma once
// The direct channel: the job streamed over TCP to port 9100 of the printer, through the
// driver's network manager. The job is gathered in send buffers of the connection; a full buffer
// leaves while the next one fills, the last one at picture end. The first failure closes the
// connection, sets error state 3 and shows the system's text with the diagnostic line; later
// sends are dropped.
#include <cstddef>
#include <cstdint>
#include <string>

#include "juxcommoncode/JuxNetwork/JuxIpAddress.h"

namespace JuxNetwork {
class CSocketContext;
}

// Source name that diagnostic lines of the output channel carry.
inline constexpr const char* kOutputSourceName = "..\\..\\Common\\xomOutput";

// Opens the connection to the printer and its first send buffer; false when it cannot (no
// manager, no connection, no buffer).
bool OpenDirectChannel(const JuxNetwork::JUX_IP_ADDRESS& printer);
// Closes the connection at once, abortively (cancel, failure); nothing happens without one.
void CloseDirectChannel();
// The open connection; null without one.
JuxNetwork::CSocketContext* DirectConnection();

// Hands the open buffer over as the job's last (its size added to the plot's byte count). 0 when
// it is on its way; else the error code, the connection is closed and forgotten.
std::uint32_t FinishDirectChannel();
// After FinishDirectChannel: frees the connection's idle I/O contexts and returns how many are
// still in use (the buffers the printer has not taken yet).
std::size_t DirectBuffersInUse();
// The meter's percent while the printer takes the job: the share of the buffers handed over
// (total, at least 1) that have left, from 0 to 100.
int DirectTransferPercent(std::size_t buffersInUse, std::size_t total);
// Forgets the connection without closing it (the job was delivered, or its wait ended).
void ForgetDirectChannel();

void XOMppsend(const char* bytes, std::size_t length);
void XOMppsendText(const char* text);
