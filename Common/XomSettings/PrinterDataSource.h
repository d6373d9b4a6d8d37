#pragma once
// Where the plot gets the linked printer's data from. Reading it from the printer over SNMP
// arrives with the network subsystem; until then no reader is installed and a plot knows no
// printer data (the job ticket is then left out, as for a printer that does not answer). Tests
// and hosts may install a reader.
#include <functional>
#include <memory>

#include "juxcommoncode/PrinterData/XomMachine.h"

// Returns the printer's data, or null when it cannot be read.
using PrinterDataReader = std::function<std::unique_ptr<CXomPrinterData>(const CXomMachine&)>;

// Installs a reader and returns the previous one; an empty reader removes it.
PrinterDataReader SetPrinterDataReader(PrinterDataReader reader);

// Attaches the current printer's data when it has none and a reader gives some; true when the
// current printer then has printer data.
bool ReadCurrentPrinterData();
