#include "Common/xomplcfg/XomPlotterConfiguration.h"

#include <new>

#include "Common/xompldef/PlotterModelError.h"
#include "Common/xompldef/XomPlotterClassFactory.h"

namespace {
constexpr const char* kConstructor = "HT_XOM_Plotter_Configuration::HT_XOM_Plotter_Configuration";
}  // namespace

HT_XOM_Plotter_Configuration::HT_XOM_Plotter_Configuration()
    : HT_XOM_Plotter_Configuration(
          SPMP<HT_Std_Plotter_Class_Factory>(new (std::nothrow) HT_XOM_Plotter_Class_Factory)) {}

HT_XOM_Plotter_Configuration::HT_XOM_Plotter_Configuration(
    const SPMP<HT_Std_Plotter_Class_Factory>& factory) try {
    if (!factory) ThrowPlotterModelError(HT_MSG_OBJECT_NOT_CREATED, kConstructor, "pCF");
    auto media = RequiredPart(factory->HD_Create_Media_Configuration(), kConstructor, "pMediaCfg");
    auto io = RequiredPart(factory->HD_Create_IO_Configuration(), kConstructor, "pIOCfg");
    auto physPen =
        RequiredPart(factory->HD_Create_Phys_Pen_Configuration(), kConstructor, "pPhysPenCfg");
    auto rcm =
        RequiredPart(factory->HD_Create_ResColorMem_Configuration(), kConstructor, "pRCMCfg");
    auto initTerm =
        RequiredPart(factory->HD_Create_Init_Term_Configuration(), kConstructor, "pInitTermCfg");
    auto custom =
        RequiredPart(factory->HD_Create_Custom_Configuration(), kConstructor, "pCustomCfg");
    set_media_configuration(media);
    set_io_configuration(io);
    set_phys_pen_configuration(physPen);
    set_res_color_mem_configuration(rcm);
    set_init_term_configuration(initTerm);
    set_custom_configuration(custom);
} catch (HT_Exception& e) {
    e.add_context(kConstructor);
}
