#pragma once
// Small text rules the dialogs share.
#include <string>

// String id as a label: trimmed, a trailing ':' or full-width colon removed, ":" appended.
std::wstring LabelText(unsigned stringId);
// The same rule for any text.
std::wstring NormalisedLabel(const std::wstring& text);
// The format with its first "%s" replaced by value (the format itself when it has none).
std::wstring FormatWith(const std::wstring& format, const std::wstring& value);
// Text without leading and trailing white space.
std::wstring Trimmed(const std::wstring& text);
