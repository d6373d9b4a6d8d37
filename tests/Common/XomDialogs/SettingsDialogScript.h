#pragma once
// Script steps for the settings dialog and the pickers it opens.
#include <unistd.h>

#include <functional>
#include <string>

#include "Common/XomDialogs/DlgCustomSettings.h"
#include "Common/XomDialogs/DlgEnter.h"
#include "Common/XomDialogs/DlgSelect.h"
#include "DialogScript.h"

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
