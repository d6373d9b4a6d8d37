#pragma once
// The library's start and exit: the resource library beside the driver is loaded at start and
// the driver refuses to initialise without it.
#include <string>

#include "Common/XOM/Export.h"
#include "hdi/HT_Driver_Module.h"

// "<dir>/xomq15.hdi" -> "<dir>/xomq15Res.so": the file name's extension (from its last ".") is
// replaced; a file name without one gets "Res.so" appended.
std::string ResourceLibraryPathFor(const std::string& driverPath);

// Module start for a driver at driverPath: loads the resource library, takes its language and
// runs the initialisation in that language. Returns false after showing
// "Error: Resource DLL not found: <path>" when the library cannot be loaded.
bool XomModuleStart(const std::string& driverPath);
// Frees the resource library (loaded texts fall back to the driver's own table).
void XomModuleExit();

// The path of the loaded file that holds this code (the driver library); empty when unknown.
std::string OwnLibraryPath();

XOM_EXPORT int HD_Module_Start(void);
XOM_EXPORT void HD_Module_Exit(void);
XOM_EXPORT const HT_Driver_Identity* HD_Get_Driver_Identity(void);
