// The resource library beside each driver build ("xomq15Res.so" ...): the string table in the
// user's language, the dialog templates and the version translation list, looked up by the driver
// with dlsym.
#include "resources/ResourceLibrary.h"

#include <iterator>

namespace {
const XomResString kStrings[] = {
#define XOM_STRING(id, text) {id, text},
#include "resources/StringTable.inc"
#undef XOM_STRING
};

// Language 0x0409 (en-US) in the low word, code page 1200 (UTF-16) in the high word.
const std::uint32_t kTranslations[] = {0x04B00409u};

#include "resources/DialogTable.inc"
}  // namespace

extern "C" __attribute__((visibility("default"))) const XomResString* XomRes_StringTable(
    std::size_t* count) {
    if (count) *count = std::size(kStrings);
    return kStrings;
}

extern "C" __attribute__((visibility("default"))) const std::uint32_t* XomRes_Translations(
    std::size_t* count) {
    if (count) *count = std::size(kTranslations);
    return kTranslations;
}

extern "C" __attribute__((visibility("default"))) const XomResDialog* XomRes_Dialogs(
    std::size_t* count) {
    if (count) *count = std::size(kDialogTemplates);
    return kDialogTemplates;
}
