#pragma once
// Where the plot gets the linked printer's data from: the printer itself over SNMP, unless a
// reader is installed here (tests of the device give their printer data this way).
#include <functional>
#include <memory>

#include "juxcommoncode/PrinterData/XomMachine.h"

// Returns the printer's data, or null when it cannot be read.
using PrinterDataReader = std::function<std::unique_ptr<CXomPrinterData>(const CXomMachine&)>;

// Installs a reader and returns the previous one; an empty reader removes it.
PrinterDataReader SetPrinterDataReader(PrinterDataReader reader);
bool HasPrinterDataReader();

// Attaches the current printer's data when it has none and a reader gives some; true when the
// current printer then has printer data.
bool ReadCurrentPrinterData();
