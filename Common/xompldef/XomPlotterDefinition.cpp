#include "Common/xompldef/XomPlotterDefinition.h"

HT_XOM_Plotter_Definition::HT_XOM_Plotter_Definition(HT_Error_Handler* error_handler,
                                                     XOM_Driver* device)
    : HT_Std_Plotter_Definition(error_handler), m_device(device) {}

HT_XOM_Plotter_Definition::~HT_XOM_Plotter_Definition() = default;
