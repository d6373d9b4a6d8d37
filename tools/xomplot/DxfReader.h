#pragma once
// Reads an ASCII DXF file (R12 to 2018) into a dxf::Document with dxflib. DXF files are outside
// input: a file that is binary, truncated or holds absurd counts is refused with a clear reason
// before dxflib sees it.
#include <string>

#include "tools/xomplot/DxfDocument.h"

namespace xomplot::dxf {

// Whether the file looks like DXF: its name ends in .dxf, or its first group is "0 / SECTION".
bool LooksLikeDxf(const std::string& path, const std::string& head);

bool ReadDxfText(const std::string& text, const std::string& source, Document& out,
                 std::string& error);
bool ReadDxfFile(const std::string& path, Document& out, std::string& error);

}  // namespace xomplot::dxf
