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

// Dialog templates: each dialog's id, caption and controls with their kind, caption, geometry
// (pixels from the dialog's top left) and style. A caption is string captionId of the table when
// that is not 0, else the literal text (which may be empty: the dialog fills it in).
enum XomResControlKind : unsigned {
    XOMRES_STATIC,
    XOMRES_GROUP,
    XOMRES_BUTTON,
    XOMRES_DEFBUTTON,
    XOMRES_EDIT,
    XOMRES_CHECKBOX,
    XOMRES_RADIO,
    XOMRES_LISTBOX,
    XOMRES_SLIDER,
    XOMRES_BITMAP,
    XOMRES_TREE,
    XOMRES_COMBO,  // editable
};
// Style bits.
inline constexpr unsigned XOMRES_HIDDEN = 1u;
inline constexpr unsigned XOMRES_GROUPSTART = 2u;
inline constexpr unsigned XOMRES_PASSWORD = 4u;
inline constexpr unsigned XOMRES_DIGITS = 8u;

struct XomResControl {
    unsigned id;
    unsigned kind;
    unsigned captionId;
    const wchar_t* text;
    int x, y, width, height;
    unsigned style;
    unsigned bitmapId;
};

struct XomResDialog {
    unsigned id;
    unsigned captionId;
    const wchar_t* text;
    int width, height;
    const XomResControl* controls;
    std::size_t controlCount;
};

extern "C" {
// The library's dialog templates; null (count 0) when it has none.
const XomResDialog* XomRes_Dialogs(std::size_t* count);
}

using XomRes_Dialogs_Fn = const XomResDialog* (*)(std::size_t*);
