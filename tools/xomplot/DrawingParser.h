#pragma once
// Reads xomplot's plain-text drawings (see README, "Drawing format"). Drawings are outside input:
// every fault is reported as "source:line: reason" and nothing of a bad drawing is drawn.
#include <string>

#include "tools/xomplot/Drawing.h"

namespace xomplot {

bool ParseDrawing(const std::string& text, const std::string& source, Drawing& out,
                  std::string& error);
bool LoadDrawing(const std::string& path, Drawing& out, std::string& error);

}  // namespace xomplot
