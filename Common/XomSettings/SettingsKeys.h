#pragma once
// The persisted keys of DriverSettings, each with the field it fills, in the orders of load and
// store. The load order fixes the order in which missing items are created in the configuration.
#include <cstdint>
#include <string>
#include <vector>

#include "Common/XomSettings/DriverSettings.h"

struct SettingsKey {
    const wchar_t* name;
    bool isText;
    std::int32_t DriverSettings::*number;
    std::wstring DriverSettings::*text;
};

const std::vector<SettingsKey>& SettingsLoadOrder();
const std::vector<SettingsKey>& SettingsStoreOrder();
// The key of that name, or null.
const SettingsKey* FindSettingsKey(const std::wstring& name);
