#pragma once
// The dialog layer's Qt 6 Widgets backend. Null when no window system can be reached (no display
// and no forced platform): a Qt application started without one would abort the process.
#include <memory>

#include "platform/DialogBackend.h"

namespace xomqt {

std::unique_ptr<xomplatform::DialogBackend> CreateQtDialogBackend();

// Registers CreateQtDialogBackend as the layer's backend factory. Nothing of Qt starts until the
// first dialog; from then on the message service shows message boxes.
void RegisterQtDialogs();

}  // namespace xomqt
