#include "Common/XOM/DriverApp.h"

#include <dlfcn.h>

void CMfcdll1App::setResourceModule(void* handle) {
    m_resourceModule = handle;
    m_resourceStrings = nullptr;
    m_resourceStringCount = 0;
    if (handle == nullptr) return;
    // A resource library without a string table still counts as loaded: every text then comes
    // from the driver's own table.
    auto table = reinterpret_cast<XomRes_StringTable_Fn>(dlsym(handle, "XomRes_StringTable"));
    if (table == nullptr) return;
    std::size_t count = 0;
    const XomResString* strings = table(&count);
    if (strings == nullptr) count = 0;
    m_resourceStrings = strings;
    m_resourceStringCount = count;
}

CMfcdll1App& theApp() {
    static CMfcdll1App app;
    return app;
}
