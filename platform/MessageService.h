#pragma once
// The one platform message service: a text, a caption and an icon shown to the user. The console
// backend (default) writes to stderr; tests install a capturing sink; a GUI backend comes with the
// dialogs.
#include <functional>
#include <string>

namespace xomplatform {

enum class MessageIcon { None, Stop, Warning, Info };

void ShowMessage(const std::wstring& text, const std::wstring& caption, MessageIcon icon);

using MessageSink =
    std::function<void(const std::wstring& text, const std::wstring& caption, MessageIcon icon)>;
// Replaces the sink and returns the previous one; an empty sink restores the console backend.
MessageSink SetMessageSink(MessageSink sink);

// UTF-8 <-> wide conversions for console output and file names (independent of the C locale).
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

}  // namespace xomplatform
