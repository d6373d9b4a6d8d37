#pragma once
// The settings record in the host's per-printer configuration: one custom data item per key,
// created from the capabilities' declared default the first time a key is read.
//
// Load and store also synchronise the record with the process-wide current printer
// (CMfcdll1App::currentPrinter()), its working copy for the connect dialog, and the current PIN.
// Called on the host's plot thread or the dialog's thread; nothing here is locked.
#include <cstdint>
#include <string>

#include "Common/XomSettings/DriverSettings.h"
#include "hdi/HT_Plotter_Definition.h"

// Reads a key; a key missing from the configuration is created there from the capabilities'
// default first. A key declared nowhere (or an item of the other type) reads 0 / empty. A text
// stored as exactly "_" reads as empty.
std::int32_t GetLongSetting(HT_Std_Plotter_Definition& host, const std::wstring& key);
std::wstring GetTextSetting(HT_Std_Plotter_Definition& host, const std::wstring& key);
// Replaces the item's data (creating the item when it is missing); texts are stored as they are.
void SetLongSetting(HT_Std_Plotter_Definition& host, const std::wstring& key, std::int32_t value);
void SetTextSetting(HT_Std_Plotter_Definition& host, const std::wstring& key,
                    const std::wstring& text);

// Fills the record from the configuration, resets the current printer to the one the record
// names (its printer data is dropped) and takes JobPin from the current PIN.
void LoadSettings(DriverSettings& record, HT_Std_Plotter_Definition& host);
// Refreshes the printer fields from the current printer, recomputes ColorMode, copies JobPin to
// the current PIN and writes every key.
void StoreSettings(DriverSettings& record, HT_Std_Plotter_Definition& host);
