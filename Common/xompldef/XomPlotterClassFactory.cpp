#include "Common/xompldef/XomPlotterClassFactory.h"

#include <new>
#include <utility>

#include "Common/xomplcaps/XomPlotterCapabilities.h"
#include "Common/xomplcfg/XomPlotterConfiguration.h"
#include "Common/xompldef/XomPlotterDefinition.h"
#include "Common/xompldef/XomValidators.h"
#include "hdi/PM_DRC_Caps_Loader.h"

namespace {
// A new object, or null when memory is exhausted (other failures are thrown on to the host).
template <class T, class... Args>
SPMP<T> MakeOrNull(Args&&... args) {
    try {
        return SPMP<T>(new T(std::forward<Args>(args)...));
    } catch (const std::bad_alloc&) {
        return SPMP<T>();
    }
}
}  // namespace

HT_XOM_Plotter_Class_Factory::HT_XOM_Plotter_Class_Factory() = default;
HT_XOM_Plotter_Class_Factory::~HT_XOM_Plotter_Class_Factory() = default;

SPMP<PM_DRC_Caps_Loader> HT_XOM_Plotter_Class_Factory::HD_Create_Caps_Loader(
    HT_Error_Handler* error_handler) {
    return MakeOrNull<PM_DRC_Caps_Loader>(error_handler);
}

SPMP<HT_Std_Plotter_Capabilities> HT_XOM_Plotter_Class_Factory::HD_Create_Plotter_Capabilities(
    const std::wstring&, const std::wstring&, const std::wstring&) {
    return MakeOrNull<HT_XOM_Plotter_Capabilities>();
}

SPMP<HT_Std_Plotter_Configuration> HT_XOM_Plotter_Class_Factory::HD_Create_Plotter_Configuration(
    const std::wstring&, const std::wstring&, const std::wstring&) {
    return MakeOrNull<HT_XOM_Plotter_Configuration>();
}

SPMP<HT_Std_Plotter_Definition> HT_XOM_Plotter_Class_Factory::HD_Create_Plotter_Definition(
    HT_Error_Handler* error_handler) {
    return MakeOrNull<HT_XOM_Plotter_Definition>(error_handler, nullptr);
}

SPMP<HT_Std_Media_Validator> HT_XOM_Plotter_Class_Factory::HD_Create_Media_Validator(
    HT_Std_Plotter_Definition* definition) {
    return MakeOrNull<HT_XOM_Media_Validator>(definition);
}
SPMP<HT_Std_ResColorMem_Validator> HT_XOM_Plotter_Class_Factory::HD_Create_ResColorMem_Validator(
    HT_Std_Plotter_Definition* definition) {
    return MakeOrNull<HT_XOM_ResColorMem_Validator>(definition);
}
SPMP<HT_Std_Custom_Validator> HT_XOM_Plotter_Class_Factory::HD_Create_Custom_Validator(
    HT_Std_Plotter_Definition* definition) {
    return MakeOrNull<HT_XOM_Custom_Validator>(definition);
}
SPMP<HT_Std_Plotter_IO_Validator> HT_XOM_Plotter_Class_Factory::HD_Create_Plotter_IO_Validator(
    HT_Std_Plotter_Definition* definition) {
    return MakeOrNull<HT_XOM_Plotter_IO_Validator>(definition);
}

HT_Std_Plotter_Class_Factory* HD_Create_Class_Factory(void) {
    return new (std::nothrow) HT_XOM_Plotter_Class_Factory;
}
