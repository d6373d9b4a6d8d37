#pragma once
// DriverSettings: every choice the driver makes for one configured printer. The persistent fields
// are kept in the host's per-printer configuration as custom data items named after the fields
// (SettingsStore.h); the run-time fields are filled by the device for the current job. A plain
// value: the dialogs work on copies and assign them back.
#include <cstdint>
#include <string>

struct DriverSettings {
    std::int32_t PromptAtPlotTime = 0;
    std::int32_t ColorTrapping = 0;
    std::int32_t BlackTrapping = 0;
    // 1: the linked printer prints monochrome only (or nothing is known of it); 0: colour.
    std::int32_t ColorMode = 0;
    std::int32_t Brightness = 0;  // -60 to 60
    std::int32_t GreenRedShift = 0;
    std::int32_t BlueYellowShift = 0;
    std::int32_t PrintExit = 0;  // 0 default, 1 top, 2 rear, 3 front, 4 below
    std::wstring MachineName;
    std::wstring MachineIpAddress;   // without port or scope
    std::wstring MachineMacAddress;  // "00-1A-2B-3C-4D-5E"
    std::wstring MachineLocation;
    std::wstring MachineDescription;
    std::wstring MediaName;
    std::wstring StampName;
    std::wstring PrintQualityPresetName;
    std::wstring FolderPresetName;
    std::wstring HpglPresetName;
    std::wstring UserName;
    std::wstring UserPrompt;
    std::wstring UserValidPassword;  // plain text, input of the user's token
    std::wstring AcctInfo0Name;
    std::wstring AcctInfo0Prompt;
    std::wstring AcctInfo0ValidPassword;
    std::wstring AcctInfo1Name;
    std::wstring AcctInfo1Prompt;
    std::wstring AcctInfo1ValidPassword;
    std::int32_t DisableMediaWarning = 0;
    std::int32_t PlotDirectToIpAddress = 0;
    std::int32_t AlignmentType = 0;  // 0 default, 1 left, 2 center, 3 right
    std::int32_t RemoveBorders = 0;  // 0 none, 1 all sides, 2 trailing edge
    std::wstring DebugHeaderFilePath;
    std::int32_t PutXMLinPlotFile = 0;
    std::wstring LogFilePath;
    std::wstring MachineSnmpCommunity;
    std::int32_t UserPrintSecurity = 0;

    // Run-time fields, not persisted.
    // Raster tone curve: gamma and intensity in percent (identity at 1.0 and 100).
    double RasterGamma = 1.0;
    std::int32_t RasterIntensity = 100;
    bool MergeControl = false;  // raster transparency and merge mode 1
    // Raster quality levels from the host configuration, for ordinary images and for images of
    // kind 1 (bitonal): 0 declines the image, 1-5 set a floor under the replication factor of the
    // general road, higher levels none.
    std::int32_t RasterEnabled = 0;
    std::int32_t RasterEnabledKind1 = 0;
    std::int32_t NumberOfCopies = 1;
    std::wstring JobName = L"AutoCAD Drawing";
    std::wstring JobPin;  // mirrored with the process-wide current PIN
    bool ForCurrentPlot = false;
};

// The drawing name a job carries when the host gives none.
inline constexpr const wchar_t* kDefaultJobName = L"AutoCAD Drawing";

// The process-wide record of the plot (one plot at a time; not locked).
DriverSettings& CurrentDriverSettings();
