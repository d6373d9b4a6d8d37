#pragma once
// The settings the device reads while plotting, at the values a new settings record starts with.
// The settings store (loaded from the host's per-printer custom data at every plot) takes over
// these reads; until then every plot uses these values.
#include <string>

struct DevicePlotSettings {
    // Transparency and merge mode 1 ("TR1MC1") instead of 0.
    bool mergeControl = false;
    // The XML job ticket goes into plot files too, not only to printers.
    bool putXmlInPlotFile = false;
    // When not empty, each plot writes its job ticket and PJL header to this file.
    std::wstring debugHeaderFilePath;
    // Send the job over TCP to the printer's address instead of the host's output.
    bool plotDirectToIpAddress = false;
    // 0: the linked printer prints colour (colour output allowed); 1: monochrome only.
    int colorMode = 0;
};

inline DevicePlotSettings CurrentDevicePlotSettings() {
    return DevicePlotSettings{};
}
