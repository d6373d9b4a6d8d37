#pragma once
// Where the plot log lives: <per-user data folder>/XomSeriesQ/AutoCAD_PlotLog.dat.
#include <string>

namespace JuxNetwork {

inline constexpr const wchar_t* kPlotLogFolderName = L"XomSeriesQ";
inline constexpr const wchar_t* kPlotLogFileName = L"AutoCAD_PlotLog.dat";

// The base folder is $XDG_DATA_HOME (when absolute), else $HOME/.local/share, else $TMPDIR, $TEMP,
// $TMP, else "/tmp". The sub-folder XomSeriesQ is created when missing (with any missing parents);
// when it cannot be, the file goes straight into the base folder. Empty when there is no usable
// folder.
std::wstring GetPlotLogPath();

}  // namespace JuxNetwork
