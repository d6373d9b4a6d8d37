#pragma once

#include <cstddef>
#include <string>

// A byte sender that keeps everything it is given, for writers whose sender is a plain function
// pointer. One process-wide buffer: tests clear it in their set-up.
void CaptureBytes(const char* bytes, std::size_t length);
std::string& CapturedBytes();
// How many times CaptureBytes was called since the last ClearCapture.
std::size_t CaptureCalls();
void ClearCapture();
