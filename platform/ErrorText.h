#pragma once
// The system's text for an error number the driver reports: the Windows error numbers it keeps
// (for example 122, 160) from a table of its own, errno values from the C library.
#include <string>

namespace xomplatform {

std::wstring SystemErrorText(unsigned code);

}  // namespace xomplatform
