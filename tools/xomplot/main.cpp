// xomplot: the command-line host. Loads a driver build and plots a drawing to a file or a port.
// The plot is the main command; further commands (for example "xomplot log") are subcommands.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <clocale>
#include <cstdio>

#include "hdi/HT_Host_Info.h"
#include "tools/xomplot/PlotRun.h"

namespace {
const char* kExitText =
    "Exit status: 0 plot complete, 1 plot failed (also a bad drawing, DRC data or driver), "
    "2 plot empty, 3 plot cancelled (Ctrl-C), 64 bad command line.";
}

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    xomplot::PlotOptions opt;
    bool list = false;
    std::string language;

    CLI::App app{"xomplot - plot a drawing through a Q Series HDI driver build"};
    app.footer(kExitText);
    app.add_option("--driver", opt.driver_path,
                   "The driver build to load (default: drivers/xomq15.hdi of this build tree)");
    app.add_option("drawing", opt.drawing_path, "The drawing to plot (see README, \"Drawing format\")");
    auto* out = app.add_option("-o,--output", opt.output_file, "Plot to this file");
    auto* port = app.add_option("--port", opt.port,
                                "Plot to a port: a device path, or \"|command\" for a print command");
    out->excludes(port);
    port->excludes(out);
    app.add_option("--media", opt.media, "Media size by its DRC name (default from the DRC data: ISO_A4)");
    app.add_option("--resolution", opt.resolution, "Resolution by its DRC name (default 600_DPI)");
    app.add_option("--color-mode", opt.color_mode, "Colour mode by its DRC name (default Color)");
    app.add_option("--printer", opt.printer, "Printer name in the document info (default: the driver's name)");
    app.add_option("--language", language, "Language folder of the DRC data (default en-US)");
    app.add_flag("--list", list, "List the media sizes, resolutions and colour modes of the driver's DRC data");
    // Subcommands are added here (e.g. "log"); a plot is the command line without one.
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

    if (list) {
        std::string error;
        if (!xomplot::ListChoices(opt.driver_path, stdout, error)) {
            std::fprintf(stderr, "xomplot: %s\n", error.c_str());
            return static_cast<int>(xomplot::PlotOutcome::Failed);
        }
        return 0;
    }
    if (opt.drawing_path.empty() || (opt.output_file.empty() && opt.port.empty())) {
        std::fprintf(stderr, "xomplot: give a drawing and -o FILE or --port TARGET (see --help)\n");
        return xomplot::kExitUsage;
    }
    opt.live_progress = isatty(STDERR_FILENO) != 0;
    const xomplot::PlotResult result = xomplot::RunPlot(opt);
    std::printf("%ls\n", result.status.c_str());
    return static_cast<int>(result.outcome);
}
