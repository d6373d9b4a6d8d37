#include "Common/XOM/ColorRights.h"

ColorRights PlotColorRights(const CXomPrinterData& data, const std::wstring& userName) {
    ColorRights rights;
    // Without access control the anonymous rights are not published: they would read as "none"
    // and refuse every plot on a printer that restricts nothing.
    if (!data.m_roleBasedAccessControl) return rights;
    rights.mono = data.m_anonymousMonoAllowed > 0;
    rights.colour = data.m_anonymousColorAllowed > 0;
    for (const CXomUserEntry& user : data.m_users) {
        if (user.m_name != userName) continue;
        rights.mono = user.m_monoAllowed > 0;
        rights.colour = user.m_colorAllowed > 0;
        break;
    }
    return rights;
}

ColorModeDecision DecideColorMode(const std::wstring& modeName, const ColorRights& rights) {
    using Outcome = ColorModeDecision::Outcome;
    if (modeName.find(L"Color") == std::wstring::npos) {
        if (!rights.mono) return {Outcome::Refused, modeName, 372};
        return {Outcome::Keep, modeName, 0};
    }
    if (rights.colour) return {Outcome::Keep, modeName, 0};
    if (!rights.mono) return {Outcome::Refused, modeName, 374};
    const bool virtualPens = modeName.find(L"Virtual") != std::wstring::npos;
    return {Outcome::Switched, virtualPens ? L"255_Virtual_Pens_Mono" : L"Gray", 375};
}
