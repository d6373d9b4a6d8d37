#include "Common/XOM/ModuleStart.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "Common/XOM/BuildInfo.h"
#include "Common/XOM/DriverApp.h"
#include "Common/XOM/ThreadLocale.h"
#include "platform/MessageService.h"
#include "platform/Utf8.h"
#include "resources/ResourceLibrary.h"

namespace {

// The library's own initialisation, run in the resource library's language. Everything the
// process keeps beyond the resource module (network manager, current printer) is made on first
// use, so there is nothing more to do here.
void InitialiseInstance() {}

}  // namespace

std::string ResourceLibraryPathFor(const std::string& driverPath) {
    const std::size_t slash = driverPath.find_last_of('/');
    const std::size_t dot = driverPath.find_last_of('.');
    const bool dotInName = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (dotInName ? driverPath.substr(0, dot) : driverPath) + "Res.so";
}

bool XomModuleStart(const std::string& driverPath) {
    const std::string resourcePath = ResourceLibraryPathFor(driverPath);
    void* module = dlopen(resourcePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        wchar_t text[4200];
        std::swprintf(text, std::size(text), L"Error: Resource DLL not found: %ls",
                      xomplatform::FromUtf8(resourcePath).c_str());
        xomplatform::ShowMessage(text, L"", xomplatform::MessageIcon::None);
        return false;
    }
    CMfcdll1App& app = theApp();
    app.setResourceModule(module);
    app.setDriverPath(driverPath);

    std::uint16_t language = CMfcdll1App::kDefaultLanguageId;
    std::uint16_t codePage = CMfcdll1App::kDefaultCodePage;
    auto translations =
        reinterpret_cast<XomRes_Translations_Fn>(dlsym(module, "XomRes_Translations"));
    if (translations != nullptr) {
        std::size_t count = 0;
        const std::uint32_t* list = translations(&count);
        if (list != nullptr && count >= 1) {
            language = static_cast<std::uint16_t>(list[0] & 0xFFFF);
            codePage = static_cast<std::uint16_t>(list[0] >> 16);
        }
    }
    app.setLanguage(language, codePage);

    CScopedThreadLocale locale(language);
    InitialiseInstance();
    return true;
}

void XomModuleExit() {
    CMfcdll1App& app = theApp();
    void* module = app.resourceModule();
    app.setResourceModule(nullptr);
    app.setDriverPath({});
    app.setLanguage(CMfcdll1App::kDefaultLanguageId, CMfcdll1App::kDefaultCodePage);
    if (module != nullptr) dlclose(module);
}

std::string OwnLibraryPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&HD_Module_Start), &info) == 0 ||
        info.dli_fname == nullptr) {
        return {};
    }
    return info.dli_fname;
}

int HD_Module_Start(void) {
    return XomModuleStart(OwnLibraryPath()) ? 1 : 0;
}

void HD_Module_Exit(void) {
    XomModuleExit();
}

const HT_Driver_Identity* HD_Get_Driver_Identity(void) {
    return &XomBuildIdentity();
}
