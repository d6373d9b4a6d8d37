// DXF drawings are outside input: the reader must refuse a bad file with a reason, and whatever it
// accepts must expand and place on a sheet without a crash, a hang or unbounded memory.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/xomplot/DxfFont.h"
#include "tools/xomplot/DxfPlacement.h"
#include "tools/xomplot/DxfReader.h"

namespace {
xomplot::dxf::FontOutliner& Font() {
    static xomplot::dxf::FontOutliner* font = [] {
        auto* f = new xomplot::dxf::FontOutliner;
        std::string error;
        f->Open("DejaVu Sans", error);
        return f;
    }();
    return *font;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    xomplot::dxf::Document doc;
    std::string error;
    if (!xomplot::dxf::ReadDxfText(text, "fuzz.dxf", doc, error)) {
        if (error.rfind("fuzz.dxf: ", 0) != 0) __builtin_trap();
        return 0;
    }
    xomplot::dxf::Placement placement;
    const xomplot::dxf::PrintableArea area{2000, 3000, 300};
    xomplot::Drawing drawing;
    std::vector<std::string> warnings;
    if (!xomplot::dxf::PlaceDrawing(doc, placement, area, Font().Function(), drawing, warnings,
                                    error)) {
        if (error.empty() || !drawing.actions.empty()) __builtin_trap();
        return 0;
    }
    for (const auto& a : drawing.actions)
        if (a.dci.empty()) __builtin_trap();
    return 0;
}
