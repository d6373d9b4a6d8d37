// Each build shows its dialogs with the Qt backend; nothing of Qt starts before the first dialog,
// and never without a display.
#include "qtdialogs/QtDialogBackend.h"

namespace {
const bool g_registered = (xomqt::RegisterQtDialogs(), true);
}
