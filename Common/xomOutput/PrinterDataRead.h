#pragma once
// Reading the linked printer's data over SNMP into the current printer record, and the wake-up
// retries around it that the plot and the settings use.
#include "juxcommoncode/JuxSerialize/ResultCodes.h"
#include "juxcommoncode/PrinterData/XomMachine.h"

// Reads the printer data of printer (the current one, normally) afresh: 0 with the data attached
// and its identity copied into the record; otherwise an error code and no data attached. A printer
// without an address loses its data; no adapter reaching it says "Network is not available.".
JuxNetwork::HRESULT ReadPrinterData(CXomMachine& printer);

// Reads up to maxReads times, sending a wake-up packet to the printer's MAC address before each
// further read; without a MAC address (or when no packet can be sent) one read is all. Returns the
// number of reads made; the data is attached when the last one succeeded.
int ReadPrinterDataWakingIt(CXomMachine& printer, int maxReads = 8);
