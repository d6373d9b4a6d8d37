// A resource library as a translation ships it, for xomplot's end-to-end tests: the outcome texts
// in Spanish, so that only the string numbers can tell the outcomes apart.
#include "resources/ResourceLibrary.h"

namespace {
const XomResString kStrings[] = {
    {215, L"Trazado vac\u00edo."},
    {218, L"Trazado cancelado"},
    {219, L"Trazado completo"},
    {220, L"Fallo de conexi\u00f3n con la impresora"},
};
}  // namespace

extern "C" __attribute__((visibility("default"))) const XomResString* XomRes_StringTable(
    std::size_t* count) {
    *count = sizeof kStrings / sizeof kStrings[0];
    return kStrings;
}

extern "C" __attribute__((visibility("default"))) const std::uint32_t* XomRes_Translations(
    std::size_t* count) {
    *count = 0;
    return nullptr;
}
