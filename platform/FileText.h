#pragma once
// Reads a whole file of outside input into memory, refusing files above a size limit so a huge or
// endless file cannot exhaust memory. Only regular files are read: a directory, FIFO or device is
// refused before any read (a FIFO would block, a device could be endless).
#include <cstddef>
#include <string>

namespace xomplatform {

enum class ReadFileResult { Ok, CannotOpen, NotAFile, ReadFailed, TooLarge };

// On CannotOpen and ReadFailed, *systemError (when given) is the errno of the failure: a read that
// fails part-way is an error, never a shorter text.
ReadFileResult ReadFileText(const std::string& path, std::size_t max_bytes, std::string& text,
                            int* systemError = nullptr);

// "path: reason" for a result that is not Ok (the system's text for CannotOpen and ReadFailed).
std::string ReadFileErrorText(const std::string& path, ReadFileResult result, int systemError,
                              std::size_t max_bytes);

// ReadFileText with the reason as ReadFileErrorText gives it: false with `error` set when the file
// cannot be read whole.
bool ReadFileOrError(const std::string& path, std::size_t max_bytes, std::string& text,
                     std::string& error);

}  // namespace xomplatform
