#include "Common/XomSettings/SettingsKeys.h"

namespace {

#define XOM_LONG_KEY(field)                                \
    SettingsKey {                                          \
        L## #field, false, &DriverSettings::field, nullptr \
    }
#define XOM_TEXT_KEY(field)                               \
    SettingsKey {                                         \
        L## #field, true, nullptr, &DriverSettings::field \
    }

}  // namespace

const std::vector<SettingsKey>& SettingsLoadOrder() {
    static const std::vector<SettingsKey> keys = {
        XOM_TEXT_KEY(LogFilePath),
        XOM_LONG_KEY(PromptAtPlotTime),
        XOM_LONG_KEY(ColorTrapping),
        XOM_LONG_KEY(BlackTrapping),
        XOM_LONG_KEY(ColorMode),
        XOM_LONG_KEY(Brightness),
        XOM_LONG_KEY(GreenRedShift),
        XOM_LONG_KEY(BlueYellowShift),
        XOM_LONG_KEY(PrintExit),
        XOM_TEXT_KEY(MachineName),
        XOM_TEXT_KEY(MachineIpAddress),
        XOM_TEXT_KEY(MachineMacAddress),
        XOM_TEXT_KEY(MachineLocation),
        XOM_TEXT_KEY(MachineDescription),
        XOM_TEXT_KEY(MediaName),
        XOM_TEXT_KEY(StampName),
        XOM_TEXT_KEY(PrintQualityPresetName),
        XOM_TEXT_KEY(FolderPresetName),
        XOM_TEXT_KEY(HpglPresetName),
        XOM_TEXT_KEY(UserName),
        XOM_TEXT_KEY(UserPrompt),
        XOM_TEXT_KEY(UserValidPassword),
        XOM_TEXT_KEY(AcctInfo0Name),
        XOM_TEXT_KEY(AcctInfo0Prompt),
        XOM_TEXT_KEY(AcctInfo0ValidPassword),
        XOM_TEXT_KEY(AcctInfo1Name),
        XOM_TEXT_KEY(AcctInfo1Prompt),
        XOM_TEXT_KEY(AcctInfo1ValidPassword),
        XOM_LONG_KEY(DisableMediaWarning),
        XOM_LONG_KEY(PlotDirectToIpAddress),
        XOM_LONG_KEY(AlignmentType),
        XOM_LONG_KEY(RemoveBorders),
        XOM_TEXT_KEY(DebugHeaderFilePath),
        XOM_LONG_KEY(PutXMLinPlotFile),
        XOM_TEXT_KEY(MachineSnmpCommunity),
        XOM_LONG_KEY(UserPrintSecurity),
    };
    return keys;
}

const std::vector<SettingsKey>& SettingsStoreOrder() {
    static const std::vector<SettingsKey> keys = {
        XOM_LONG_KEY(PromptAtPlotTime),
        XOM_LONG_KEY(ColorTrapping),
        XOM_LONG_KEY(BlackTrapping),
        XOM_LONG_KEY(ColorMode),
        XOM_LONG_KEY(Brightness),
        XOM_LONG_KEY(GreenRedShift),
        XOM_LONG_KEY(BlueYellowShift),
        XOM_LONG_KEY(PrintExit),
        XOM_TEXT_KEY(MachineName),
        XOM_TEXT_KEY(MachineIpAddress),
        XOM_TEXT_KEY(MachineMacAddress),
        XOM_TEXT_KEY(MachineLocation),
        XOM_TEXT_KEY(MachineDescription),
        XOM_TEXT_KEY(MediaName),
        XOM_TEXT_KEY(StampName),
        XOM_TEXT_KEY(PrintQualityPresetName),
        XOM_TEXT_KEY(FolderPresetName),
        XOM_TEXT_KEY(HpglPresetName),
        XOM_TEXT_KEY(UserName),
        XOM_TEXT_KEY(UserPrompt),
        XOM_TEXT_KEY(UserValidPassword),
        XOM_TEXT_KEY(AcctInfo0Name),
        XOM_TEXT_KEY(AcctInfo0Prompt),
        XOM_TEXT_KEY(AcctInfo0ValidPassword),
        XOM_TEXT_KEY(AcctInfo1Name),
        XOM_TEXT_KEY(AcctInfo1Prompt),
        XOM_TEXT_KEY(AcctInfo1ValidPassword),
        XOM_LONG_KEY(DisableMediaWarning),
        XOM_LONG_KEY(PlotDirectToIpAddress),
        XOM_LONG_KEY(AlignmentType),
        XOM_LONG_KEY(RemoveBorders),
        XOM_TEXT_KEY(DebugHeaderFilePath),
        XOM_LONG_KEY(PutXMLinPlotFile),
        XOM_TEXT_KEY(LogFilePath),
        XOM_TEXT_KEY(MachineSnmpCommunity),
        XOM_LONG_KEY(UserPrintSecurity),
    };
    return keys;
}

const SettingsKey* FindSettingsKey(const std::wstring& name) {
    for (const SettingsKey& k : SettingsLoadOrder())
        if (name == k.name) return &k;
    return nullptr;
}
