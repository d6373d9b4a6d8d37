#pragma once
// Puts a DXF drawing on the sheet: the model-space extents (or a window of them) fitted to the
// printable area and centred, or drawn to a scale; turned a quarter when that suits the sheet
// better. The result is the host drawing actions xomplot plots, in device dots.
#include <string>
#include <vector>

#include "tools/xomplot/Drawing.h"
#include "tools/xomplot/DxfDocument.h"
#include "tools/xomplot/DxfFlatten.h"

namespace xomplot::dxf {

enum class Rotate { Auto, None, Quarter };

struct Placement {
    double scale_denominator = 0;  // --scale 1:N; 0: fit to the sheet
    bool has_window = false;
    double window[4] = {0, 0, 0, 0};  // x0, y0, x1, y1 in drawing units
    Rotate rotate = Rotate::Auto;
};

struct PrintableArea {
    double width = 0;  // dots
    double height = 0;
    double dpi = 600;
};

// Parsers of the command line's values; false with the reason.
bool ParseScale(const std::string& text, double& denominator, std::string& error);
bool ParseWindow(const std::string& text, Placement& placement, std::string& error);
bool ParseRotate(const std::string& text, Rotate& rotate, std::string& error);

// Millimetres per drawing unit for $INSUNITS (unitless drawings are taken as millimetres).
double MillimetresPerUnit(int insunits);

bool PlaceDrawing(const Document& doc, const Placement& placement, const PrintableArea& area,
                  const TextOutliner& text, Drawing& out, std::vector<std::string>& warnings,
                  std::string& error);

}  // namespace xomplot::dxf
