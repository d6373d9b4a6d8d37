#include "Common/XOM/PlotPreparation.h"

#include "Common/XOM/ColorRights.h"
#include "Common/XOM/DriverApp.h"
#include "Common/XOM/LocalizedString.h"
#include "Common/XOM/StringIds.h"
#include "Common/XomDialogs/DlgCustomSettings.h"
#include "Common/XomDialogs/TerminalPrompts.h"
#include "Common/XomJob/CredentialValidation.h"
#include "Common/XomSettings/PrinterDataSource.h"
#include "Common/xomOutput/PrinterDataRead.h"
#include "Common/xomOutput/PrinterNetwork.h"
#include "platform/DialogBackend.h"

namespace {

// "Plot canceled" and, on a line of its own, why.
PlotPreparation Cancelled(const std::wstring& why, const std::wstring& caption = {}) {
    PlotPreparation p;
    p.ready = false;
    p.message = LocalizedString(IDS_PLOT_CANCELED) + L"\n" + why + L"\n";
    p.caption = caption;
    return p;
}

// The user cancelled in a dialog: "Plot canceled", nothing more to say.
PlotPreparation CancelledByTheUser() {
    PlotPreparation p;
    p.ready = false;
    p.message = LocalizedString(IDS_PLOT_CANCELED);
    return p;
}

// Nothing can show the settings dialog: what the user would have done there, and how to do it
// instead.
PlotPreparation WithoutSettingsDialog(const DriverSettings& settings, const CXomMachine& printer,
                                      const std::wstring& name) {
    if (settings.PromptAtPlotTime != 0) {
        return Cancelled(
            L"The settings are to be confirmed before each plot, and no settings dialog can be "
            L"shown here (no display): turn that off with `xomplot config set " +
            name + L" PromptAtPlotTime 0`.");
    }
    if (!printer.m_address.IsUnspecified()) {
        return Cancelled(LocalizedString(IDS_CANNOT_CONNECT) + L" " + printer.m_address.ToText(),
                         LocalizedString(IDS_ERROR));
    }
    return Cancelled(L"No printer is linked: link one with `xomplot config link " + name +
                         L" ADDRESS` (or set its address with `xomplot config set " + name +
                         L" MachineIpAddress ADDRESS`) and plot with that configuration.",
                     LocalizedString(IDS_ERROR));
}

}  // namespace

PlotPreparation PreparePlot(DriverSettings& settings, const std::wstring& modeName) {
    CXomMachine& printer = theApp().currentPrinter();
    const std::wstring name = L"NAME";
    const bool linked = !printer.m_address.IsUnspecified();
    if (settings.PromptAtPlotTime == 0 && linked && !printer.m_printerData) {
        if (HasPrinterDataReader()) {
            ReadCurrentPrinterData();
        } else {
            ReadPrinterDataWakingIt(printer);
        }
    }
    if (settings.PromptAtPlotTime != 0 || !linked || !printer.m_printerData) {
        // The settings dialog for this plot: the user confirms the settings, links a printer or
        // wakes it. What is chosen serves this plot only.
        if (xomplatform::GetDialogBackend() == nullptr)
            return WithoutSettingsDialog(settings, printer, name);
        DriverSettings copy = settings;
        CDlgCustomSettings dialog(PrinterNetwork(), printer, copy, /*forCurrentPlot=*/true);
        if (dialog.DoModal() != IDOK) {
            return CancelledByTheUser();
        }
        settings = copy;
        if (!printer.m_printerData) {
            return Cancelled(
                LocalizedString(IDS_CANNOT_CONNECT) + L" " + printer.m_address.ToText(),
                LocalizedString(IDS_ERROR));
        }
    }
    PlotPreparation ready;
    ready.colorModeName = modeName;
    const CXomPrinterData* data = printer.m_printerData.get();
    // The message names each field by its prompt; a configuration that never went through the
    // settings dialog has none stored, and the printer's own prompt says the same.
    DriverSettings named = settings;
    if (named.UserPrompt.empty()) named.UserPrompt = data->m_userAccounting.m_userNamePrompt;
    const auto& fields = data->m_accountingInformation;
    if (named.AcctInfo0Prompt.empty() && !fields.empty())
        named.AcctInfo0Prompt = fields[0].m_prompt;
    if (named.AcctInfo1Prompt.empty() && fields.size() > 1)
        named.AcctInfo1Prompt = fields[1].m_prompt;
    std::wstring missing;
    if (!ValidateCredentials(named, data, &missing)) {
        if (!PlotTimePromptAvailable()) {
            return Cancelled(
                (missing.empty()
                     ? std::wstring(L"The printer's user and accounting rules are not met")
                     : missing) +
                L": give them on xomplot's command line (--user, --password, --account0, "
                L"--account0-password, --account1, --account1-password) or store them with "
                L"`xomplot config set " +
                name +
                L" KEY VALUE` (UserName, UserValidPassword, AcctInfo0Name, "
                L"AcctInfo0ValidPassword, AcctInfo1Name, AcctInfo1ValidPassword).");
        }
        // The user completes them (dialog, or terminal) on a copy that only this plot uses; the
        // stored configuration is not touched.
        DriverSettings completed = settings;
        if (!CompletePlotIdentificationInteractively(completed, *data)) {
            return CancelledByTheUser();
        }
        settings = completed;
    }
    const ColorModeDecision decision =
        DecideColorMode(modeName, PlotColorRights(*data, settings.UserName));
    if (decision.outcome == ColorModeDecision::Outcome::Refused) {
        PlotPreparation refused;
        refused.ready = false;
        refused.message = LocalizedString(decision.messageId);
        return refused;
    }
    if (decision.outcome == ColorModeDecision::Outcome::Switched)
        ready.message = LocalizedString(decision.messageId);
    ready.colorModeName = decision.modeName;
    ready.colourAllowed = data->m_processColorants > 1;
    return ready;
}
