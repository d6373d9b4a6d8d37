#pragma once
// The direct channel: the job streamed over TCP to port 9100 of the printer.
//
// This build has no connection to stream into (the network I/O manager that opens it is not part
// of it), so the channel cannot be opened and a send that reaches it fails: error state 3 and a
// diagnostic line, without a message.
#include <cstddef>

// Source name that diagnostic lines of the output channel carry.
inline constexpr const char* kOutputSourceName = "..\\..\\Common\\xomOutput";

// Opens the connection to the current printer and its first send buffer; false when it cannot.
bool OpenDirectChannel();
// Closes the connection at once (cancel, failure); nothing happens without one.
void CloseDirectChannel();

void XOMppsend(const char* bytes, std::size_t length);
void XOMppsendText(const char* text);
