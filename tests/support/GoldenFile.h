#pragma once
// Golden files: compared byte for byte; with XOM_UPDATE_GOLDEN=1 in the environment they are
// rewritten from the actual bytes instead (and the check is reported as skipped-by-update).
#include <string>

void ExpectMatchesGoldenFile(const std::string& actual, const std::string& path);
