#include "Common/XomSettings/SettingsKeys.h"

#include <gtest/gtest.h>

#include <set>

#include "hdi/PM_DRC_Caps_Loader.h"

namespace {

TEST(SettingsKeys, LoadAndStoreCoverTheSameThirtySixKeys) {
    std::set<std::wstring> load, store;
    for (const auto& k : SettingsLoadOrder()) load.insert(k.name);
    for (const auto& k : SettingsStoreOrder()) store.insert(k.name);
    EXPECT_EQ(SettingsLoadOrder().size(), 36u);
    EXPECT_EQ(load.size(), 36u);
    EXPECT_EQ(load, store);
    // The store order differs from the load order only where LogFilePath sits.
    EXPECT_EQ(SettingsStoreOrder()[33].name, std::wstring(L"LogFilePath"));
}

TEST(SettingsKeys, FindByName) {
    ASSERT_NE(FindSettingsKey(L"UserPrintSecurity"), nullptr);
    EXPECT_FALSE(FindSettingsKey(L"UserPrintSecurity")->isText);
    EXPECT_TRUE(FindSettingsKey(L"MachineName")->isText);
    EXPECT_EQ(FindSettingsKey(L"machinename"), nullptr);
    EXPECT_EQ(FindSettingsKey(L"JobPin"), nullptr);
}

// Every build's DRC data declares every key, with its type and a default that leaves the
// printer's own behaviour (0 or an empty text).
TEST(SettingsKeys, EveryBuildsDrcDataDeclaresEveryKeyWithANeutralDefault) {
    for (const char* build : {"xomq15", "xomq14", "xomq13", "xomq12"}) {
        SCOPED_TRACE(build);
        const std::string path = std::string(XOM_DRIVER_DIR) + "/en-US/" + build + ".drc";
        HT_Std_Plotter_Capabilities caps;
        std::string error;
        SPMP<PM_DRC_Caps_Loader> loader(new PM_DRC_Caps_Loader(nullptr));
        ASSERT_TRUE(loader->load(path, caps, error)) << error;
        for (const SettingsKey& k : SettingsLoadOrder()) {
            const HT_Custom_Item* item = caps.find_custom(k.name);
            ASSERT_NE(item, nullptr) << std::string(k.name, k.name + wcslen(k.name));
            EXPECT_EQ(item->type, k.isText ? L"string" : L"long");
            EXPECT_EQ(item->default_value, k.isText ? L"" : L"0");
        }
    }
}

}  // namespace
