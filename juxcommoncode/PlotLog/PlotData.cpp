#include "juxcommoncode/PlotLog/PlotData.h"

#include <cwchar>

#include "juxcommoncode/JuxSerialize/JuxFieldIO.h"
#include "juxcommoncode/JuxSerialize/JuxTextField.h"

namespace JuxNetwork {

HRESULT CPlotData::Serialize(CJuxSerializer& ar) {
    HRESULT hr = SerializeText(ar, m_drawing);
    if (Succeeded(hr)) hr = SerializeUInt64(ar, m_byteCount);
    if (Succeeded(hr)) hr = SerializeText(ar, m_dateTime);
    if (Succeeded(hr)) hr = SerializeText(ar, m_printer);
    if (Succeeded(hr)) hr = SerializeText(ar, m_destination);
    if (Succeeded(hr)) hr = SerializeText(ar, m_status);
    return hr;
}

void CPlotData::AppendDump(std::wstring& text, const StringLoader& labels) const {
    auto line = [&](unsigned id, const std::wstring& value) {
        text += L"\n   ";
        text += LoadPlotLogString(labels, id);
        text += L": ";
        text += value;
    };
    line(kIdsDateAndTime, m_dateTime);
    line(kIdsDrawing, m_drawing);
    line(kIdsPrinter, m_printer);
    line(kIdsDestination, m_destination);
    line(kIdsByteCount, std::to_wstring(static_cast<std::uint32_t>(m_byteCount)));
    line(kIdsStatus, m_status);
}

std::wstring FormatPlotDateTime(const std::tm& localTime) {
    wchar_t buffer[64];
    std::swprintf(buffer, sizeof buffer / sizeof buffer[0], L"%04d-%02d-%02d %02d:%02d:%02d",
                  localTime.tm_year + 1900, localTime.tm_mon + 1, localTime.tm_mday,
                  localTime.tm_hour, localTime.tm_min, localTime.tm_sec);
    return buffer;
}

}  // namespace JuxNetwork
