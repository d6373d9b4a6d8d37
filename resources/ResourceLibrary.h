#pragma once
// What a driver's resource library ("<driver>Res.so" beside the driver) exports: its string table
// in the user's language and its version translation list (language id in the low 16 bits, code
// page in the high 16 bits of each entry, as a version block's "\VarFileInfo\Translation").
#include <cstddef>
#include <cstdint>

struct XomResString {
    unsigned id;
    const wchar_t* text;
};

extern "C" {
// Entries sorted by id.
const XomResString* XomRes_StringTable(std::size_t* count);
// Null (count 0) when the library has no translation list.
const std::uint32_t* XomRes_Translations(std::size_t* count);
}

using XomRes_StringTable_Fn = const XomResString* (*)(std::size_t*);
using XomRes_Translations_Fn = const std::uint32_t* (*)(std::size_t*);
