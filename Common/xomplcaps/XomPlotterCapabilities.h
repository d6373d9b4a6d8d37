#pragma once
// The driver's plotter capabilities: the standard capabilities with every part made by the
// driver's class factory. Their content (media, resolutions, colour modes, custom items) comes
// from the DRC loader afterwards.
#include "Common/XOM/Export.h"
#include "hdi/HT_Plotter_Definition.h"

class XOM_EXPORT_CLASS HT_XOM_Plotter_Capabilities : public HT_Std_Plotter_Capabilities {
  public:
    // Through a new driver class factory; throws HT_Error (item "pCF") when none can be made.
    HT_XOM_Plotter_Capabilities();
    // Through the given factory; a part it does not make throws HT_Error
    // 37 naming the part ("pMediaCaps" ... "pCustomCaps").
    explicit HT_XOM_Plotter_Capabilities(const SPMP<HT_Std_Plotter_Class_Factory>& factory);
};
