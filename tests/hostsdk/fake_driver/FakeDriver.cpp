// A stand-in driver module for the loader's tests: its module start fails when the environment
// says so, and it counts starts and exits in a file, since each load is a fresh library image.
#include <cstdio>
#include <cstdlib>

#include "hdi/HT_Driver_Module.h"
#include "hdi/HT_Plotter_Device_Data.h"

namespace {
void Note(const char* what) {
    if (const char* log = std::getenv("FAKE_DRIVER_LOG")) {
        if (std::FILE* f = std::fopen(log, "a")) {
            std::fputs(what, f);
            std::fclose(f);
        }
    }
}
const HT_Driver_Identity kIdentity{"99.0.0.0", "fake.hdi", "0.0.1", "fake.drc", 99};
}  // namespace

extern "C" __attribute__((visibility("default"))) int HD_Module_Start() {
    Note("start;");
    return std::getenv("FAKE_DRIVER_FAIL") ? 0 : 1;
}
extern "C" __attribute__((visibility("default"))) void HD_Module_Exit() {
    Note("exit;");
}
extern "C" __attribute__((visibility("default"))) HT_Plotter_Device_Data*
HD_Create_Plotter_Device() {
    return new HT_Plotter_Device_Data();
}
extern "C" __attribute__((visibility("default"))) const HT_Driver_Identity*
HD_Get_Driver_Identity() {
    return &kIdentity;
}
