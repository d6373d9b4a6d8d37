#pragma once

#include <string>
#include <string_view>

#include <gtest/gtest.h>

// Compares two byte strings; on a mismatch the message names the first differing offset and
// shows a hex dump of both around it.
::testing::AssertionResult BytesEqual(std::string_view actual, std::string_view expected);

// Printable form of bytes: ESC as "\e", other control and high bytes as "\xNN".
std::string Printable(std::string_view bytes);
