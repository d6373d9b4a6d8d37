// What the host tells about itself; settable so that job streams are reproducible.
#include "hdi/HT_Host_Info.h"

#include <mutex>

namespace {
struct HostInfo {
    std::mutex lock;
    std::wstring product = L"AutoCAD";
    std::wstring language = L"en-US";
    std::wstring appKey = L"Software\\HostApp\\R24.0\\Plotters";
};
HostInfo& Info() {
    static HostInfo info;
    return info;
}
std::wstring Get(std::wstring HostInfo::*field) {
    std::lock_guard<std::mutex> g(Info().lock);
    return Info().*field;
}
void Set(std::wstring HostInfo::*field, const std::wstring& value) {
    std::lock_guard<std::mutex> g(Info().lock);
    Info().*field = value;
}
}  // namespace

std::wstring _GetProductName() {
    return Get(&HostInfo::product);
}
std::wstring _GetLanguage() {
    return Get(&HostInfo::language);
}
std::wstring _GetAppKey() {
    return Get(&HostInfo::appKey);
}
void HT_Set_Product_Name(const std::wstring& name) {
    Set(&HostInfo::product, name);
}
void HT_Set_Language(const std::wstring& language) {
    Set(&HostInfo::language, language);
}
void HT_Set_App_Key(const std::wstring& key) {
    Set(&HostInfo::appKey, key);
}
