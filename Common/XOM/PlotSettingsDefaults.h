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
    // Raster tone curve: gamma and intensity in percent (identity at 1.0 and 100).
    double rasterGamma = 1.0;
    int rasterIntensity = 100;
    // Raster quality levels from the host configuration, for ordinary images and for images of
    // kind 1 (bitonal): 0 declines the image, 1-5 set a floor under the replication factor of the
    // general road, higher levels none.
    int rasterEnabled = 100;
    int rasterEnabledKind1 = 100;
};

inline DevicePlotSettings CurrentDevicePlotSettings() {
    return DevicePlotSettings{};
}
