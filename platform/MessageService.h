#pragma once
// The one platform message service: a text, a caption and an icon shown to the user. The console
// backend (default) writes to stderr; tests install a capturing sink; a GUI backend comes with the
// dialogs.
#include <functional>
#include <string>

#include "platform/Utf8.h"

namespace xomplatform {

enum class MessageIcon { None, Stop, Warning, Info };

void ShowMessage(const std::wstring& text, const std::wstring& caption, MessageIcon icon);

using MessageSink =
    std::function<void(const std::wstring& text, const std::wstring& caption, MessageIcon icon)>;
// Replaces the sink and returns the previous one; an empty sink restores the console backend.
MessageSink SetMessageSink(MessageSink sink);

}  // namespace xomplatform
