#pragma once
// The host's per-printer configuration, kept by xomplot in a file of its own: one file per
// configured printer, $XDG_CONFIG_HOME/xomplot/printers/<name>.conf (else ~/.config/...).
//
// Format: UTF-8 text, one "KEY = VALUE" per line; '#' starts a comment line; in values "\\",
// "\n", "\r" and "\t" stand for a backslash, LF, CR and tab. Keys are the driver's settings keys
// (declared by its DRC data) and the host's own choices "media", "resolution" and "color_mode".
// The file may hold passwords and a PIN: it is created readable by its owner only, and replaced
// as a whole (write a temporary file, then rename), so a crash never leaves half a configuration.
#include <string>
#include <utility>
#include <vector>

#include "hdi/HT_Plotter_Parts.h"

namespace xomplot {

struct PrinterConfig {
    // In file order; a key appears once (a later line replaces an earlier one).
    std::vector<std::pair<std::string, std::string>> items;

    const std::string* find(const std::string& key) const;
    void set(const std::string& key, const std::string& value);
};

// The host's own keys (everything else must be a driver key declared by the DRC data).
bool IsHostConfigKey(const std::string& key);

// Letters, digits, '.', '_' and '-', not starting with '.', at most 100 characters.
bool IsValidConfigName(const std::string& name);
std::string ConfigDirectory();
std::string ConfigPath(const std::string& name);
// Names of the configurations in the directory, sorted.
std::vector<std::string> ListConfigNames();

// Parses what it can; each line it cannot take adds "<source>:<line>: <reason>" to problems.
PrinterConfig ParsePrinterConfig(const std::string& text, const std::string& source,
                                 std::vector<std::string>& problems);
// false (with the reason) when the file cannot be read at all.
bool ReadPrinterConfig(const std::string& path, PrinterConfig& config,
                       std::vector<std::string>& problems, std::string& error);
std::string FormatPrinterConfig(const PrinterConfig& config, const std::string& name);
bool WritePrinterConfig(const std::string& path, const PrinterConfig& config,
                        const std::string& name, std::string& error);

// Checks one key and value against the driver's declared items: an unknown key, or a value that
// is not a whole 32-bit number for a "long" item, gives the reason; empty when it is fine.
std::string CheckConfigItem(const HT_Std_Plotter_Capabilities& caps, const std::string& key,
                            const std::string& value);
// The driver items of the configuration as custom data of the host configuration; items that do
// not pass CheckConfigItem are left out with a problem each.
void ApplyPrinterConfig(const PrinterConfig& config, const HT_Std_Plotter_Capabilities& caps,
                        HT_Std_Plotter_Configuration& target, const std::string& source,
                        std::vector<std::string>& problems);

}  // namespace xomplot
