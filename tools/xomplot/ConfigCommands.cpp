#include "tools/xomplot/ConfigCommands.h"

#include <filesystem>
#include <vector>

#include "hdi/PM_DRC_Caps_Loader.h"
#include "platform/Utf8.h"
#include "tools/xomplot/PlotRun.h"
#include "tools/xomplot/PrinterConfig.h"

namespace xomplot {

namespace {

bool LoadDriverCaps(const std::string& driverPath, HT_Std_Plotter_Capabilities& caps,
                    std::FILE* err) {
    std::string error;
    SPMP<PM_DRC_Caps_Loader> loader(new PM_DRC_Caps_Loader(nullptr));
    if (loader->load(DrcPath(driverPath), caps, error)) return true;
    std::fprintf(err, "xomplot: %s\n", error.c_str());
    return false;
}

bool CheckName(const std::string& name, std::FILE* err) {
    if (IsValidConfigName(name)) return true;
    std::fprintf(err,
                 "xomplot: '%s' is not a configuration name (letters, digits, '.', '_', '-')\n",
                 name.c_str());
    return false;
}

bool IsSecret(const std::string& key) {
    return key.find("Password") != std::string::npos;
}

}  // namespace

int ConfigList(std::FILE* out, std::FILE*) {
    const std::vector<std::string> names = ListConfigNames();
    if (names.empty()) std::fprintf(out, "No configurations in %s\n", ConfigDirectory().c_str());
    for (const auto& n : names) std::fprintf(out, "%s\n", n.c_str());
    return 0;
}

int ConfigShow(const std::string& driverPath, const std::string& name, std::FILE* out,
               std::FILE* err) {
    if (!CheckName(name, err)) return 1;
    HT_Std_Plotter_Capabilities caps;
    if (!LoadDriverCaps(driverPath, caps, err)) return 1;
    PrinterConfig config;
    std::vector<std::string> problems;
    std::string error;
    if (!ReadPrinterConfig(ConfigPath(name), config, problems, error)) {
        std::fprintf(err, "xomplot: no configuration '%s' (%s)\n", name.c_str(), error.c_str());
        return 1;
    }
    for (const auto& p : problems) std::fprintf(err, "xomplot: %s\n", p.c_str());
    for (const auto& [key, value] : config.items) {
        if (const std::string reason = CheckConfigItem(caps, key, value); !reason.empty())
            std::fprintf(err, "xomplot: %s: %s\n", name.c_str(), reason.c_str());
    }
    auto show = [&](const std::string& key, const std::string& fallback) {
        const std::string* value = config.find(key);
        if (value == nullptr) {
            std::fprintf(out, "%-24s %s (default)\n", key.c_str(), fallback.c_str());
        } else if (IsSecret(key) && !value->empty()) {
            std::fprintf(out, "%-24s ******** (set)\n", key.c_str());
        } else {
            std::fprintf(out, "%-24s %s\n", key.c_str(), value->c_str());
        }
    };
    show("media", xomplatform::ToUtf8(caps.default_media()));
    show("resolution", xomplatform::ToUtf8(caps.default_resolution()));
    show("color_mode", xomplatform::ToUtf8(caps.default_color_mode()));
    for (const auto& item : caps.get_custom_capabilities()->items)
        show(xomplatform::ToUtf8(item.key), xomplatform::ToUtf8(item.default_value));
    return 0;
}

int ConfigSet(const std::string& driverPath, const std::string& name, const std::string& key,
              const std::string& value, std::FILE* out, std::FILE* err) {
    return ConfigSetItems(driverPath, name, {{key, value}}, out, err);
}

bool ReadConfigForUpdate(const std::string& path, PrinterConfig& config, std::FILE* err) {
    std::vector<std::string> problems;
    std::string error;
    if (std::filesystem::exists(path) && !ReadPrinterConfig(path, config, problems, error)) {
        std::fprintf(err, "xomplot: %s\n", error.c_str());
        return false;
    }
    for (const auto& p : problems) std::fprintf(err, "xomplot: %s (dropped)\n", p.c_str());
    return true;
}

int ConfigSetItems(const std::string& driverPath, const std::string& name,
                   const std::vector<std::pair<std::string, std::string>>& items, std::FILE* out,
                   std::FILE* err) {
    if (!CheckName(name, err)) return 1;
    HT_Std_Plotter_Capabilities caps;
    if (!LoadDriverCaps(driverPath, caps, err)) return 1;
    for (const auto& [key, value] : items) {
        if (const std::string reason = CheckConfigItem(caps, key, value); !reason.empty()) {
            std::fprintf(err, "xomplot: %s (see xomplot config show %s)\n", reason.c_str(),
                         name.c_str());
            return 1;
        }
        const bool known =
            (key == "media" && caps.find_media(xomplatform::FromUtf8(value))) ||
            (key == "resolution" && caps.find_resolution(xomplatform::FromUtf8(value))) ||
            (key == "color_mode" && caps.find_color_mode(xomplatform::FromUtf8(value)));
        if (IsHostConfigKey(key) && !known) {
            std::fprintf(err, "xomplot: unknown %s '%s' (see xomplot --list)\n", key.c_str(),
                         value.c_str());
            return 1;
        }
    }
    const std::string path = ConfigPath(name);
    PrinterConfig config;
    if (!ReadConfigForUpdate(path, config, err)) return 1;
    std::string error;
    // Every item or none: the file is written once.
    for (const auto& [key, value] : items) config.set(key, value);
    if (!WritePrinterConfig(path, config, name, error)) {
        std::fprintf(err, "xomplot: %s\n", error.c_str());
        return 1;
    }
    for (const auto& item : items)
        std::fprintf(out, "%s: %s set\n", name.c_str(), item.first.c_str());
    return 0;
}

}  // namespace xomplot
