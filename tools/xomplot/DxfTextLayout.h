#pragma once
// Places the outlines of TEXT and MTEXT entities: decodes the DXF text codes, outlines each line
// with the font and applies height, width factor, rotation and alignment.
#include <string>
#include <vector>

#include "tools/xomplot/DxfFlatten.h"

namespace xomplot::dxf {

// The text as plain UTF-8: %%d, %%p, %%c and \U+XXXX decoded, control codes dropped, bytes
// that are not UTF-8 taken as Latin-1. For MTEXT also the formatting codes removed and
// paragraphs (\P) split into lines.
std::vector<std::string> DecodeText(const std::string& raw, bool mtext);

// Breaks each line at its spaces into lines no wider than `limit` (text units, 1 = the height)
// where the words allow; a word wider than the limit gets a line of its own.
bool WrapLines(std::vector<std::string>& lines, double limit, const TextOutliner& outline,
               std::string& why);

// Contours in the entity's coordinates. False with the reason when the font cannot draw it.
bool LayOutText(const Entity& e, const TextOutliner& outline,
                std::vector<std::vector<Point>>& contours, std::string& why);

}  // namespace xomplot::dxf
