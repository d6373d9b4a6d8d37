#include "Common/XomSettings/PlotTimeValues.h"

void TakePlotTimeValues(DriverSettings& record, const HT_Std_Plotter_Definition& host) {
    const HT_Std_Plotter_Configuration* config = host.get_plotter_configuration();
    if (config == nullptr || !record.JobPin.empty()) return;
    const HT_Custom_Config_Item* pin = config->custom_items().find(kPlotTimePinItem);
    if (pin != nullptr && pin->data && !pin->data->is_long())
        record.JobPin = static_cast<const HT_Std_String_Custom_Data&>(*pin->data).data();
}
