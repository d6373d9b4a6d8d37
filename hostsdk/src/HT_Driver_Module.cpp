// The host's driver loader: a driver that fails its module start is unloaded again at once, as a
// library whose initialisation fails never stays loaded.
#include "hdi/HT_Driver_Module.h"

#include <dlfcn.h>

#include "hdi/HT_Plotter_Device_Data.h"

namespace {
using StartFn = int (*)();
using ExitFn = void (*)();
using CreateFn = HT_Plotter_Device_Data* (*)();
using IdentityFn = const HT_Driver_Identity* (*)();
using FactoryFn = HT_Std_Plotter_Class_Factory* (*)();

std::string DlError() {
    const char* e = dlerror();
    return e ? e : "unknown loader error";
}
}  // namespace

std::unique_ptr<HT_Driver_Module> HT_Driver_Module::load(const std::string& path,
                                                         std::string& error) {
    error.clear();
    if (path.empty()) {
        error = "no driver path given";
        return nullptr;
    }
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        error = "cannot load driver: " + DlError();
        return nullptr;
    }
    auto start = reinterpret_cast<StartFn>(dlsym(handle, "HD_Module_Start"));
    if (!start) {
        dlclose(handle);
        error = path + ": not an HDI driver (no HD_Module_Start)";
        return nullptr;
    }
    if (start() == 0) {
        // The driver has shown its own reason; it gets no module exit, as it never started.
        dlclose(handle);
        error = path + ": driver failed to initialise";
        return nullptr;
    }
    return std::unique_ptr<HT_Driver_Module>(new HT_Driver_Module(handle, path));
}

HT_Driver_Module::~HT_Driver_Module() {
    if (!m_handle) return;
    if (auto exitFn = reinterpret_cast<ExitFn>(dlsym(m_handle, "HD_Module_Exit"))) exitFn();
    dlclose(m_handle);
}

void* HT_Driver_Module::symbol(const char* name) const {
    return dlsym(m_handle, name);
}

HT_Plotter_Device_Data* HT_Driver_Module::create_device() const {
    auto create = reinterpret_cast<CreateFn>(symbol("HD_Create_Plotter_Device"));
    return create ? create() : nullptr;
}

const HT_Driver_Identity* HT_Driver_Module::identity() const {
    auto fn = reinterpret_cast<IdentityFn>(symbol("HD_Get_Driver_Identity"));
    return fn ? fn() : nullptr;
}

HT_Std_Plotter_Class_Factory* HT_Driver_Module::create_class_factory() const {
    auto fn = reinterpret_cast<FactoryFn>(symbol("HD_Create_Class_Factory"));
    return fn ? fn() : nullptr;
}
