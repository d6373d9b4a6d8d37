#include "Common/XomDialogs/DlgCustomSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Common/XOM/LocalizedString.h"
#include "Common/XOM/StringIds.h"
#include "Common/XomDialogs/DialogText.h"
#include "Common/XomDialogs/DlgAbout.h"
#include "Common/XomDialogs/DlgDebug.h"
#include "Common/XomDialogs/DlgIdentify.h"
#include "Common/XomDialogs/DlgMoreOptions.h"
#include "Common/XomDialogs/DlgPrinterConnect.h"
#include "Common/XomDialogs/DlgSimpleColorOptions.h"
#include "Common/XomDialogs/SelectionFlows.h"
#include "Common/XomJob/CredentialValidation.h"
#include "Common/XomSettings/SettingsStore.h"
#include "Common/xomOutput/PrinterDataRead.h"
#include "Common/xomOutput/PrinterNetwork.h"
#include "platform/MessageService.h"

namespace {

constexpr unsigned kIdsTitle = 201, kIdsTitleCurrentPlot = 202;
constexpr unsigned kIdsNoPrinter = 212, kIdsMediaNotInstalled = 213, kIdsPinLength = 214;
constexpr unsigned kIdsPleaseEnter = 231, kIdsWaking = 238, kIdsCancelPlot = 244;
constexpr unsigned kIdsMediaType = 247, kIdsFolder = 248, kIdsQuality = 249, kIdsHpgl = 250;
constexpr unsigned kIdsStamp = 251, kIdsExitTray = 254, kIdsTrayDefault = 255;
constexpr unsigned kIdsTrayUnknown = 260, kIdsNone = 261, kIdsInches = 273, kIdsMm = 274;
constexpr unsigned kIdsMediaInstalled = 286, kIdsAlignment = 293, kIdsRemoveBorders = 298;
constexpr unsigned kIdsRoll = 501;
constexpr unsigned kAlignmentIds[] = {294, 295, 296, 297};
constexpr unsigned kBorderIds[] = {261, 299, 300};
constexpr std::int32_t kRollInput = 6;
constexpr std::size_t kPinEditChars = 19;

const std::vector<CSnmpAgent> kNoRecentPrinters;

std::wstring Printf(const wchar_t* format, int value) {
    wchar_t text[32];
    std::swprintf(text, std::size(text), format, value);
    return text;
}

std::wstring TrimLineBreaks(std::wstring text) {
    const auto isBreak = [](wchar_t c) { return c == L'\n' || c == L'\r'; };
    while (!text.empty() && isBreak(text.back())) text.pop_back();
    std::size_t start = 0;
    while (start < text.size() && isBreak(text[start])) ++start;
    return text.substr(start);
}

bool HasAddress(const CSnmpAgent& printer) {
    return !printer.m_address.IsUnspecified();
}

std::wstring PrinterLabel(const CSnmpAgent& printer) {
    return printer.m_sysName.empty() ? printer.m_address.ToAddressText() : printer.m_sysName;
}

const CXomAccountingInformationEntry* Field(const CXomPrinterData& data, std::size_t field) {
    return field < data.m_accountingInformation.size() ? &data.m_accountingInformation[field]
                                                       : nullptr;
}

// A value outside a fixed list shows (and is chosen from) as its first entry.
std::int32_t InList(std::int32_t value, const std::vector<std::wstring>& labels) {
    return value >= 0 && static_cast<std::size_t>(value) < labels.size() ? value : 0;
}

}  // namespace

std::wstring MediaInstalledHeading() {
    return LabelText(kIdsMediaInstalled);
}

std::wstring RollWidthText(std::int32_t units, std::int32_t dimension) {
    double inches = 0;
    if (units == 3) {
        inches = dimension / 10000.0;
    } else if (units == 4) {
        inches = dimension / 25400.0;
    } else {
        return {};
    }
    const double whole = std::floor(inches);
    if (inches >= 1 && inches - whole <= 0.00001)
        return FormatWith(Printf(L"%d ", static_cast<int>(whole)) + L"%s",
                          LocalizedString(kIdsInches));
    if (inches == 8.5) return FormatWith(L"8.5 %s", LocalizedString(kIdsInches));
    const int mm = units == 3 ? static_cast<int>(std::lround(inches * 25.4)) : dimension / 1000;
    return FormatWith(Printf(L"%d ", mm) + L"%s", LocalizedString(kIdsMm));
}

std::wstring MediaInstalledText(const CXomPrinterData& data) {
    std::wstring text;
    const std::wstring roll = LocalizedString(kIdsRoll);
    for (const CXomPrtInputEntry& input : data.m_inputTrays) {
        if (input.m_type != kRollInput) continue;
        text += roll + L" " + input.m_name;
        if (input.m_maxCapacity > 0) {
            const long long percent = static_cast<long long>(input.m_currentLevel) * 100 /
                                      static_cast<long long>(input.m_maxCapacity);
            text += L": " + Printf(L"%d%%", static_cast<int>(std::clamp(percent, 0LL, 100LL)));
        }
        if (const std::wstring width = RollWidthText(input.m_units, input.m_crossFeedDimension);
            !width.empty())
            text += L", " + width;
        text += L", " + input.m_mediaName + L"\n";
    }
    return TrimLineBreaks(text);
}

std::wstring ExitTrayName(std::int32_t printExit) {
    if (printExit < 0 || printExit > 4) return LocalizedString(kIdsTrayUnknown);
    return LocalizedString(kIdsTrayDefault + static_cast<unsigned>(printExit));
}

std::wstring PinDigits(const std::wstring& typed) {
    std::wstring digits;
    for (wchar_t c : typed)
        if (c >= L'0' && c <= L'9' && digits.size() < 4) digits += c;
    return digits;
}

CDlgCustomSettings::CDlgCustomSettings(JuxNetwork::CSnmpManager* manager, CXomMachine& printer,
                                       HT_Std_Plotter_Definition& host)
    : CXomDialog(kTemplate), m_manager(manager), m_printer(printer), m_host(&host) {}

CDlgCustomSettings::CDlgCustomSettings(JuxNetwork::CSnmpManager* manager, CXomMachine& printer,
                                       DriverSettings& settings, bool forCurrentPlot)
    : CXomDialog(kTemplate), m_manager(manager), m_printer(printer), m_target(&settings) {
    m_settings = settings;
    m_settings.ForCurrentPlot = forCurrentPlot;
}

JuxNetwork::CSnmpManager* CDlgCustomSettings::Manager() const {
    return m_manager != nullptr ? m_manager : PrinterNetwork();
}

void CDlgCustomSettings::SetBusy(bool busy) {
    m_busy = busy;
    W().SetWaitCursor(busy);
}

void CDlgCustomSettings::OnInitDialog() {
    // StartSnmpManager has told the user when the manager will not start.
    if (m_manager == nullptr && JuxNetwork::Failed(StartSnmpManager())) {
        PostToSelf([this] { EndDialog(IDCANCEL); });
        return;
    }
    if (m_host != nullptr) LoadSettings(m_settings, *m_host);
    m_printerAtStart = static_cast<const CSnmpAgent&>(m_printer);

    W().Show(kLanguageButton, false);
    W().Show(kLanguageText, false);
    for (unsigned id : kAlignmentIds) m_alignments.push_back(LocalizedString(id));
    for (unsigned id : kBorderIds) m_borderMethods.push_back(LocalizedString(id));
    W().SetTitle(LocalizedString(m_settings.ForCurrentPlot ? kIdsTitleCurrentPlot : kIdsTitle));
    if (m_settings.ForCurrentPlot) W().SetText(IDCANCEL, LocalizedString(kIdsCancelPlot));
    W().SetText(kPin, m_settings.JobPin);

    UpdateAllRows();
    UpdateStatus();
    // Not "Cannot connect" before the printer was even asked.
    if (HasAddress(m_printer) && Data() == nullptr) W().SetText(kStatus, L" ");
    PostToSelf([this] { LoadPrinterData(); });
}

void CDlgCustomSettings::LoadPrinterData() {
    SetBusy(true);
    const bool read = JuxNetwork::Succeeded(ReadPrinterData(m_printer));
    SetBusy(false);
    UpdateAllRows();
    UpdateStatus();
    if (read) return;
    if (!HasAddress(m_printer) || m_printer.m_physicalAddress.empty()) {
        ChoosePrinter();
        return;
    }
    // A plot that does not prompt does not wait for a printer to wake.
    if (m_settings.ForCurrentPlot && m_settings.PromptAtPlotTime == 0) return;
    ShowWaking();
    PostToSelf([this] { WakePrinter(); });
}

void CDlgCustomSettings::ShowWaking() {
    m_panel = LocalizedString(kIdsWaking) + L" . . .";
    W().SetText(kPanel, m_panel);
    W().SetText(kStatus, L" ");
}

void CDlgCustomSettings::WakePrinter() {
    ShowWaking();
    m_waking = true;
    SetBusy(true);
    JuxNetwork::CSnmpManager* manager = Manager();
    if (manager == nullptr || !manager->WakePrinter(m_printer.m_physicalAddress)) {
        EndWaking();
        return;
    }
    m_panel += L" .";
    W().SetText(kPanel, m_panel);
    m_wakeRound = 0;
    // Each read is a step of its own, so that Cancel is seen between them.
    PostToSelf([this] { WakeRound(); });
}

void CDlgCustomSettings::WakeRound() {
    // Cancel or the Printer button stopped the waking.
    if (!m_waking) {
        EndWaking();
        return;
    }
    if (JuxNetwork::Succeeded(ReadPrinterData(m_printer)) || ++m_wakeRound >= kWakeRounds) {
        EndWaking();
        return;
    }
    m_panel += L" .";
    W().SetText(kPanel, m_panel);
    PostToSelf([this] { WakeRound(); });
}

void CDlgCustomSettings::EndWaking() {
    m_waking = false;
    UpdateAllRows();
    UpdateStatus();
    SetBusy(false);
}

void CDlgCustomSettings::ChoosePrinter() {
    if (m_waking) EndWaking();
    CXomDlgSnmpAgentConnect connect(Manager(), m_printer, kNoRecentPrinters);
    if (connect.DoModal() != IDOK) return;
    m_printer.m_printerData.reset();
    SetBusy(true);
    ReadPrinterData(m_printer);
    SetBusy(false);
    UpdateStatus();
    UpdateAllRows();
}

void CDlgCustomSettings::UpdateStatus() {
    W().SetText(kStatus, L" ");
    m_panel = L" ";
    if (!HasAddress(m_printer)) {
        W().SetText(kPrinterText, LocalizedString(kIdsNone));
        W().SetText(kStatus, LocalizedString(kIdsNoPrinter));
        W().SetText(kPanel, m_panel);
        return;
    }
    W().SetText(kPrinterText, PrinterLabel(m_printer));
    if (Data() == nullptr) {
        W().SetText(kStatus, LocalizedString(IDS_CANNOT_CONNECT));
    } else {
        W().SetText(kStatus, MediaInstalledHeading());
        m_panel = MediaInstalledText(*Data());
    }
    W().SetText(kPanel, m_panel);
}

void CDlgCustomSettings::UpdateAllRows() {
    static constexpr unsigned kGroups[] = {kIdentGroup, kMediaGroup, kAdjustGroup};
    static constexpr unsigned kButtons[] = {
        kUserButton,  kAcct0Button,   kAcct1Button,  kStampButton, kMediaButton,
        kAlignButton, kBordersButton, kFolderButton, kTrayButton,  kQualityButton,
        kHpglButton,  kColorButton,   kMoreButton};
    static constexpr unsigned kTexts[] = {
        kUserText,   kAcct0Text, kAcct1Text,   kStampText, kMediaText, kAlignText, kBordersText,
        kFolderText, kTrayText,  kQualityText, kHpglText,  kColorText, kMoreText};
    const CXomPrinterData* data = Data();
    for (unsigned id : kGroups) W().Enable(id, data != nullptr);
    if (data == nullptr) {
        for (unsigned id : kButtons) W().Enable(id, false);
        for (unsigned id : {kUserButton, kAcct0Button, kAcct1Button}) W().SetText(id, L"");
        for (unsigned id : kTexts) W().Show(id, false);
        W().Enable(kPinLabel, false);
        W().Enable(kPin, false);
        W().Show(kUserSecurity, false);
        return;
    }
    for (unsigned id : kButtons) W().Enable(id, true);
    m_settings.UserPrompt = IdentifyUserLabel(*data);
    m_settings.AcctInfo0Prompt = IdentifyAccountingLabel(*data, 0);
    m_settings.AcctInfo1Prompt = IdentifyAccountingLabel(*data, 1);
    W().SetText(kUserButton, m_settings.UserPrompt);
    W().SetText(kAcct0Button, m_settings.AcctInfo0Prompt);
    W().SetText(kAcct1Button, m_settings.AcctInfo1Prompt);
    W().SetText(kUserSecurity, m_settings.UserPrompt);
    UpdateIdentification();
    UpdateSecurity();

    if (m_settings.MediaName.empty() && !data->m_media.empty())
        m_settings.MediaName = data->m_media.front().m_name;
    const auto listRow = [&](unsigned button, unsigned text, bool empty,
                             const std::wstring& value) {
        W().Enable(button, !empty);
        W().Show(text, !empty);
        W().SetText(text, value);
    };
    listRow(kStampButton, kStampText, data->m_stamps.empty(), m_settings.StampName);
    listRow(kMediaButton, kMediaText, data->m_media.empty(), m_settings.MediaName);
    listRow(kFolderButton, kFolderText, data->m_folderPresets.empty(), m_settings.FolderPresetName);
    listRow(kTrayButton, kTrayText, data->m_exitTrayLocations.empty(),
            ExitTrayName(m_settings.PrintExit));
    listRow(kQualityButton, kQualityText, data->m_printQualityPresets.empty(),
            m_settings.PrintQualityPresetName);
    listRow(kHpglButton, kHpglText, data->m_hpglPresets.empty(), m_settings.HpglPresetName);
    listRow(kAlignButton, kAlignText, false,
            m_alignments[static_cast<std::size_t>(InList(m_settings.AlignmentType, m_alignments))]);
    listRow(kBordersButton, kBordersText, false,
            m_borderMethods[static_cast<std::size_t>(
                InList(m_settings.RemoveBorders, m_borderMethods))]);
    // The colour and more-options rows open dialogs of their own; their value texts stay empty.
    listRow(kColorButton, kColorText, false, L"");
    listRow(kMoreButton, kMoreText, false, L"");
    W().Enable(kColorButton, data->m_processColorants >= 2);
}

void CDlgCustomSettings::UpdateIdentification() {
    const CXomPrinterData& data = *Data();
    const OctetArray& salt = data.m_userAccounting.m_sessionSalt;
    const DriverSettings& s = m_settings;
    std::wstring message;
    const bool user = ValidateUser(EffectiveUserMode(s, data), s.UserName, s.UserValidPassword,
                                   s.UserPrompt, message, data.m_users, salt);
    const CXomAccountingInformationEntry* field0 = Field(data, 0);
    const CXomAccountingInformationEntry* field1 = Field(data, 1);
    const bool acct0 =
        field0 != nullptr &&
        ValidateAccountingField(field0->m_access, s.AcctInfo0Name, s.AcctInfo0ValidPassword,
                                s.AcctInfo0Prompt, message, data.m_accountingChildren1, salt);
    const bool acct1 =
        field1 != nullptr &&
        ValidateAccountingField(field1->m_access, s.AcctInfo1Name, s.AcctInfo1ValidPassword,
                                s.AcctInfo1Prompt, message, data.m_accountingChildren2, salt);
    const std::wstring pleaseEnter = LocalizedString(kIdsPleaseEnter);
    W().SetText(kUserText, user ? s.UserName : pleaseEnter);
    W().SetText(kAcct0Text, acct0 ? s.AcctInfo0Name : pleaseEnter);
    W().SetText(kAcct1Text, acct1 ? s.AcctInfo1Name : pleaseEnter);
    for (unsigned id : {kUserText, kAcct0Text, kAcct1Text}) W().Show(id, true);
}

void CDlgCustomSettings::UpdateSecurity() {
    const bool byUser = m_settings.UserPrintSecurity == 1;
    W().Show(kUserSecurity, true);
    W().SetCheck(kUserSecurity, byUser);
    W().Enable(kPinLabel, !byUser);
    W().Enable(kPin, !byUser);
    if (byUser) {
        m_settings.JobPin.clear();
        W().SetText(kPin, L"");
    } else if (PinDigits(W().GetText(kPin)) != m_settings.JobPin) {
        W().SetText(kPin, m_settings.JobPin);
    }
}

std::wstring CDlgCustomSettings::PinFromEdit() {
    return PinDigits(W().GetText(kPin));
}

void CDlgCustomSettings::PinChanged() {
    const std::wstring text = W().GetText(kPin).substr(0, kPinEditChars);
    const std::wstring code = kDebugCode;
    if (code.starts_with(text)) {
        m_settings.JobPin.clear();  // no digit in a start of the code
        if (text == code) {
            W().SetText(kPin, L"");
            CDlgDebug debug(m_settings);
            debug.DoModal();
        }
        return;
    }
    const std::wstring digits = PinDigits(text);
    if (digits != W().GetText(kPin)) {
        W().SetText(kPin, digits);
        W().SetCaret(kPin, static_cast<int>(digits.size()));
        xomplatform::Beep();
    }
    m_settings.JobPin = digits;
}

bool CDlgCustomSettings::Choose(unsigned id) {
    const CXomPrinterData& data = *Data();
    DriverSettings& s = m_settings;
    const OctetArray& salt = data.m_userAccounting.m_sessionSalt;
    std::uint32_t result = kFlowCancelled;
    switch (id) {
        case kUserButton:
            result = SelectUserFlow(s.UserName, s.UserValidPassword, data.m_users,
                                    EffectiveUserMode(s, data), s.UserPrompt, salt);
            break;
        case kAcct0Button:
        case kAcct1Button: {
            const std::size_t field = id == kAcct0Button ? 0 : 1;
            if (Field(data, field) == nullptr) return false;
            result = field == 0
                         ? SelectAccountingFlow(s.AcctInfo0Name, s.AcctInfo0ValidPassword,
                                                data.m_accountingChildren1,
                                                Field(data, 0)->m_access, s.AcctInfo0Prompt, salt)
                         : SelectAccountingFlow(s.AcctInfo1Name, s.AcctInfo1ValidPassword,
                                                data.m_accountingChildren2,
                                                Field(data, 1)->m_access, s.AcctInfo1Prompt, salt);
            break;
        }
        case kStampButton:
            result = SelectTableFlow(s.StampName, EntryNames(data.m_stamps),
                                     LocalizedString(kIdsStamp), L"");
            break;
        case kMediaButton:
            result = SelectMediaFlow(s.MediaName, data.m_media, LocalizedString(kIdsMediaType));
            break;
        case kAlignButton:
            s.AlignmentType = InList(s.AlignmentType, m_alignments);
            result = SelectFixedFlow(s.AlignmentType, m_alignments, LocalizedString(kIdsAlignment));
            break;
        case kBordersButton:
            s.RemoveBorders = InList(s.RemoveBorders, m_borderMethods);
            result = SelectFixedFlow(s.RemoveBorders, m_borderMethods,
                                     LocalizedString(kIdsRemoveBorders));
            break;
        case kFolderButton:
            result = SelectTableFlow(s.FolderPresetName, EntryNames(data.m_folderPresets),
                                     LocalizedString(kIdsFolder), L"");
            break;
        case kTrayButton: {
            // The printer gives only the trays' values; their names are the driver's.
            std::vector<CXomExitTrayLocationEntry> trays = data.m_exitTrayLocations;
            for (CXomExitTrayLocationEntry& tray : trays)
                if (tray.m_name.empty()) tray.m_name = ExitTrayName(tray.m_value);
            result = SelectExitTrayFlow(s.PrintExit, trays, LocalizedString(kIdsExitTray));
            break;
        }
        case kQualityButton: {
            const std::vector<std::wstring> names = EntryNames(data.m_printQualityPresets);
            result = SelectTableFlow(s.PrintQualityPresetName, names, LocalizedString(kIdsQuality),
                                     PresetDefault(names));
            break;
        }
        case kHpglButton: {
            const std::vector<std::wstring> names = EntryNames(data.m_hpglPresets);
            result = SelectTableFlow(s.HpglPresetName, names, LocalizedString(kIdsHpgl),
                                     PresetDefault(names));
            break;
        }
        default:
            return false;
    }
    return result == kFlowChosen;
}

void CDlgCustomSettings::OnControl(unsigned id, xomplatform::Notification what) {
    if (id == kPin) {
        if (what == xomplatform::Notification::Changed) PinChanged();
        return;
    }
    if (what != xomplatform::Notification::Clicked) return;
    switch (id) {
        case kPrinterButton:
            ChoosePrinter();
            return;
        case kAboutButton: {
            CDlgAbout about(&m_settings, &m_printer);
            about.DoModal();
            return;
        }
        case kUserSecurity:
            m_settings.UserPrintSecurity = W().GetCheck(kUserSecurity) ? 1 : 0;
            if (Data() != nullptr) {
                UpdateIdentification();
                UpdateSecurity();
            }
            return;
        case kColorButton: {
            CDlgSimpleColorOptions colors(m_settings);
            colors.DoModal();
            return;
        }
        case kMoreButton: {
            CDlgMoreOptions more(m_settings);
            more.DoModal();
            return;
        }
        default:
            break;
    }
    if (Data() == nullptr) return;
    Choose(id);
    UpdateAllRows();
}

bool CDlgCustomSettings::MediaInstalledOrAccepted() {
    for (;;) {
        const CXomPrinterData* data = Data();
        if (m_settings.DisableMediaWarning != 0 || data == nullptr) return true;
        const auto& inputs = data->m_inputTrays;
        if (std::any_of(inputs.begin(), inputs.end(), [&](const CXomPrtInputEntry& input) {
                return input.m_mediaName == m_settings.MediaName;
            }))
            return true;
        switch (xomplatform::AskCancelTryContinue(LocalizedString(kIdsMediaNotInstalled),
                                                  LocalizedString(IDS_PRINTER_MESSAGE),
                                                  xomplatform::MessageIcon::Warning)) {
            case xomplatform::MessageAnswer::Continue:
                return true;
            case xomplatform::MessageAnswer::TryAgain:
                Choose(kMediaButton);
                UpdateAllRows();
                return false;
            case xomplatform::MessageAnswer::Cancel:
                return false;
        }
    }
}

void CDlgCustomSettings::OnOK() {
    const std::wstring pin = PinFromEdit();
    if (!pin.empty() && pin.size() != 4) {
        xomplatform::ShowMessage(LocalizedString(kIdsPinLength),
                                 LocalizedString(IDS_PRINTER_MESSAGE),
                                 xomplatform::MessageIcon::Stop);
        return;
    }
    m_settings.JobPin = m_settings.UserPrintSecurity == 1 ? std::wstring() : pin;
    if (!MediaInstalledOrAccepted()) return;
    m_waking = false;
    if (m_host != nullptr) {
        // The colour mode stored with the settings comes from the printer data: store first.
        StoreSettings(m_settings, *m_host);
        Discard();
    } else {
        *m_target = m_settings;
    }
    EndDialog(IDOK);
}

void CDlgCustomSettings::OnCancel() {
    if (m_waking) {
        m_waking = false;
        return;
    }
    Discard();
    // Nothing of this session stays: not even another printer chosen with the Printer button.
    static_cast<CSnmpAgent&>(m_printer) = m_printerAtStart;
    EndDialog(IDCANCEL);
}

void CDlgCustomSettings::Discard() {
    m_printer.m_printerData.reset();
}
