#include "tools/xomplot/PlotLogAccess.h"

#include <dlfcn.h>

#include <algorithm>
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

std::optional<std::wstring> PlotLogStatusSource::last_plot_status(const std::wstring& drawing,
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
        if (status && *status != record.m_status) return std::nullopt;  // cannot tell which
        status = record.m_status;
    }
    return status;
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

std::vector<std::wstring> PlotLogLines(const std::string& driver_path,
                                       const std::string& log_path) {
    JuxNetwork::PlotLog log = log_path.empty()
                                  ? JuxNetwork::PlotLog()
                                  : JuxNetwork::PlotLog(xomplatform::FromUtf8(log_path));
    log.Load();
    return JuxNetwork::PlotLogViewLines(log, DriverStringLoader(driver_path));
}

}  // namespace xomplot
