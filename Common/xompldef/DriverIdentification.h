#pragma once
// What the driver tells the host about itself: its version text, its library path, its locale
// and the family and model named in its DRC data.
#include <cstdint>
#include <span>
#include <string>

// "15.0.0.0, xomq15.hdi: [1.0.24.x64], xomq15.drc:" for the build's identity.
std::wstring DriverVersionText();

// The driver library's path: the one the module start was given, else the loaded file that holds
// this code. False when no loaded file holds it.
bool DriverModulePath(std::string& path);

// The translation list as the host reads a locale: each entry in upper-case hex, joined by ",".
// The resource library's list serves; without entries, the driver's own. Empty when neither has
// any.
std::wstring DriverLocaleText(std::span<const std::uint32_t> resourceList,
                              std::span<const std::uint32_t> driverList);
// The driver library's own translation list (its version block).
std::span<const std::uint32_t> DriverOwnTranslations();
// The resource library's translation list; empty without a library or a list.
std::span<const std::uint32_t> ResourceTranslations(void* resourceModule);

// "<driver dir>/<language>/<driver file name without extension>.drc".
std::string DrcPathFor(const std::string& driverPath, const std::wstring& language);

// "platform,major,minor" of the running system, as the host's model keeps it.
std::wstring OperatingSystemVersionText();
