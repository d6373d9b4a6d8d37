#pragma once
// "xomplot config list | show NAME | set NAME KEY VALUE": the host's per-printer configurations.
// Keys and types are checked against the driver's DRC data.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace xomplot {

// Each returns the exit status (0, or 1 with the reason on err).
int ConfigList(std::FILE* out, std::FILE* err);
int ConfigShow(const std::string& driverPath, const std::string& name, std::FILE* out,
               std::FILE* err);
int ConfigSet(const std::string& driverPath, const std::string& name, const std::string& key,
              const std::string& value, std::FILE* out, std::FILE* err);
// Checks every item, then writes them all at once (none when one is refused).
int ConfigSetItems(const std::string& driverPath, const std::string& name,
                   const std::vector<std::pair<std::string, std::string>>& items, std::FILE* out,
                   std::FILE* err);

}  // namespace xomplot
