#pragma once
// "xomplot config edit NAME": the driver's own settings dialog on the configuration NAME, as the
// host's configuration editor opens it; OK saves what the dialog stored, Cancel saves nothing.
#include <cstdio>
#include <string>

#include "hdi/HT_Plotter_Parts.h"
#include "tools/xomplot/PrinterConfig.h"

namespace xomplot {

// Exit status 0 when saved, 3 when the dialog was cancelled (or not shown), 69 when no display is
// available (nothing is opened), 1 for any other failure (the driver, the configuration file).
inline constexpr int kExitNoDisplay = 69;
int ConfigEdit(const std::string& driverPath, const std::string& name, std::FILE* out,
               std::FILE* err);

// Writes the driver items of the host configuration into config, as `config set` writes them.
void TakeCustomItems(const HT_Std_Plotter_Configuration& source, PrinterConfig& config);

}  // namespace xomplot
