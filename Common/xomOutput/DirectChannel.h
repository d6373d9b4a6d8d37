#pragma once
// The direct channel: the job streamed over TCP to port 9100 of the printer.
//
// The driver has no network I/O manager to open a connection with: OpenDirectChannel always
// fails, and a send that reaches the channel fails with error state 3 and a diagnostic line,
// without a message.
#include <cstddef>

// Source name that diagnostic lines of the output channel carry.
inline constexpr const char* kOutputSourceName = "..\\..\\Common\\xomOutput";

// Opens the connection to the current printer and its first send buffer; false when it cannot.
bool OpenDirectChannel();
// Closes the connection at once (cancel, failure); nothing happens without one.
void CloseDirectChannel();

void XOMppsend(const char* bytes, std::size_t length);
void XOMppsendText(const char* text);
