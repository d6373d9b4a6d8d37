#pragma once
// Wide/narrow text for the host stand-in's file names and messages (UTF-8 on this platform,
// independent of the process locale).
#include <string>

namespace hostsdk {
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
}  // namespace hostsdk
