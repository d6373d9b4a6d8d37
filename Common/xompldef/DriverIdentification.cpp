#include "Common/xompldef/DriverIdentification.h"

#include <dlfcn.h>
#include <sys/utsname.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "Common/XOM/BuildInfo.h"
#include "Common/XOM/DriverApp.h"
#include "platform/Utf8.h"
#include "resources/ResourceLibrary.h"

namespace {
// US English, Unicode: what the driver library's own version block declares.
constexpr std::uint32_t kOwnTranslations[] = {0x04B00409u};
// The host's number for the family of systems whose version it keeps.
constexpr int kPlatformId = 2;
}  // namespace

std::wstring DriverVersionText() {
    const HT_Driver_Identity& id = XomBuildIdentity();
    return xomplatform::FromUtf8(std::string(id.hdi_version) + ", " + id.hdi_file + ": [" +
                                 id.driver_version + "], " + id.drc_file + ":");
}

bool DriverModulePath(std::string& path) {
    path = theApp().driverPath();
    if (!path.empty()) return true;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DriverModulePath), &info) == 0) return false;
    path = info.dli_fname != nullptr ? info.dli_fname : "";
    return true;
}

std::wstring DriverLocaleText(std::span<const std::uint32_t> resourceList,
                              std::span<const std::uint32_t> driverList) {
    const std::span<const std::uint32_t> list = resourceList.empty() ? driverList : resourceList;
    std::wstring text;
    for (std::uint32_t entry : list) {
        wchar_t hex[16];
        std::swprintf(hex, std::size(hex), text.empty() ? L"%X" : L",%X", entry);
        text += hex;
    }
    return text;
}

std::span<const std::uint32_t> DriverOwnTranslations() {
    return kOwnTranslations;
}

std::span<const std::uint32_t> ResourceTranslations(void* resourceModule) {
    if (resourceModule == nullptr) return {};
    auto fn =
        reinterpret_cast<XomRes_Translations_Fn>(dlsym(resourceModule, "XomRes_Translations"));
    if (fn == nullptr) return {};
    std::size_t count = 0;
    const std::uint32_t* list = fn(&count);
    return list != nullptr ? std::span<const std::uint32_t>(list, count)
                           : std::span<const std::uint32_t>();
}

std::string DrcPathFor(const std::string& driverPath, const std::wstring& language) {
    const std::size_t slash = driverPath.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "" : driverPath.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? driverPath : driverPath.substr(slash + 1);
    if (const std::size_t dot = name.find_last_of('.'); dot != std::string::npos) name.resize(dot);
    return dir + xomplatform::ToUtf8(language) + "/" + name + ".drc";
}

std::wstring OperatingSystemVersionText() {
    int major = 0, minor = 0;
    utsname u{};
    if (uname(&u) == 0) {
        char* end = nullptr;
        major = static_cast<int>(std::strtol(u.release, &end, 10));
        if (end != nullptr && *end == '.')
            minor = static_cast<int>(std::strtol(end + 1, nullptr, 10));
    }
    wchar_t text[64];
    std::swprintf(text, std::size(text), L"%d,%d,%d", kPlatformId, major, minor);
    return text;
}
