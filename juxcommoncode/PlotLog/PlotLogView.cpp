#include "juxcommoncode/PlotLog/PlotLogView.h"

namespace JuxNetwork {

void AppendListText(std::vector<std::wstring>& lines, const std::wstring& text) {
    if (lines.empty()) lines.emplace_back();
    std::size_t start = 0;
    for (;;) {
        const std::size_t brk = text.find(L'\n', start);
        lines.back().append(text, start,
                            brk == std::wstring::npos ? std::wstring::npos : brk - start);
        if (brk == std::wstring::npos) break;
        lines.emplace_back();
        start = brk + 1;
    }
}

void AppendPlotLogView(std::vector<std::wstring>& lines, const PlotLog& log,
                       const StringLoader& labels) {
    const auto& records = log.GetRecords();
    if (records.empty()) return;
    lines.emplace_back();
    lines.emplace_back(69, L'-');
    lines.emplace_back();
    AppendListText(lines, L"\n" + LoadPlotLogString(labels, kIdsRecentPlotLog));
    int number = 1;
    for (auto it = records.rbegin(); it != records.rend(); ++it, ++number) {
        std::wstring text = L"\n" + std::to_wstring(number) + L":";
        it->AppendDump(text, labels);
        AppendListText(lines, text);
    }
}

std::vector<std::wstring> PlotLogViewLines(const PlotLog& log, const StringLoader& labels) {
    std::vector<std::wstring> lines;
    AppendPlotLogView(lines, log, labels);
    return lines;
}

}  // namespace JuxNetwork
