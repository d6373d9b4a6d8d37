#include "Common/xompldef/PlotterModelError.h"

#include <dlfcn.h>

#include "Common/XOM/BuildInfo.h"
#include "Common/XOM/DriverApp.h"
#include "hdi/HT_Error.h"

const void* PlotterModelErrorModule() {
    if (const void* resources = theApp().resourceModule()) return resources;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&PlotterModelErrorModule), &info) == 0) return nullptr;
    return info.dli_fbase;
}

void ThrowPlotterModelError(int message, const char* function, const char* item,
                            std::string detail) {
    HT_Error error(PlotterModelErrorModule(), message, function, item, XomBuildIdentity().hdi_file);
    error.set_detail(std::move(detail));
    throw error;
}
