#include "Common/XomSettings/SettingsStore.h"

#include "Common/XOM/DriverApp.h"
#include "Common/XomSettings/MacAddressText.h"
#include "Common/XomSettings/SettingsKeys.h"

namespace {

// The item of a key, created from the declared default when the configuration lacks it; null
// when the key is declared nowhere.
const HT_Custom_Config_Item* FindOrCreate(HT_Std_Plotter_Definition& host,
                                          const std::wstring& key) {
    HT_Std_Plotter_Configuration* config = host.get_plotter_configuration();
    if (config == nullptr) return nullptr;
    if (const HT_Custom_Config_Item* item = config->custom_items().find(key)) return item;
    const HT_Std_Plotter_Capabilities* caps = host.get_plotter_capabilities();
    const HT_Custom_Item* declared = caps ? caps->find_custom(key) : nullptr;
    if (declared == nullptr) return nullptr;
    config->custom_items().append({key, declared->default_data()});
    return config->custom_items().find(key);
}

void Replace(HT_Std_Plotter_Definition& host, const std::wstring& key, SPMP<HT_Custom_Data> data) {
    HT_Std_Plotter_Configuration* config = host.get_plotter_configuration();
    if (config == nullptr) return;
    if (HT_Custom_Config_Item* item = config->custom_items().find(key)) {
        item->data = std::move(data);
    } else {
        config->custom_items().append({key, std::move(data)});
    }
}

}  // namespace

std::int32_t GetLongSetting(HT_Std_Plotter_Definition& host, const std::wstring& key) {
    const HT_Custom_Config_Item* item = FindOrCreate(host, key);
    if (item == nullptr || !item->data || !item->data->is_long()) return 0;
    return static_cast<const HT_Std_Long_Custom_Data&>(*item->data).data();
}

std::wstring GetTextSetting(HT_Std_Plotter_Definition& host, const std::wstring& key) {
    const HT_Custom_Config_Item* item = FindOrCreate(host, key);
    if (item == nullptr || !item->data || item->data->is_long()) return {};
    const std::wstring& text = static_cast<const HT_Std_String_Custom_Data&>(*item->data).data();
    return text == L"_" ? std::wstring() : text;
}

void SetLongSetting(HT_Std_Plotter_Definition& host, const std::wstring& key, std::int32_t value) {
    Replace(host, key, SPMP<HT_Custom_Data>(new HT_Std_Long_Custom_Data(value)));
}

void SetTextSetting(HT_Std_Plotter_Definition& host, const std::wstring& key,
                    const std::wstring& text) {
    Replace(host, key, SPMP<HT_Custom_Data>(new HT_Std_String_Custom_Data(text)));
}

void LoadSettings(DriverSettings& record, HT_Std_Plotter_Definition& host) {
    for (const SettingsKey& k : SettingsLoadOrder()) {
        if (k.isText)
            record.*k.text = GetTextSetting(host, k.name);
        else
            record.*k.number = GetLongSetting(host, k.name);
    }
    if (const HT_Std_Plotter_Configuration* config = host.get_plotter_configuration()) {
        record.MergeControl = !config->raster_opaque;
        record.RasterEnabled = config->raster_enabled;
        record.RasterEnabledKind1 = config->raster_enabled_kind1;
    }

    CMfcdll1App& app = theApp();
    CXomMachine& printer = app.currentPrinter();
    printer.Reset();
    // A text that is no address leaves the printer unspecified; plotting to it finds no printer.
    printer.m_address.Set(record.MachineIpAddress);
    printer.m_sysName = record.MachineName;
    printer.m_sysDescription = record.MachineDescription;
    printer.m_community = record.MachineSnmpCommunity;
    printer.m_physicalAddress = ParseMacAddress(record.MachineMacAddress);
    printer.m_sysLocation = record.MachineLocation;

    CXomMachine& working = app.workingPrinter();
    working.m_printerData.reset();
    working.CopyIdentity(printer);

    record.JobPin = app.currentPin();
}

void StoreSettings(DriverSettings& record, HT_Std_Plotter_Definition& host) {
    CMfcdll1App& app = theApp();
    const CXomMachine& printer = app.currentPrinter();
    record.MachineIpAddress = printer.m_address.ToAddressText();
    record.MachineName = printer.m_sysName;
    record.MachineLocation = printer.m_sysLocation;
    record.MachineDescription = printer.m_sysDescription;
    record.MachineSnmpCommunity = printer.m_community;
    record.MachineMacAddress = FormatMacAddress(printer.m_physicalAddress);
    record.ColorMode =
        printer.m_printerData == nullptr || printer.m_printerData->m_processColorants <= 1 ? 1 : 0;
    app.currentPin() = record.JobPin;

    for (const SettingsKey& k : SettingsStoreOrder()) {
        if (k.isText)
            SetTextSetting(host, k.name, record.*k.text);
        else
            SetLongSetting(host, k.name, record.*k.number);
    }
}
