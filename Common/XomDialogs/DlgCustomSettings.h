#pragma once
// The driver's main dialog: the linked printer and its status, the plot identification, media,
// alignment, borders, folding, exit tray, quality and HP-GL presets, colour and more options and
// the secure-print PIN. Every list comes from the linked printer's data; without it the rows are
// disabled. It edits either the stored configuration (the host's custom data, written on OK) or a
// caller's copy for the current plot only (copied back on OK). Cancel stores nothing.
#include <string>
#include <vector>

#include "Common/XomDialogs/XomDialog.h"
#include "Common/XomSettings/DriverSettings.h"
#include "hdi/HT_Plotter_Definition.h"
#include "juxcommoncode/JuxNetwork/SnmpManager.h"
#include "juxcommoncode/PrinterData/XomMachine.h"

class CDlgCustomSettings : public CXomDialog {
  public:
    static constexpr unsigned kTemplate = 501;
    static constexpr unsigned kPrinterGroup = 1139, kPrinterButton = 1098, kPrinterText = 1081;
    static constexpr unsigned kStatus = 1177, kPanel = 1080;
    static constexpr unsigned kIdentGroup = 1138;
    static constexpr unsigned kUserButton = 1083, kUserText = 1089;
    static constexpr unsigned kAcct0Button = 1084, kAcct0Text = 1090;
    static constexpr unsigned kAcct1Button = 1086, kAcct1Text = 1091;
    static constexpr unsigned kStampButton = 1088, kStampText = 1092;
    static constexpr unsigned kMediaGroup = 1097;
    static constexpr unsigned kMediaButton = 1133, kMediaText = 1132;
    static constexpr unsigned kAlignButton = 1135, kAlignText = 1134;
    static constexpr unsigned kBordersButton = 1140, kBordersText = 1137;
    static constexpr unsigned kFolderButton = 1197, kFolderText = 1198;
    static constexpr unsigned kTrayButton = 1205, kTrayText = 1206;
    static constexpr unsigned kAdjustGroup = 1166;
    static constexpr unsigned kQualityButton = 1203, kQualityText = 1204;
    static constexpr unsigned kHpglButton = 1199, kHpglText = 1201;
    static constexpr unsigned kColorButton = 1200, kColorText = 1202;
    static constexpr unsigned kMoreButton = 1207, kMoreText = 1208;
    static constexpr unsigned kSecurityGroup = 1278, kUserSecurity = 1279;
    static constexpr unsigned kPinLabel = 1247, kPin = 1212;
    static constexpr unsigned kLanguageButton = 1209, kLanguageText = 1210;
    static constexpr unsigned kAboutButton = 1052;
    // Reads after the one wake-up packet before the dialog gives up on a sleeping printer.
    static constexpr int kWakeRounds = 7;

    // Edits the stored configuration of host. manager may be null: the driver's own is used.
    CDlgCustomSettings(JuxNetwork::CSnmpManager* manager, CXomMachine& printer,
                       HT_Std_Plotter_Definition& host);
    // Edits settings, the caller's record; forCurrentPlot marks the copy of one plot (the caption
    // and the Cancel button say so, and a sleeping printer is not woken unless prompting is on).
    CDlgCustomSettings(JuxNetwork::CSnmpManager* manager, CXomMachine& printer,
                       DriverSettings& settings, bool forCurrentPlot);

    // The record being edited.
    const DriverSettings& Settings() const { return m_settings; }

  protected:
    void OnInitDialog() override;
    void OnControl(unsigned id, xomplatform::Notification what) override;
    void OnOK() override;
    void OnCancel() override;

  private:
    JuxNetwork::CSnmpManager* Manager() const;
    const CXomPrinterData* Data() const { return m_printer.m_printerData.get(); }
    void SetBusy(bool busy);

    void LoadPrinterData();
    void WakePrinter();
    void WakeRound();
    void EndWaking();
    void ChoosePrinter();

    void UpdateAllRows();
    void UpdateIdentification();
    void UpdateSecurity();
    void UpdateStatus();
    void ShowWaking();

    void PinChanged();
    std::wstring PinFromEdit();
    bool Choose(unsigned id);
    bool MediaInstalledOrAccepted();
    void Discard();

    JuxNetwork::CSnmpManager* m_manager;
    CXomMachine& m_printer;
    HT_Std_Plotter_Definition* m_host = nullptr;
    DriverSettings* m_target = nullptr;
    DriverSettings m_settings;
    // The printer as the dialog found it: Cancel puts it back after the Printer button changed it.
    CSnmpAgent m_printerAtStart;
    std::vector<std::wstring> m_alignments;
    std::vector<std::wstring> m_borderMethods;
    std::wstring m_panel;
    int m_wakeRound = 0;
    bool m_busy = false;
    bool m_waking = false;
};

// The heading of the installed media ("Media installed in printer:") and the lines of the panel:
// one per roll input with its fill level, width and loaded media.
std::wstring MediaInstalledHeading();
std::wstring MediaInstalledText(const CXomPrinterData& data);
// A roll's width from its dimension in ten-thousandths of an inch (units 3) or micrometres
// (units 4): whole inches and 8.5 in inches, anything else in millimetres; empty for other units.
std::wstring RollWidthText(std::int32_t units, std::int32_t dimension);
// The name shown for an output tray value (PrintExit).
std::wstring ExitTrayName(std::int32_t printExit);

// What the PIN edit keeps of typed text: the digits, at most 4.
std::wstring PinDigits(const std::wstring& typed);
// The hidden code that opens the debug options from the PIN edit.
inline constexpr const wchar_t* kDebugCode = L"wobnerit";
