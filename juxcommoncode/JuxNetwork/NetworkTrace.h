#pragma once
// The developer trace of the network layer: failed system calls and dropped datagrams are noted
// here for diagnosis. It is kept in memory, never shown to the user, and never changes a result.
// Safe to call from any thread.
#include <string>

namespace JuxNetwork {

// Appends text to the trace; the oldest text is dropped once the trace grows past 64 KiB.
void TraceNetwork(const std::wstring& text);
// Appends "\nERROR <code>: <system text for code>" after what, for an errno-style socket error.
void TraceSocketError(const std::wstring& what, int code);
// The trace so far.
std::wstring NetworkTraceText();
void ClearNetworkTrace();

}  // namespace JuxNetwork
