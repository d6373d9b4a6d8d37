#include "Common/xomplcaps/XomPlotterCapabilities.h"

#include <new>

#include "Common/xompldef/PlotterModelError.h"
#include "Common/xompldef/XomPlotterClassFactory.h"

namespace {
constexpr const char* kConstructor = "HT_XOM_Plotter_Capabilities::HT_XOM_Plotter_Capabilities";
}  // namespace

HT_XOM_Plotter_Capabilities::HT_XOM_Plotter_Capabilities()
    : HT_XOM_Plotter_Capabilities(
          SPMP<HT_Std_Plotter_Class_Factory>(new (std::nothrow) HT_XOM_Plotter_Class_Factory)) {}

HT_XOM_Plotter_Capabilities::HT_XOM_Plotter_Capabilities(
    const SPMP<HT_Std_Plotter_Class_Factory>& factory) try {
    if (!factory) ThrowPlotterModelError(HT_MSG_OBJECT_NOT_CREATED, kConstructor, "pCF");
    // Every part is made before any is handed over, in the host's order.
    auto media = RequiredPart(factory->HD_Create_Media_Capabilities(), kConstructor, "pMediaCaps");
    auto io = RequiredPart(factory->HD_Create_IO_Capabilities(), kConstructor, "pIOCaps");
    auto physPen =
        RequiredPart(factory->HD_Create_Phys_Pen_Capabilities(), kConstructor, "pPhysPenCaps");
    auto raster =
        RequiredPart(factory->HD_Create_Raster_Capabilities(), kConstructor, "pRasterCaps");
    auto linetype =
        RequiredPart(factory->HD_Create_Linetype_Capabilities(), kConstructor, "pLinetypeCaps");
    auto rcm =
        RequiredPart(factory->HD_Create_ResColorMem_Capabilities(), kConstructor, "pRCMCaps");
    auto initTerm =
        RequiredPart(factory->HD_Create_Init_Term_Capabilities(), kConstructor, "pInitTermCaps");
    auto custom =
        RequiredPart(factory->HD_Create_Custom_Capabilities(), kConstructor, "pCustomCaps");
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
