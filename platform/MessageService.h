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

// A question with the three answers of a warning the user may retry or override.
enum class MessageAnswer { Cancel, TryAgain, Continue };
// Asks with the buttons Cancel, Try Again and Continue. Without a window system nobody can
// answer: the console backend writes the question and answers Cancel.
MessageAnswer AskCancelTryContinue(const std::wstring& text, const std::wstring& caption,
                                   MessageIcon icon);
using QuestionSink = std::function<MessageAnswer(const std::wstring& text,
                                                 const std::wstring& caption, MessageIcon icon)>;
// Replaces the sink and returns the previous one; an empty sink restores the console backend.
QuestionSink SetQuestionSink(QuestionSink sink);

// The system's default beep (input refused); replaceable as the sinks above.
void Beep();
using BeepSink = std::function<void()>;
BeepSink SetBeepSink(BeepSink sink);

}  // namespace xomplatform
