// xomplot: the command-line host. Loads a driver build and plots a drawing to a file or a port.
// The plot is the main command; further commands (for example "xomplot log") are subcommands.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <clocale>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <exception>

#include "hdi/HT_Host_Info.h"
#include "platform/MessageService.h"
#include "tools/xomplot/ConfigCommands.h"
#include "tools/xomplot/ConfigEdit.h"
#include "tools/xomplot/ConfigLink.h"
#include "tools/xomplot/JobSizeLimit.h"
#include "tools/xomplot/PlotLogAccess.h"
#include "tools/xomplot/PlotRun.h"
#include "tools/xomplot/PreviewCommand.h"
#include "tools/xomplot/PrintersCommand.h"

namespace {
const char* kExitText =
    "Exit status: 0 plot complete, 1 plot failed (also a bad drawing, DRC data or driver), "
    "2 plot empty, 3 plot cancelled (Ctrl-C), 64 bad command line.";
}

// Whatever escapes (out of memory, a library's exception) ends the run as a failure with its
// reason, never as an abort without a word.
int main(int argc, char** argv) try {
    std::setlocale(LC_ALL, "");
    // A destination that goes away (a FIFO's reader, a print command) is a failed write that the
    // plot reports, never the end of xomplot.
    std::signal(SIGPIPE, SIG_IGN);
    // Likewise a file-size limit: the write fails with EFBIG and the plot says so.
    std::signal(SIGXFSZ, SIG_IGN);
    xomplot::PlotOptions opt;
    bool list = false;
    std::string language;

    CLI::App app{"xomplot - plot a drawing through a Q Series HDI driver build"};
    app.footer(kExitText);
    app.add_option("--driver", opt.driver_path,
                   "The driver build to load (default: drivers/xomq15.hdi of this build tree)");
    app.add_option("drawing", opt.drawing_path,
                   "The drawing to plot (see README, \"Drawing format\")");
    auto* out = app.add_option("-o,--output", opt.output_file, "Plot to this file");
    auto* port = app.add_option(
        "--port", opt.port, "Plot to a port: a device path, or \"|command\" for a print command");
    out->excludes(port);
    port->excludes(out);
    app.add_option("--media", opt.media,
                   "Media size by its DRC name (default from the DRC data: ISO_A4)");
    app.add_option("--resolution", opt.resolution, "Resolution by its DRC name (default 600_DPI)");
    app.add_option("--color-mode", opt.color_mode, "Colour mode by its DRC name (default Color)");
    app.add_option("--printer", opt.printer,
                   "Printer name in the document info (default: the driver's name)");
    app.add_option("--language", language, "Language folder of the DRC data (default en-US)");
    std::uint64_t maxJobMb = 0;
    app.add_option("--max-job-mb", maxJobMb,
                   "Give the plot up when its job would exceed this many MB (default: 4 MB, or "
                   "1,000 bytes per drawing byte, plus 4 bytes per image dot)")
        ->check(CLI::Range(std::uint64_t{1}, xomplot::kMaxJobLimitMb));
    app.add_option("--config", opt.config_name,
                   "Plot with this printer configuration (see 'xomplot config list')");
    // Plot-time values for this plot only; the configuration's values serve otherwise.
    auto plotTime = [&](const char* name, std::optional<std::string>& target, const char* help) {
        app.add_option_function<std::string>(
               name, [&target](const std::string& v) { target = v; }, help)
            ->group("Plot-time values (this plot only)");
    };
    plotTime("--user", opt.plot_time.user_name, "User name sent with the job");
    plotTime("--password", opt.plot_time.password, "The user's password (for the job's token)");
    plotTime("--pin", opt.plot_time.pin, "4-character PIN for secure printing");
    plotTime("--account0", opt.plot_time.account0, "Value of the first accounting field");
    plotTime("--account0-password", opt.plot_time.account0_password,
             "Password of the first accounting value");
    plotTime("--account1", opt.plot_time.account1, "Value of the second accounting field");
    plotTime("--account1-password", opt.plot_time.account1_password,
             "Password of the second accounting value");
    plotTime("--job-name", opt.plot_time.job_name, "Job name (default: the drawing's name)");
    app.add_option_function<int>(
           "--copies", [&](const int& n) { opt.plot_time.copies = n; }, "Number of copies")
        ->check(CLI::Range(1, 999))
        ->group("Plot-time values (this plot only)");
    // DXF drawings: where the model goes on the sheet.
    std::string dxfScale, dxfWindow, dxfRotate = "auto";
    bool dxfFit = false;
    auto* fitFlag = app.add_flag("--fit", dxfFit,
                                 "DXF: fit the model (or --window) to the printable area, centred "
                                 "(the default)")
                        ->group("DXF drawings");
    app.add_option("--scale", dxfScale, "DXF: plot to scale 1:N (drawing units from $INSUNITS)")
        ->group("DXF drawings")
        ->excludes(fitFlag);
    app.add_option("--window", dxfWindow, "DXF: plot only x0,y0,x1,y1 of the model (drawing units)")
        ->group("DXF drawings");
    app.add_option("--rotate", dxfRotate,
                   "DXF: auto (turn when that suits the sheet better), 0 or 90 [auto]")
        ->group("DXF drawings");
    app.add_option("--font", opt.dxf.font,
                   "DXF: the font of texts, a fontconfig pattern [DejaVu Sans]")
        ->group("DXF drawings");
    app.add_flag("--list", list,
                 "List the media sizes, resolutions and colour modes of the driver's DRC data");
    // Subcommands; a plot is the command line without one.
    std::string logFile;
    CLI::App* logCmd = app.add_subcommand(
        "log",
        "Show the plot log of the last ten plots, newest first (labels from --driver's "
        "string table)");
    logCmd->add_option("--file", logFile,
                       "Read this plot log file instead of the user's "
                       "($XDG_DATA_HOME/XomSeriesQ/AutoCAD_PlotLog.dat)");
    CLI::App* configCmd =
        app.add_subcommand("config", "List, show and change printer configurations");
    configCmd->add_subcommand("list", "List the configurations");
    std::string configName, configKey, configValue;
    CLI::App* showCmd = configCmd->add_subcommand("show", "Show every item of a configuration");
    showCmd->add_option("NAME", configName, "Configuration name")->required();
    CLI::App* setCmd = configCmd->add_subcommand("set", "Change one item (creates the file)");
    setCmd->add_option("NAME", configName, "Configuration name")->required();
    setCmd
        ->add_option("KEY", configKey,
                     "A settings key of the DRC data, or media, resolution, color_mode")
        ->required();
    setCmd->add_option("VALUE", configValue, "The new value")->required();
    std::string linkAddress, linkCommunity;
    CLI::App* linkCmd = configCmd->add_subcommand(
        "link",
        "Link a configuration to the printer at ADDRESS: asks the printer who it is and stores its "
        "address, name, description, location, MAC address and community");
    linkCmd->add_option("NAME", configName, "Configuration name")->required();
    linkCmd->add_option("ADDRESS", linkAddress, "The printer's IPv4 or IPv6 address")->required();
    linkCmd->add_option("--community", linkCommunity,
                        "SNMP community of the printer (default: tamsel)");
    CLI::App* editCmd = configCmd->add_subcommand(
        "edit",
        "Open the driver's settings dialog on a configuration (needs a display); OK saves it "
        "(exit 0), Cancel saves nothing (exit 3), no display: exit 69");
    editCmd->add_option("NAME", configName, "Configuration name")->required();
    configCmd->require_subcommand(1);
    xomplot::PreviewOptions preview;
    CLI::App* previewCmd = xomplot::AddPreviewCommand(app, preview);
    xomplot::PrintersOptions printersOptions;
    const xomplot::PrintersCommand printers = xomplot::AddPrintersCommand(app, printersOptions);
    app.require_subcommand(0, 1);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return xomplot::kExitUsage;
    }
    if (!language.empty()) HT_Set_Language(std::wstring(language.begin(), language.end()));
    if (opt.driver_path.empty()) opt.driver_path = xomplot::DefaultDriverPath();

    if (configCmd->parsed()) {
        if (showCmd->parsed())
            return xomplot::ConfigShow(opt.driver_path, configName, stdout, stderr);
        if (setCmd->parsed())
            return xomplot::ConfigSet(opt.driver_path, configName, configKey, configValue, stdout,
                                      stderr);
        if (linkCmd->parsed())
            return xomplot::ConfigLink(opt.driver_path, configName, linkAddress, linkCommunity,
                                       stdout, stderr);
        if (editCmd->parsed())
            return xomplot::ConfigEdit(opt.driver_path, configName, stdout, stderr);
        return xomplot::ConfigList(stdout, stderr);
    }
    if (previewCmd->parsed()) return xomplot::RunPreview(preview);
    if (printers.discover->parsed()) return xomplot::RunDiscover(printersOptions, stdout, stderr);
    if (printers.wake->parsed()) return xomplot::RunWake(printersOptions, stdout, stderr);
    if (printers.info->parsed()) return xomplot::RunInfo(printersOptions, stdout, stderr);
    if (logCmd->parsed()) {
        std::vector<std::wstring> lines;
        std::wstring error;
        if (!xomplot::PlotLogLines(opt.driver_path, logFile, lines, error)) {
            std::fprintf(stderr, "xomplot: %s\n", xomplatform::ToUtf8(error).c_str());
            return static_cast<int>(xomplot::PlotOutcome::Failed);
        }
        if (lines.empty()) std::printf("The plot log is empty.\n");
        for (const auto& line : lines) std::printf("%s\n", xomplatform::ToUtf8(line).c_str());
        return 0;
    }
    if (list) {
        std::string error;
        if (!xomplot::ListChoices(opt.driver_path, stdout, error)) {
            std::fprintf(stderr, "xomplot: %s\n", error.c_str());
            return static_cast<int>(xomplot::PlotOutcome::Failed);
        }
        return 0;
    }
    // Without -o or --port only a configuration can say where the plot goes (directly to its
    // printer); RunPlot checks that it does.
    if (opt.drawing_path.empty() ||
        (opt.output_file.empty() && opt.port.empty() && opt.config_name.empty())) {
        std::fprintf(stderr,
                     "xomplot: give a drawing and -o FILE, --port TARGET or --config NAME (see "
                     "--help)\n");
        return xomplot::kExitUsage;
    }
    {
        std::string error;
        if ((!dxfScale.empty() &&
             !xomplot::dxf::ParseScale(dxfScale, opt.dxf.placement.scale_denominator, error)) ||
            (!dxfWindow.empty() &&
             !xomplot::dxf::ParseWindow(dxfWindow, opt.dxf.placement, error)) ||
            !xomplot::dxf::ParseRotate(dxfRotate, opt.dxf.placement.rotate, error)) {
            std::fprintf(stderr, "xomplot: %s\n", error.c_str());
            return xomplot::kExitUsage;
        }
    }
    opt.max_job_bytes = maxJobMb << 20;
    opt.live_progress = isatty(STDERR_FILENO) != 0;
    // The driver records every plot in the user's plot log; its status text decides the outcome.
    xomplot::PlotLogStatusSource logStatus;
    opt.status_source = &logStatus;
    const xomplot::PlotResult result = xomplot::RunPlot(opt);
    std::printf("%s\n", xomplatform::ToUtf8(result.status).c_str());
    return static_cast<int>(result.outcome);
} catch (const std::exception& e) {
    std::fprintf(stderr, "xomplot: %s\n", e.what());
    return 1;
} catch (...) {
    std::fprintf(stderr, "xomplot: unexpected failure\n");
    return 1;
}
