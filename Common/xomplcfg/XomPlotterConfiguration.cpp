#include "Common/xomplcfg/XomPlotterConfiguration.h"

#include <new>

#include "Common/xompldef/PlotterModelError.h"
#include "Common/xompldef/XomPlotterClassFactory.h"

namespace {
constexpr const char* kConstructor = "HT_XOM_Plotter_Configuration::HT_XOM_Plotter_Configuration";

template <class Part>
SPMP<Part> Required(SPMP<Part> part, const char* item) {
    if (!part) ThrowPlotterModelError(HT_MSG_OBJECT_NOT_CREATED, kConstructor, item);
    return part;
}
}  // namespace

HT_XOM_Plotter_Configuration::HT_XOM_Plotter_Configuration()
    : HT_XOM_Plotter_Configuration(
          SPMP<HT_Std_Plotter_Class_Factory>(new (std::nothrow) HT_XOM_Plotter_Class_Factory)) {}

HT_XOM_Plotter_Configuration::HT_XOM_Plotter_Configuration(
    const SPMP<HT_Std_Plotter_Class_Factory>& factory) try {
    if (!factory) ThrowPlotterModelError(HT_MSG_OBJECT_NOT_CREATED, kConstructor, "pCF");
    auto media = Required(factory->HD_Create_Media_Configuration(), "pMediaCfg");
    auto io = Required(factory->HD_Create_IO_Configuration(), "pIOCfg");
    auto physPen = Required(factory->HD_Create_Phys_Pen_Configuration(), "pPhysPenCfg");
    auto rcm = Required(factory->HD_Create_ResColorMem_Configuration(), "pRCMCfg");
    auto initTerm = Required(factory->HD_Create_Init_Term_Configuration(), "pInitTermCfg");
    auto custom = Required(factory->HD_Create_Custom_Configuration(), "pCustomCfg");
    set_media_configuration(media);
    set_io_configuration(io);
    set_phys_pen_configuration(physPen);
    set_res_color_mem_configuration(rcm);
    set_init_term_configuration(initTerm);
    set_custom_configuration(custom);
} catch (HT_Exception& e) {
    e.add_context(kConstructor);
}
