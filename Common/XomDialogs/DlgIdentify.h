#pragma once
// The plot identification: the user and the two accounting fields that the printer requires, each
// a button (labelled by the printer's prompt) that runs its selection flow on the settings copy,
// the current valid value or "Please Enter" beside it, and a warning line with what is missing.
#include <string>

#include "Common/XomDialogs/XomDialog.h"
#include "Common/XomSettings/DriverSettings.h"
#include "juxcommoncode/PrinterData/PrinterData.h"

class CDlgIdentify : public CXomDialog {
  public:
    static constexpr unsigned kTemplate = 507;
    static constexpr unsigned kUserButton = 1083, kUserText = 1089;
    static constexpr unsigned kAcct0Button = 1084, kAcct0Text = 1090;
    static constexpr unsigned kAcct1Button = 1086, kAcct1Text = 1091;
    static constexpr unsigned kGroup = 1138, kInstruction = 1142, kWarning = 1144;

    // settings is the plot's copy, edited in place; printerData may be null (all rows hidden).
    CDlgIdentify(DriverSettings& settings, const CXomPrinterData* printerData);

  protected:
    void OnInitDialog() override;
    void OnControl(unsigned id, xomplatform::Notification what) override;

  private:
    void UpdateRows();

    DriverSettings& m_settings;
    const CXomPrinterData* m_data;
};

// The labels of the three rows: the printer's prompts, else "User Name", "Accounting Info 0",
// "Accounting Info 1".
std::wstring IdentifyUserLabel(const CXomPrinterData& data);
std::wstring IdentifyAccountingLabel(const CXomPrinterData& data, std::size_t field);
// The user mode in force: 4 when the settings demand secure print by user, else the printer's.
int EffectiveUserMode(const DriverSettings& settings, const CXomPrinterData& data);

// The plot-time loop: while the settings do not satisfy the printer's rules, the identification
// dialog edits a copy that replaces them on OK. False when the user cancels (or no dialog can be
// shown); then the settings are unchanged.
bool CompletePlotIdentification(DriverSettings& settings, const CXomPrinterData& printerData);
