#pragma once
// "xomplot config list | show NAME | set NAME KEY VALUE": the host's per-printer configurations.
// Keys and types are checked against the driver's DRC data.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace xomplot {

struct PrinterConfig;

// Each returns the exit status (0, or 1 with the reason on err).
int ConfigList(std::FILE* out, std::FILE* err);
int ConfigShow(const std::string& driverPath, const std::string& name, std::FILE* out,
               std::FILE* err);
int ConfigSet(const std::string& driverPath, const std::string& name, const std::string& key,
              const std::string& value, std::FILE* out, std::FILE* err);
// Checks every item, then writes them all at once (none when one is refused).
// Reads the stored configuration at path before it is changed and written again: an absent file
// is an empty configuration; items that cannot be read are named on err as dropped. False, with
// the reason on err, when the file cannot be read at all.
bool ReadConfigForUpdate(const std::string& path, PrinterConfig& config, std::FILE* err);
int ConfigSetItems(const std::string& driverPath, const std::string& name,
                   const std::vector<std::pair<std::string, std::string>>& items, std::FILE* out,
                   std::FILE* err);

}  // namespace xomplot
