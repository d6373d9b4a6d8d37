#pragma once
// Entry points the host finds by name in the driver library (dlsym), whatever visibility the
// rest of the driver is compiled with.
#define XOM_EXPORT extern "C" __attribute__((visibility("default")))
