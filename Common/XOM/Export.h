#pragma once
// Entry points the host finds by name in the driver library (dlsym), whatever visibility the
// rest of the driver is compiled with.
#define XOM_EXPORT extern "C" __attribute__((visibility("default")))
// A class whose members a host binds by their decorated names; the builds' export map says which.
#define XOM_EXPORT_CLASS __attribute__((visibility("default")))
