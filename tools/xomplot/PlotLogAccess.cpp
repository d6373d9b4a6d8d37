#include "tools/xomplot/PlotLogAccess.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <iterator>
#include <memory>

#include "juxcommoncode/PlotLog/PlotLog.h"
#include "juxcommoncode/PlotLog/PlotLogView.h"
#include "platform/MessageService.h"
#include "resources/ResourceLibrary.h"

namespace xomplot {
namespace {

bool SameRecord(const JuxNetwork::CPlotData& a, const JuxNetwork::CPlotData& b) {
    return a.m_drawing == b.m_drawing && a.m_byteCount == b.m_byteCount &&
           a.m_dateTime == b.m_dateTime && a.m_printer == b.m_printer &&
           a.m_destination == b.m_destination && a.m_status == b.m_status;
}

// The driver's built-in texts, the fallback of its string loader.
std::wstring BuiltInString(unsigned id) {
    static constexpr XomResString kBuiltIn[] = {
#define XOM_STRING(number, text) {number, text},
#include "resources/StringTable.inc"
#undef XOM_STRING
    };
    for (const XomResString& s : kBuiltIn)
        if (s.id == id) return s.text;
    return {};
}

std::string ResourceLibraryPath(const std::string& driver_path) {
    const auto slash = driver_path.find_last_of('/');
    const auto dot = driver_path.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? driver_path.substr(0, dot) : driver_path) + "Res.so";
}

}  // namespace

PlotLogStatusSource::PlotLogStatusSource() {
    JuxNetwork::PlotLog log;
    log.Load();
    m_before = log.GetRecords();
}

DriverStatusLookup PlotLogStatusSource::last_plot_status(const std::wstring& drawing,
                                                         const std::wstring& printer) {
    JuxNetwork::PlotLog log;
    log.Load();
    std::vector<JuxNetwork::CPlotData> old = m_before;
    std::optional<std::wstring> status;
    for (const auto& record : log.GetRecords()) {
        auto seen = std::find_if(old.begin(), old.end(), [&](const JuxNetwork::CPlotData& o) {
            return SameRecord(o, record);
        });
        if (seen != old.end()) {
            old.erase(seen);  // there before the plot
            continue;
        }
        if (record.m_drawing != drawing || record.m_printer != printer) continue;
        if (status && *status != record.m_status) return {std::nullopt, true};  // cannot tell which
        status = record.m_status;
    }
    return {status, false};
}

JuxNetwork::StringLoader DriverStringLoader(const std::string& driver_path) {
    void* handle = dlopen(ResourceLibraryPath(driver_path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return {};
    auto table = reinterpret_cast<XomRes_StringTable_Fn>(dlsym(handle, "XomRes_StringTable"));
    if (!table) {
        dlclose(handle);
        return {};
    }
    std::shared_ptr<void> library(handle, [](void* h) { dlclose(h); });
    return [library, table](unsigned id) -> std::wstring {
        std::size_t count = 0;
        const XomResString* entries = table(&count);
        const XomResString* end = entries + count;
        const XomResString* it = std::lower_bound(
            entries, end, id, [](const XomResString& e, unsigned wanted) { return e.id < wanted; });
        return it != end && it->id == id && it->text ? std::wstring(it->text) : std::wstring();
    };
}

StatusTexts DriverStatusTexts(const std::string& driver_path) {
    const JuxNetwork::StringLoader loader = DriverStringLoader(driver_path);
    auto text = [&](unsigned id) {
        if (!loader) return BuiltInString(id);
        std::wstring translated = loader(id);
        return translated.empty() ? BuiltInString(id) + L"." : translated;
    };
    return StatusTexts{text(219), text(218), text(215)};
}

std::wstring EscapeControls(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        const std::uint32_t u = c < 0 ? 0xFFFFFFFFU : static_cast<std::uint32_t>(c);
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0)) {
            wchar_t escaped[8];
            std::swprintf(escaped, std::size(escaped), L"\\x%02X", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

bool PlotLogLines(const std::string& driver_path, const std::string& log_path,
                  std::vector<std::wstring>& lines, std::wstring& error) {
    lines.clear();
    error.clear();
    JuxNetwork::PlotLog log = log_path.empty()
                                  ? JuxNetwork::PlotLog()
                                  : JuxNetwork::PlotLog(xomplatform::FromUtf8(log_path));
    if (JuxNetwork::Failed(log.Load())) {
        if (!log.NoFileYet() || !log_path.empty()) {
            error = log.NoFileYet() ? L"no plot log at " + xomplatform::FromUtf8(log_path)
                                    : log.GetErrorText();
            return false;
        }
    }
    for (const std::wstring& line :
         JuxNetwork::PlotLogViewLines(log, DriverStringLoader(driver_path)))
        lines.push_back(EscapeControls(line));
    return true;
}

}  // namespace xomplot
