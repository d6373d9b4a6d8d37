#include "juxcommoncode/PlotLog/PlotLogStrings.h"

namespace JuxNetwork {

std::wstring DefaultPlotLogString(unsigned id) {
    switch (id) {
        case kIdsPrinter:
            return L"Printer";
        case kIdsRecentPlotLog:
            return L"Recent Plot Log";
        case kIdsDrawing:
            return L"Drawing";
        case kIdsByteCount:
            return L"Byte Count";
        case kIdsDateAndTime:
            return L"Date and Time";
        case kIdsDestination:
            return L"Destination";
        case kIdsStatus:
            return L"Status";
        default:
            return std::wstring();
    }
}

std::wstring LoadPlotLogString(const StringLoader& loader, unsigned id) {
    return loader ? loader(id) : DefaultPlotLogString(id);
}

}  // namespace JuxNetwork
