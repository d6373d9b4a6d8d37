#include "Common/XomSettings/SettingsStore.h"

#include <gtest/gtest.h>

#include "Common/XOM/DriverApp.h"
#include "Common/XomSettings/SettingsKeys.h"

namespace {

// A definition whose capabilities declare every key (as the DRC data does), with a few
// recognisable defaults, and whose configuration starts empty.
class HostConfiguration : public testing::Test {
  protected:
    void SetUp() override {
        SPMP<HT_Std_Plotter_Capabilities> caps(new HT_Std_Plotter_Capabilities);
        for (const SettingsKey& k : SettingsLoadOrder())
            caps->get_custom_capabilities()->items.push_back(
                {k.name, k.isText ? L"string" : L"long", L""});
        for (auto& item : caps->get_custom_capabilities()->items) {
            if (item.type == L"long") item.default_value = L"0";
            if (item.key == L"Brightness") item.default_value = L"-20";
            if (item.key == L"MachineSnmpCommunity") item.default_value = L"public";
        }
        definition = SPMP<HT_Std_Plotter_Definition>(new HT_Std_Plotter_Definition(nullptr));
        definition->set_plotter_capabilities(caps);
        definition->set_plotter_configuration(
            SPMP<HT_Std_Plotter_Configuration>(new HT_Std_Plotter_Configuration));
        theApp().currentPrinter().Reset();
        theApp().workingPrinter().Reset();
        theApp().currentPin().clear();
    }
    HT_Custom_Config_List& items() {
        return definition->get_plotter_configuration()->custom_items();
    }
    SPMP<HT_Std_Plotter_Definition> definition;
};

TEST_F(HostConfiguration, ALoadCreatesEveryMissingKeyInLoadOrderWithItsDefault) {
    DriverSettings record;
    LoadSettings(record, *definition);
    const auto& order = SettingsLoadOrder();
    ASSERT_EQ(items().size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(items().items()[i].name, order[i].name) << i;
    EXPECT_EQ(order.front().name, std::wstring(L"LogFilePath"));
    EXPECT_EQ(record.Brightness, -20);
    EXPECT_EQ(record.MachineSnmpCommunity, L"public");
    // A second load finds them and adds nothing.
    LoadSettings(record, *definition);
    EXPECT_EQ(items().size(), order.size());
}

TEST_F(HostConfiguration, GetReadsStoredValuesAndTheUnderscoreAsEmpty) {
    SetTextSetting(*definition, L"UserName", L"_");
    SetTextSetting(*definition, L"MediaName", L"__");
    SetLongSetting(*definition, L"PrintExit", 3);
    EXPECT_EQ(GetTextSetting(*definition, L"UserName"), L"");
    EXPECT_EQ(GetTextSetting(*definition, L"MediaName"), L"__");
    EXPECT_EQ(GetLongSetting(*definition, L"PrintExit"), 3);
    // An empty text is stored as it is.
    SetTextSetting(*definition, L"UserName", L"");
    const auto* item = items().find(L"UserName");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(static_cast<const HT_Std_String_Custom_Data&>(*item->data).data(), L"");
}

TEST_F(HostConfiguration, KeysDeclaredNowhereReadZeroOrEmptyAndAreNotCreated) {
    EXPECT_EQ(GetLongSetting(*definition, L"NoSuchKey"), 0);
    EXPECT_EQ(GetTextSetting(*definition, L"NoSuchKey"), L"");
    EXPECT_EQ(items().find(L"NoSuchKey"), nullptr);
    // An item of the other type does not read as garbage.
    SetTextSetting(*definition, L"PrintExit", L"3");
    EXPECT_EQ(GetLongSetting(*definition, L"PrintExit"), 0);
}

TEST_F(HostConfiguration, StoreWritesEveryKeyAndALoadReadsTheSameRecordBack) {
    DriverSettings record;
    LoadSettings(record, *definition);
    record.UserName = L"jdoe";
    record.AcctInfo1ValidPassword = L"p\u00E4ss";
    record.PrintExit = 4;
    record.UserPrintSecurity = 1;
    record.LogFilePath = L"/var/log/x";
    theApp().currentPrinter().m_address.Set(L"192.168.1.20:9100");
    theApp().currentPrinter().m_sysName = L"Q-1";
    theApp().currentPrinter().m_physicalAddress = {0x00, 0x1A, 0x2B};
    StoreSettings(record, *definition);
    EXPECT_EQ(record.MachineIpAddress, L"192.168.1.20");
    EXPECT_EQ(record.MachineMacAddress, L"00-1A-2B");

    DriverSettings again;
    LoadSettings(again, *definition);
    EXPECT_EQ(again.UserName, L"jdoe");
    EXPECT_EQ(again.AcctInfo1ValidPassword, L"p\u00E4ss");
    EXPECT_EQ(again.PrintExit, 4);
    EXPECT_EQ(again.UserPrintSecurity, 1);
    EXPECT_EQ(again.LogFilePath, L"/var/log/x");
    EXPECT_EQ(again.MachineName, L"Q-1");
    EXPECT_EQ(theApp().currentPrinter().m_address.ToText(), L"192.168.1.20");
}

TEST_F(HostConfiguration, StoringWithoutPrinterDataWritesColorModeOne) {
    DriverSettings record;
    LoadSettings(record, *definition);
    StoreSettings(record, *definition);
    EXPECT_EQ(GetLongSetting(*definition, L"ColorMode"), 1);
    theApp().currentPrinter().m_printerData = std::make_unique<CXomPrinterData>();
    theApp().currentPrinter().m_printerData->m_processColorants = 4;
    StoreSettings(record, *definition);
    EXPECT_EQ(GetLongSetting(*definition, L"ColorMode"), 0);
}

TEST_F(HostConfiguration, AnIpv6AddressStoresWithoutScopeAndPort) {
    DriverSettings record;
    LoadSettings(record, *definition);
    ASSERT_TRUE(theApp().currentPrinter().m_address.Set(L"[fe80::1%4]:9100"));
    StoreSettings(record, *definition);
    EXPECT_EQ(GetTextSetting(*definition, L"MachineIpAddress"), L"fe80::1");
}

TEST_F(HostConfiguration, LoadResetsTheCurrentPrinterAndItsWorkingCopy) {
    SetTextSetting(*definition, L"MachineIpAddress", L"10.1.2.3");
    SetTextSetting(*definition, L"MachineMacAddress", L"1-2-300");
    SetTextSetting(*definition, L"MachineName", L"Q");
    theApp().currentPrinter().m_printerData = std::make_unique<CXomPrinterData>();
    theApp().workingPrinter().m_printerData = std::make_unique<CXomPrinterData>();
    DriverSettings record;
    LoadSettings(record, *definition);
    const CXomMachine& p = theApp().currentPrinter();
    EXPECT_EQ(p.m_printerData, nullptr);
    EXPECT_EQ(p.m_address.ToText(), L"10.1.2.3");
    EXPECT_EQ(p.m_physicalAddress, (OctetArray{1, 2, 0xFF}));
    EXPECT_EQ(theApp().workingPrinter().m_printerData, nullptr);
    EXPECT_EQ(theApp().workingPrinter().m_sysName, L"Q");
    EXPECT_EQ(theApp().workingPrinter().m_address, p.m_address);
    StoreSettings(record, *definition);
    EXPECT_EQ(GetTextSetting(*definition, L"MachineMacAddress"), L"01-02-FF");
}

TEST_F(HostConfiguration, AnAddressThatDoesNotParseLeavesThePrinterUnspecified) {
    SetTextSetting(*definition, L"MachineIpAddress", L"printer.example");
    DriverSettings record;
    LoadSettings(record, *definition);
    EXPECT_TRUE(theApp().currentPrinter().m_address.IsUnspecified());
}

TEST_F(HostConfiguration, ThePinTravelsBetweenRecordAndCurrentPin) {
    DriverSettings record;
    record.JobPin = L"4711";
    LoadSettings(record, *definition);
    EXPECT_EQ(record.JobPin, L"");  // taken from the (empty) current PIN
    record.JobPin = L"4711";
    StoreSettings(record, *definition);
    EXPECT_EQ(theApp().currentPin(), L"4711");
    DriverSettings next;
    LoadSettings(next, *definition);
    EXPECT_EQ(next.JobPin, L"4711");
    EXPECT_EQ(items().find(L"JobPin"), nullptr);  // never persisted
}

TEST_F(HostConfiguration, RasterChoicesComeFromTheHostConfiguration) {
    HT_Std_Plotter_Configuration& config = *definition->get_plotter_configuration();
    config.raster_opaque = false;
    config.raster_enabled = 0;
    config.raster_enabled_kind1 = 2;
    DriverSettings record;
    LoadSettings(record, *definition);
    EXPECT_TRUE(record.MergeControl);
    EXPECT_EQ(record.RasterEnabled, 0);
    EXPECT_EQ(record.RasterEnabledKind1, 2);
}

TEST_F(HostConfiguration, ANewConfigurationKeepsImagesAtFullResolution) {
    // Levels 1-5 are draft levels that coarsen images (level 1 twenty-fold); a configuration
    // nobody has touched must not.
    DriverSettings record;
    LoadSettings(record, *definition);
    EXPECT_GT(record.RasterEnabled, 5);
    EXPECT_GT(record.RasterEnabledKind1, 5);
}

}  // namespace
