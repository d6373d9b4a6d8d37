#pragma once
// Script steps for the settings dialog and the pickers it opens.
#include <unistd.h>

#include <functional>
#include <string>

#include "Common/XomDialogs/DlgCustomSettings.h"
#include "Common/XomDialogs/DlgEnter.h"
#include "Common/XomDialogs/DlgSelect.h"
#include "Common/XomSettings/SettingsKeys.h"
#include "DialogScript.h"
#include "hdi/HT_Plotter_Definition.h"

// The select dialog: the name at index, OK.
inline DialogTest::Step PickRow(int index) {
    return [index](CXomDialog&, xomplatform::DialogWindow& w) {
        w.SelectItem(CDlgSelect::kList, index);
        w.Click(IDOK);
    };
}
// The enter dialog: text, OK.
inline DialogTest::Step TypeValue(const std::wstring& text) {
    return [text](CXomDialog&, xomplatform::DialogWindow& w) {
        w.TypeText(CDlgEnter::kEdit, text);
        w.Click(IDOK);
    };
}

// Runs check once the settings dialog has read (or given up on) the printer: while it loads or
// wakes the printer its status line is a single space.
inline void WhenSettled(xomplatform::DialogWindow& w, const std::function<void()>& check,
                        int rounds = 400) {
    if (w.GetText(CDlgCustomSettings::kStatus) != L" " || rounds == 0) {
        check();
        return;
    }
    usleep(10000);
    w.Post([&w, check, rounds] { WhenSettled(w, check, rounds - 1); });
}

// Runs then once flag is set: a dialog that the one shown opens runs its own event loop, in which
// the steps of both run.
inline void WhenTrue(xomplatform::DialogWindow& w, const bool& flag,
                     const std::function<void()>& then, int rounds = 1000) {
    if (flag || rounds == 0) {
        then();
        return;
    }
    usleep(5000);
    w.Post([&w, &flag, then, rounds] { WhenTrue(w, flag, then, rounds - 1); });
}

// A host plotter definition whose capabilities list every settings key (texts empty, numbers 0),
// as the host makes one from the driver's data, with an empty configuration.
inline SPMP<HT_Std_Plotter_Definition> MakeSettingsHost() {
    SPMP<HT_Std_Plotter_Capabilities> caps(new HT_Std_Plotter_Capabilities);
    for (const SettingsKey& k : SettingsLoadOrder())
        caps->get_custom_capabilities()->items.push_back(
            {k.name, k.isText ? L"string" : L"long", k.isText ? L"" : L"0"});
    SPMP<HT_Std_Plotter_Definition> host(new HT_Std_Plotter_Definition(nullptr));
    host->set_plotter_capabilities(caps);
    host->set_plotter_configuration(
        SPMP<HT_Std_Plotter_Configuration>(new HT_Std_Plotter_Configuration));
    return host;
}
