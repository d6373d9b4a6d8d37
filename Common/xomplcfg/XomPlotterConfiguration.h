#pragma once
// The driver's plotter configuration: the standard configuration with every part made by the
// driver's class factory.
#include "Common/XOM/Export.h"
#include "hdi/HT_Plotter_Definition.h"

class XOM_EXPORT_CLASS HT_XOM_Plotter_Configuration : public HT_Std_Plotter_Configuration {
  public:
    // Through a new driver class factory; throws HT_Error (item "pCF") when none can be made.
    HT_XOM_Plotter_Configuration();
    // Through the given factory; a part it does not make throws HT_Error
    // 37 naming the part ("pMediaCfg" ... "pCustomCfg").
    explicit HT_XOM_Plotter_Configuration(const SPMP<HT_Std_Plotter_Class_Factory>& factory);
};
