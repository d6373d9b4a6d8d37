#pragma once
// Before a picture produces a byte: the linked printer's data read (woken when it sleeps), the
// plot's credentials checked against it and its colour rights applied to the colour mode. The
// result says whether the plot may go on, and if not, what to tell the user.
#include <string>

#include "Common/XomSettings/DriverSettings.h"

struct PlotPreparation {
    bool ready = true;
    std::wstring message;        // shown to the user when not empty (also when ready: message 375)
    std::wstring caption;        // empty: the printer-message caption
    std::wstring colorModeName;  // the mode to apply when ready
    bool colourAllowed = false;
};

// settings: the plot's settings as loaded; what the user completes at plot time (the values the
// printer's rules still lack) goes into them, for this plot only. modeName: the host
// configuration's colour mode. A message that says how to mend the settings names the
// configuration NAME (`xomplot config set NAME ...`): the driver does not know the host's name for
// it.
PlotPreparation PreparePlot(DriverSettings& settings, const std::wstring& modeName);
