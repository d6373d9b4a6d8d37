#pragma once
// How the host plotter model fails: it throws the host's HT_Error, naming the failing function
// and the missing item, with the resource library (or, without one, the driver itself) as the
// module whose strings describe it.
#include <string>

#include "hdi/HT_Error.h"

// Throws HT_Error(message, function, item); detail (for example a missing file's path) is shown
// with it when not empty.
[[noreturn]] void ThrowPlotterModelError(int message, const char* function, const char* item,
                                         std::string detail = {});

// The part a factory made, or HT_Error 37 naming the item when it made none.
template <class Part>
Part RequiredPart(Part part, const char* function, const char* item) {
    if (!part) ThrowPlotterModelError(HT_MSG_OBJECT_NOT_CREATED, function, item);
    return part;
}

// The module an error names: the resource library, else the driver library itself.
const void* PlotterModelErrorModule();
