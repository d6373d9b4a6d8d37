#pragma once
// Dialog templates by id, with their captions loaded from the string table in the user's language:
// from the resource library when it has the dialog, else from the driver's own templates.
#include "platform/DialogBackend.h"

// False (dialog untouched) when neither the resource library nor the driver has the id.
bool LoadDialogTemplate(unsigned id, xomplatform::DialogTemplate& dialog);
