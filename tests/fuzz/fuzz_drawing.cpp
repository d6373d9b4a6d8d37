// xomplot drawings are outside input: the parser must refuse any bad text with "source:line:
// reason" and leave nothing half-parsed, never crash or hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/xomplot/DrawingParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    xomplot::Drawing drawing;
    std::string error;
    if (!xomplot::ParseDrawing(text, "fuzz.drw", drawing, error)) {
        if (error.rfind("fuzz.drw:", 0) != 0 || !drawing.actions.empty()) __builtin_trap();
        return 0;
    }
    for (const auto& a : drawing.actions) {
        if (a.kind == xomplot::ActionKind::Image) {
            if (a.image.path.empty() || a.image.width < 1 || a.image.height < 1) __builtin_trap();
            continue;
        }
        const size_t n = a.dci.size() + a.dc.size();
        if (n == 0) __builtin_trap();
        const HT_Rendition r = a.rendition();
        if (r.clip) r.clip->point_inside(0, 0);
    }
    return 0;
}
