#pragma once
// One xomplot run: load a driver build, describe the plotter from its DRC data, and plot a drawing
// through the driver's device exactly as a host does.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "tools/xomplot/DxfDrawing.h"
#include "tools/xomplot/PlotOutcome.h"

namespace xomplot {

// What a user would type into the plot-time prompts, given for one plot on the command line; the
// configuration's own values serve where nothing is given.
struct PlotTimeValues {
    std::optional<std::string> user_name;
    std::optional<std::string> password;
    std::optional<std::string> pin;
    std::optional<std::string> account0;
    std::optional<std::string> account0_password;
    std::optional<std::string> account1;
    std::optional<std::string> account1_password;
    std::optional<std::string> job_name;
    std::optional<int> copies;
};

struct PlotOptions {
    std::string driver_path;
    std::string drawing_path;
    std::string output_file;  // plot to file when not empty
    std::string port;         // else a device path or "|command"
    std::string media;        // DRC names; empty: the DRC's defaults
    std::string resolution;
    std::string color_mode;
    std::string printer;      // printer name in the document info; empty: the driver's file name
    std::string config_name;  // a configuration of xomplot config; empty: none
    PlotTimeValues plot_time;
    std::FILE* messages = stderr;  // errors, meter and drawing progress; null for none
    bool live_progress = false;    // redraw progress in place (a terminal)
    DriverStatusSource* status_source = nullptr;
    // The most bytes the job may take; 0: the limit for the drawing (JobSizeLimit.h). A job that
    // would pass it is given up and the plot fails.
    std::uint64_t max_job_bytes = 0;
    DxfOptions dxf;  // placement and font of a DXF drawing
};

// The generation-15 driver of the build tree that holds this executable, if it exists there.
std::string DefaultDriverPath();
// <driver dir>/<language>/<drc file>; the DRC file name defaults to the driver's name + ".drc".
std::string DrcPath(const std::string& driver_path, const std::string& drc_file = {});

// Plots; the result says complete, empty, cancelled or failed with the status text.
PlotResult RunPlot(const PlotOptions& options);

// Writes the DRC choices (media, resolutions, colour modes, media sources) of a driver to out;
// false with the reason in error when the DRC data cannot be read.
bool ListChoices(const std::string& driver_path, std::FILE* out, std::string& error);

}  // namespace xomplot
