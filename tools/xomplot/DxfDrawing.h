#pragma once
// A DXF file as an xomplot drawing: read, then placed on the chosen media once the plot knows its
// printable area and resolution.
#include <string>
#include <vector>

#include "tools/xomplot/Drawing.h"
#include "tools/xomplot/DxfDocument.h"
#include "tools/xomplot/DxfPlacement.h"

namespace xomplot {

struct DxfOptions {
    dxf::Placement placement;
    std::string font = "DejaVu Sans";  // a fontconfig pattern for TEXT and MTEXT
};

// Whether the file is a DXF drawing (by its name or its first group).
bool IsDxfFile(const std::string& path);

// The drawing actions of the document on a printable area; warnings (what was not drawn and why)
// are for the user.
bool PlaceDxf(const dxf::Document& doc, const DxfOptions& options, const dxf::PrintableArea& area,
              Drawing& out, std::vector<std::string>& warnings, std::string& error);

}  // namespace xomplot
