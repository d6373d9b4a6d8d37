#include "juxcommoncode/PlotLog/PlotLogPath.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "juxcommoncode/JuxSerialize/MultibyteText.h"

namespace JuxNetwork {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string BaseFolder() {
    // A relative XDG_DATA_HOME is invalid by its own definition and ignored.
    if (std::string xdg = Env("XDG_DATA_HOME"); !xdg.empty() && xdg.front() == '/') return xdg;
    if (std::string home = Env("HOME"); !home.empty()) return home + "/.local/share";
    for (const char* name : {"TMPDIR", "TEMP", "TMP"}) {
        if (std::string dir = Env(name); !dir.empty()) return dir;
    }
    return "/tmp";
}

bool IsDirectory(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

}  // namespace

std::wstring GetPlotLogPath() {
    std::string folder = BaseFolder();
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    folder += '/';

    std::string sub = folder + WideToMultibyte(kPlotLogFolderName) + '/';
    if (!IsDirectory(sub)) {
        std::error_code ec;
        std::filesystem::create_directories(sub, ec);
    }
    if (IsDirectory(sub)) folder = sub;

    if (folder.empty()) return std::wstring();
    return MultibyteToWide(folder) + kPlotLogFileName;
}

}  // namespace JuxNetwork
