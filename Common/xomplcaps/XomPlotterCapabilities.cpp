#include "Common/xomplcaps/XomPlotterCapabilities.h"

#include <new>

#include "Common/xompldef/PlotterModelError.h"
#include "Common/xompldef/XomPlotterClassFactory.h"

namespace {
constexpr const char* kConstructor = "HT_XOM_Plotter_Capabilities::HT_XOM_Plotter_Capabilities";

template <class Part>
SPMP<Part> Required(SPMP<Part> part, const char* item) {
    if (!part) ThrowPlotterModelError(HT_MSG_OBJECT_NOT_CREATED, kConstructor, item);
    return part;
}
}  // namespace

HT_XOM_Plotter_Capabilities::HT_XOM_Plotter_Capabilities()
    : HT_XOM_Plotter_Capabilities(
          SPMP<HT_Std_Plotter_Class_Factory>(new (std::nothrow) HT_XOM_Plotter_Class_Factory)) {}

HT_XOM_Plotter_Capabilities::HT_XOM_Plotter_Capabilities(
    const SPMP<HT_Std_Plotter_Class_Factory>& factory) try {
    if (!factory) ThrowPlotterModelError(HT_MSG_OBJECT_NOT_CREATED, kConstructor, "pCF");
    // Every part is made before any is handed over, in the host's order.
    auto media = Required(factory->HD_Create_Media_Capabilities(), "pMediaCaps");
    auto io = Required(factory->HD_Create_IO_Capabilities(), "pIOCaps");
    auto physPen = Required(factory->HD_Create_Phys_Pen_Capabilities(), "pPhysPenCaps");
    auto raster = Required(factory->HD_Create_Raster_Capabilities(), "pRasterCaps");
    auto linetype = Required(factory->HD_Create_Linetype_Capabilities(), "pLinetypeCaps");
    auto rcm = Required(factory->HD_Create_ResColorMem_Capabilities(), "pRCMCaps");
    auto initTerm = Required(factory->HD_Create_Init_Term_Capabilities(), "pInitTermCaps");
    auto custom = Required(factory->HD_Create_Custom_Capabilities(), "pCustomCaps");
    set_media_capabilities(media);
    set_io_capabilities(io);
    set_phys_pen_capabilities(physPen);
    set_raster_capabilities(raster);
    set_linetype_capabilities(linetype);
    set_res_color_mem_capabilities(rcm);
    set_init_term_capabilities(initTerm);
    set_custom_capabilities(custom);
} catch (HT_Exception& e) {
    e.add_context(kConstructor);
}
