#pragma once
// What the host tells about itself. Hosts (and tests) may set the values, so job streams that
// carry them are reproducible.
#include <string>

std::wstring _GetProductName();  // e.g. "AutoCAD"
std::wstring _GetLanguage();     // language folder of the DRC data, e.g. "en-US"
std::wstring _GetAppKey();       // the host's registry key text

void HT_Set_Product_Name(const std::wstring& name);
void HT_Set_Language(const std::wstring& language);
void HT_Set_App_Key(const std::wstring& key);
