#include "Common/XomDialogs/DialogTemplates.h"

#include <dlfcn.h>

#include <iterator>

#include "Common/XOM/DriverApp.h"
#include "Common/XOM/LocalizedString.h"
#include "resources/ResourceLibrary.h"

namespace {

#include "resources/DialogTable.inc"

std::wstring Caption(unsigned captionId, const wchar_t* text) {
    if (captionId != 0) return LocalizedString(captionId);
    return text == nullptr ? std::wstring() : std::wstring(text);
}

const XomResDialog* Find(const XomResDialog* table, std::size_t count, unsigned id) {
    if (table == nullptr) return nullptr;
    for (std::size_t i = 0; i < count; ++i)
        if (table[i].id == id) return &table[i];
    return nullptr;
}

const XomResDialog* FindInResourceLibrary(unsigned id) {
    void* module = theApp().resourceModule();
    if (module == nullptr) return nullptr;
    auto dialogs = reinterpret_cast<XomRes_Dialogs_Fn>(dlsym(module, "XomRes_Dialogs"));
    if (dialogs == nullptr) return nullptr;
    std::size_t count = 0;
    const XomResDialog* table = dialogs(&count);
    return Find(table, count, id);
}

}  // namespace

bool LoadDialogTemplate(unsigned id, xomplatform::DialogTemplate& dialog) {
    const XomResDialog* source = FindInResourceLibrary(id);
    if (source == nullptr) source = Find(kDialogTemplates, std::size(kDialogTemplates), id);
    if (source == nullptr) return false;
    dialog = {};
    dialog.id = source->id;
    dialog.caption = Caption(source->captionId, source->text);
    dialog.width = source->width;
    dialog.height = source->height;
    for (std::size_t i = 0; source->controls != nullptr && i < source->controlCount; ++i) {
        const XomResControl& c = source->controls[i];
        // A kind this driver does not know is left out rather than guessed.
        if (c.kind > XOMRES_COMBO) continue;
        xomplatform::ControlTemplate control;
        control.id = c.id;
        control.kind = static_cast<xomplatform::ControlKind>(c.kind);
        control.caption = Caption(c.captionId, c.text);
        control.x = c.x;
        control.y = c.y;
        control.width = c.width;
        control.height = c.height;
        control.style = c.style;
        control.bitmapId = c.bitmapId;
        dialog.controls.push_back(std::move(control));
    }
    return true;
}
