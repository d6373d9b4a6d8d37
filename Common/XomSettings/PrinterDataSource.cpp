#include "Common/XomSettings/PrinterDataSource.h"

#include "Common/XOM/DriverApp.h"

namespace {
PrinterDataReader& Reader() {
    static PrinterDataReader reader;
    return reader;
}
}  // namespace

PrinterDataReader SetPrinterDataReader(PrinterDataReader reader) {
    PrinterDataReader previous = std::move(Reader());
    Reader() = std::move(reader);
    return previous;
}

bool HasPrinterDataReader() {
    return static_cast<bool>(Reader());
}

bool ReadCurrentPrinterData() {
    CXomMachine& printer = theApp().currentPrinter();
    if (printer.m_printerData == nullptr && Reader() && !printer.m_address.IsUnspecified())
        printer.m_printerData = Reader()(printer);
    return printer.m_printerData != nullptr;
}
