#pragma once
// Reads a whole file of outside input into memory, refusing files above a size limit so a huge or
// endless file (a device, a FIFO) cannot exhaust memory.
#include <cstddef>
#include <string>

namespace xomplatform {

enum class ReadFileResult { Ok, CannotOpen, TooLarge };

ReadFileResult ReadFileText(const std::string& path, std::size_t max_bytes, std::string& text);

}  // namespace xomplatform
