#pragma once
// User-visible texts by string number: from the resource library's table in the user's language,
// falling back to the driver's own (English) table.
#include <cstddef>
#include <span>
#include <string>

#include "resources/ResourceLibrary.h"

// The most characters a loaded text keeps (a buffer of 2047 characters with its terminator).
inline constexpr std::size_t kMaxLocalizedStringChars = 2046;

// Empties text, then loads string id. With a resource library that has the id, its text; with a
// resource library that lacks it, the driver's own text followed by "." (so a missing translation
// shows); without a resource library, the driver's own text. Returns false (text empty) when
// neither table has the id.
bool LoadLocalizedString(unsigned id, std::wstring& text);
// The same, returning the text.
std::wstring LocalizedString(unsigned id);

// The driver's own string table (resources/StringTable.inc), ascending ids.
std::span<const XomResString> DriverStringTable();
