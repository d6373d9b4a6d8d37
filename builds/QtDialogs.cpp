// Each build shows its dialogs with the Qt backend; nothing of Qt starts before the first dialog,
// and never without a display.
#include <dlfcn.h>

#include "qtdialogs/QtDialogBackend.h"

namespace {

// Qt and the libraries it brings cannot be unloaded and loaded again in one process (their
// one-time set-up would be lost or leak), and a host may unload the driver and load it again:
// once the driver has been loaded, its Qt libraries stay.
bool PinQtLibraries() {
    for (const char* library : {"libQt6Widgets.so.6", "libQt6Gui.so.6", "libQt6Core.so.6"})
        dlopen(library, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    return true;
}

const bool g_pinned = PinQtLibraries();
const bool g_registered = (xomqt::RegisterQtDialogs(), true);

}  // namespace
