// A resource library as a translation ships it: a few texts in another language, one text left
// empty, and a translation list naming Spanish (Spain) with code page 1252.
#include "resources/ResourceLibrary.h"

namespace {
const XomResString kStrings[] = {
    {203, L"Mensaje de la impresora XOM"},
    {218, L"Trazado cancelado"},
    {219, L""},
};
const std::uint32_t kTranslations[] = {0x0C0Au | (1252u << 16)};
}  // namespace

extern "C" __attribute__((visibility("default"))) const XomResString* XomRes_StringTable(
    std::size_t* count) {
    *count = sizeof kStrings / sizeof kStrings[0];
    return kStrings;
}

extern "C" __attribute__((visibility("default"))) const std::uint32_t* XomRes_Translations(
    std::size_t* count) {
    *count = 1;
    return kTranslations;
}
