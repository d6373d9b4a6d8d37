#pragma once
// What a stream that another thread is still writing holds so far, read by offset: the writer
// keeps its place at the end (a rewind by the reader would make its next line overwrite the
// first).
#include <cstdio>
#include <string>

namespace xomtest {

std::string TextSoFar(std::FILE* stream);

}  // namespace xomtest
