#pragma once
// What the printer lets this plot print: monochrome and colour rights from its access rules (the
// anonymous rights, or the rights of the plot's user when the printer lists that user), and what
// they make of the colour mode the host's configuration asks for.
#include <string>

#include "juxcommoncode/PrinterData/PrinterData.h"

struct ColorRights {
    bool mono = true;
    bool colour = true;
};

// A printer without role-based access control restricts nobody; with it, the anonymous rights
// hold unless userName (case-sensitive, first match) is in its user table, whose rights then do.
ColorRights PlotColorRights(const CXomPrinterData& data, const std::wstring& userName);

struct ColorModeDecision {
    enum class Outcome { Keep, Switched, Refused };
    Outcome outcome = Outcome::Keep;
    std::wstring modeName;   // the mode to apply (Keep, Switched)
    unsigned messageId = 0;  // 375 when switched; 372 or 374 when refused
};

// A mode without "Color" needs the monochrome right (else 372). A "Color" mode without the colour
// right falls back to monochrome ("255_Virtual_Pens_Mono" for a virtual-pen mode, "Gray"
// otherwise, message 375) when that is allowed, and is refused (374) when it is not.
ColorModeDecision DecideColorMode(const std::wstring& modeName, const ColorRights& rights);
