#pragma once
// Reads xomplot's plain-text drawings (see README, "Drawing format"). Drawings are outside input:
// every fault is reported as "source:line: reason" and nothing of a bad drawing is drawn.
#include <string>

#include "tools/xomplot/Drawing.h"

namespace xomplot {

bool ParseDrawing(const std::string& text, const std::string& source, Drawing& out,
                  std::string& error);
// Reads the drawing and the PNG files of its images (paths relative to the drawing's folder).
bool LoadDrawing(const std::string& path, Drawing& out, std::string& error);
// Reads the PNG files of a parsed drawing's images, relative to the drawing's folder; the first
// unreadable one is the error ("drawing:line: reason").
bool LoadDrawingImages(Drawing& drawing, const std::string& drawing_path, std::string& error);

}  // namespace xomplot
