#pragma once
// The output channel: every byte of a job (prefix, HP-GL/2, raster, closing) leaves through the
// process-wide byte and text senders, which the device points at one channel at picture start.
//
// The first failure of a channel sets the global error state; from then on every send is dropped
// and the device reports the outcome once, when the picture ends. Senders run on the host's plot
// thread only (one plot at a time); nothing here is locked.
#include <cstddef>
#include <string>

#include "Common/XOM/PlotStreamState.h"

class HT_Plotter_Device_Data;

using TextSender = void (*)(const char* text);

// Global error state values: 0 while output works; the host write result (1) after a failed
// host write; 3 after a failed direct transfer.
inline constexpr unsigned kOutputOk = 0;
inline constexpr unsigned kOutputDirectFailed = 3;

unsigned OutputErrorState();
void SetOutputErrorState(unsigned state);

// The diagnostic text: one line per output failure, "\n<source>::<operation>::<line>". Kept in
// memory for diagnosis, never shown by itself.
const std::wstring& DiagnosticText();
void AppendDiagnosticLine(const char* source, const char* operation, unsigned line);
// The line AppendDiagnosticLine would add, for messages that quote it.
std::wstring DiagnosticLine(const char* source, const char* operation, unsigned line);

// Picture start: error state 0, empty diagnostic text.
void ResetOutputState();

// The host channel writes through this device's write_output; null detaches it (a device that
// goes away must not stay the target of the senders).
void SetOutputDevice(HT_Plotter_Device_Data* device);
HT_Plotter_Device_Data* OutputDevice();

// Points both senders (and the HP-GL/2 writer's byte sender) at the host channel or at the
// direct channel.
void SelectHostChannel();
void SelectDirectChannel();

// Send through whatever channel is selected; nothing is sent before a channel is chosen.
void SendBytes(const char* bytes, std::size_t length);
void SendText(const char* text);
ByteSender CurrentByteSender();
TextSender CurrentTextSender();

// The host channel. While the error state is 0: hands the bytes to the output device's
// write_output, adds the length to the plot's byte count (also for a write that fails) and takes
// the write's result as the error state. Later sends are dropped.
void HostSendBytes(const char* bytes, std::size_t length);
void HostSendText(const char* text);
