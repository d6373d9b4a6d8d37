#pragma once
// Values a host hands over for one plot only, as configuration items that are not settings keys:
// "JobPin" (the PIN the plot-time prompt would ask for). Read when present; never created or
// stored. A PIN typed at plot time (the current PIN) takes precedence.
#include "Common/XomSettings/DriverSettings.h"
#include "hdi/HT_Plotter_Definition.h"

inline constexpr const wchar_t* kPlotTimePinItem = L"JobPin";

void TakePlotTimeValues(DriverSettings& record, const HT_Std_Plotter_Definition& host);
